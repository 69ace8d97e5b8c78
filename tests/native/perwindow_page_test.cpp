#include "pelisk/pages/perwindow_page.h"

#include <gtest/gtest.h>

#include <set>

#include "common/flags.h"
#include "common/map_table.h"

namespace qorv {
namespace perwindow {
namespace {

TEST(PerWindowEditor, WheelBoxTableIsOneToOne) {
  std::set<int> controls;
  uint32_t bits = 0;
  for (const BoxBit& box : kWheelBoxes) {
    EXPECT_TRUE(controls.insert(box.control).second) << box.control;
    EXPECT_EQ(bits & box.bit, 0u) << box.control;
    EXPECT_EQ(box.bit & (box.bit - 1), 0u) << box.control;  // one bit each
    bits |= box.bit;
  }
  EXPECT_EQ(bits, 0x00000FFFu);
}

TEST(PerWindowEditor, EntryFlagUsesOnlyWhenSomethingMatches) {
  struct Case {
    bool use, useWnd, file, cls, id;
    uint32_t expected;
  } cases[] = {
      {true, true, false, false, false, 0},  // matches nothing: stored as 0, check box off
      {true, false, true, true, false, 0x61},
      {false, true, false, false, true, 0x12},
      {true, true, true, true, true, 0x73},
  };
  for (const Case& c : cases) {
    EditorChoice choice;
    choice.use = c.use;
    choice.useWnd = c.useWnd;
    choice.matchFile = c.file;
    choice.matchClass = c.cls;
    choice.matchId = c.id;
    EXPECT_EQ(EditorEntryFlag(choice), c.expected);
    EXPECT_EQ(EditorEntryFlag(choice) & entry_flag::kNewEntry, 0u);
  }
}

TEST(PerWindowEditor, WheelFlagKeepsUnlistedBitsAndEncodesAmounts) {
  EditorChoice choice;
  choice.vertItems = choice.horzItems = 12;
  choice.wheelBits = 0xFFFFFFFF;  // only the twelve box bits may pass
  choice.vertSelection = 3;
  choice.horzSelection = 11;  // "ページ"
  EXPECT_EQ(EditorWheelFlag(0xA5000000, choice), 0xA5F30FFFu);
  choice.wheelBits = 0;
  choice.vertSelection = -1;  // none selected counts as a page
  choice.horzSelection = 0;
  EXPECT_EQ(EditorWheelFlag(0x0F0F0FFF, choice), 0x0F0F0000u);
  for (uint32_t amount = 0; amount < 16; ++amount) {
    const int selection = AmountSelection(amount, 12);
    const uint32_t back = SelectionAmount(selection, 12);
    EXPECT_EQ(back, amount <= 10 ? amount : wheel_flag::kCountPage) << amount;
  }
}

TEST(PerWindowEditor, EnablingAndGlobalCopy) {
  EXPECT_TRUE(TransparentEnabled(wheel_flag::kForwardToPointer));
  EXPECT_FALSE(TransparentEnabled(wheel_flag::kForwardTransparent));
  EXPECT_FALSE(SearchBarEnabled(wheel_flag::kSearchScrollBar | wheel_flag::kDetectVertBar));
  EXPECT_TRUE(SearchBarEnabled(wheel_flag::kCursorKeys));  // key mode keeps it with both amounts "なし"
  EXPECT_EQ(WheelFlagFromGlobal(0xFFFFFFFF), 0x00FFFFF7u);
  EXPECT_EQ(WheelFlagFromGlobal(kWheelFlagDefault), 0x003F0BE1u);
}

TEST(PerWindowEditor, TitlesAndFileNameParts) {
  const std::u16string untitled = u"(タイトルなし)";
  EXPECT_EQ(StoredTitle<char16_t>(u"A|B|", untitled), u"A B ");
  EXPECT_EQ(StoredTitle<char16_t>(u"", untitled), untitled);
  EXPECT_EQ(FileNamePart<char16_t>(u"C:\\Program Files\\Ed\\editor.exe"), u"editor.exe");
  EXPECT_EQ(FileNamePart<char16_t>(u"C:editor.exe"), u"editor.exe");
  EXPECT_EQ(FileNamePart<char16_t>(u"a/b\\c/d.exe"), u"d.exe");
  EXPECT_EQ(FileNamePart<char16_t>(u"plain.exe"), u"plain.exe");
  EXPECT_EQ(FileNamePart<char16_t>(u"C:\\dir\\"), u"");
}

PickedWindow Window() {
  PickedWindow w;
  w.topTitle = u"メモ - Editor";
  w.moduleQueryBound = true;
  w.modulePath = u"C:\\Apps\\editor.exe";
  w.className = u"EditWnd";
  w.isChild = true;
  w.controlId = -7;
  return w;
}

TEST(FillFromWindow, NewEntryTitleComesFromFirstNonEmptyFact) {
  FillContext context;
  context.newEntry = true;
  context.titleLength = 4;  // "(新規)" does not count
  context.matchFile = context.matchClass = context.matchId = true;
  PickedWindow w = Window();
  FillResult r = FillFromWindow(w, context);
  EXPECT_EQ(r.title, u"メモ - Editor");
  w.topTitle.clear();
  EXPECT_EQ(FillFromWindow(w, context).title, u"editor.exe");
  w.modulePath.clear();
  r = FillFromWindow(w, context);
  EXPECT_EQ(r.title, u"EditWnd");
  EXPECT_EQ(r.fileName, FieldChange::kSet);  // set to empty: the query gave nothing
  EXPECT_EQ(r.fileText, u"");
  w.className.clear();
  r = FillFromWindow(w, context);
  EXPECT_EQ(r.title, u"-7");
  EXPECT_EQ(r.wndIdValue, -7);
  w.isChild = false;
  r = FillFromWindow(w, context);
  EXPECT_FALSE(r.setTitle);
  EXPECT_EQ(r.wndId, FieldChange::kClear);
}

TEST(FillFromWindow, ConfirmedEntryKeepsTitleAndUncheckedFields) {
  FillContext context;
  context.titleLength = 6;
  context.matchClass = true;
  context.fullPath = true;
  FillResult r = FillFromWindow(Window(), context);
  EXPECT_FALSE(r.setTitle);
  EXPECT_EQ(r.fileName, FieldChange::kKeep);
  EXPECT_EQ(r.className, FieldChange::kSet);
  EXPECT_EQ(r.wndId, FieldChange::kKeep);

  context.titleLength = 0;  // an empty title box takes the window's text
  context.matchFile = true;
  r = FillFromWindow(Window(), context);
  EXPECT_EQ(r.title, u"メモ - Editor");
  EXPECT_EQ(r.fileText, u"C:\\Apps\\editor.exe");  // Shift: the whole path

  PickedWindow unbound = Window();
  unbound.moduleQueryBound = false;  // no hook library: the field stays as it is
  EXPECT_EQ(FillFromWindow(unbound, context).fileName, FieldChange::kKeep);
  context.newEntry = true;
  EXPECT_EQ(FillFromWindow(unbound, context).fileName, FieldChange::kClear);
}

TEST(PickerCountdown, RunsFiveSecondsInTwentyFiveTicks) {
  int count = kCountdownStart;
  std::vector<int> shown;
  int ticks = 0;
  for (;;) {
    const CountdownStep step = CountdownTick(count);
    ++ticks;
    if (step.finished) break;
    ASSERT_LT(step.count, count);
    if (shown.empty() || shown.back() != step.seconds) shown.push_back(step.seconds);
    count = step.count;
  }
  EXPECT_EQ(ticks, kCountdownStart);
  EXPECT_EQ(ticks * static_cast<int>(kCountdownTickMs), 5000);
  EXPECT_EQ(shown, (std::vector<int>{5, 4, 3, 2, 1}));
  EXPECT_TRUE(CountdownTick(kCountdownLastTick).finished);  // a click while counting ends it next tick
}

TEST(PerWindowList, NewRowsDeletesAndMoves) {
  EXPECT_EQ(NewRowIndex(-1, 3), 3);
  EXPECT_EQ(NewRowIndex(1, 3), 1);
  EXPECT_EQ(SelectionAfterDelete(2, 2), -1);  // the last row went: nothing selected
  EXPECT_EQ(SelectionAfterDelete(0, 2), 0);

  std::vector<char> rows = {'a', 'b', 'c'};
  EXPECT_EQ(MoveRow(rows, 0, -1), -1);
  EXPECT_EQ(MoveRow(rows, 2, +1), -1);
  EXPECT_EQ(MoveRow(rows, 5, -1), -1);
  EXPECT_EQ(rows, (std::vector<char>{'a', 'b', 'c'}));
  EXPECT_EQ(MoveRow(rows, 2, -1), 1);
  EXPECT_EQ(MoveRow(rows, 1, -1), 0);
  EXPECT_EQ(rows, (std::vector<char>{'c', 'a', 'b'}));
  EXPECT_EQ(MoveRow(rows, 0, +1), 1);
  EXPECT_EQ(rows, (std::vector<char>{'a', 'c', 'b'}));
}

}  // namespace
}  // namespace perwindow
}  // namespace qorv
