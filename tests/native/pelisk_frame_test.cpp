// Start-up, tabbed-window and shared-control decisions of the settings program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pelisk/app.h"
#include "pelisk/pages/debug_dialog.h"
#include "pelisk/sheet.h"
#include "pelisk/ui_helpers.h"

namespace qorv {
namespace {

TEST(CommandLine, OnlyASingleDigitAfterTheProgramNameCounts) {
  const struct {
    const char16_t* line;
    int digit;
  } kCases[] = {
      {u"pelisk.exe 4", 4},
      {u"  pelisk.exe    6", 6},
      {u"\"C:\\Program Files\\Qorv\\pelisk.exe\" 5", 5},
      {u"\"C:\\a b\\pelisk.exe\"5", 5},  // a quoted name needs no blank after it
      {u"pelisk.exe 4 ", 0},
      {u"pelisk.exe 45", 0},
      {u"pelisk.exe x", 0},
      {u"pelisk.exe", 0},
      {u"pelisk.exe 9", 9},
      {u"\"unterminated 3", 0},
      {u"", 0},
  };
  for (const auto& k : kCases) EXPECT_EQ(CommandLineDigit(k.line), k.digit);
  EXPECT_EQ(CommandLineDigit(nullptr), 0);
}

TEST(CommandLine, RightShiftWithRightCtrlOpensTheDebugDialogWhateverTheDigit) {
  EXPECT_TRUE(OpensDebugDialog(6, false, false));
  EXPECT_TRUE(OpensDebugDialog(2, true, true));
  EXPECT_FALSE(OpensDebugDialog(2, true, false));
  EXPECT_FALSE(OpensDebugDialog(2, false, true));
}

TEST(RunOutcome, AFailedSaveIsNeverReportedAsSaved) {
  EXPECT_EQ(OutcomeOf(1, true).exitCode, 1);
  EXPECT_EQ(OutcomeOf(1, true).notification, 2u);
  EXPECT_EQ(OutcomeOf(1, false).exitCode, 2);
  EXPECT_EQ(OutcomeOf(1, false).notification, 3u);
  for (int result : {2, 0, -1}) {
    EXPECT_EQ(OutcomeOf(result, false).exitCode, result);
    EXPECT_EQ(OutcomeOf(result, false).notification, 3u);
  }
}

TEST(SheetPages, MouseButtonPageOnlyWhenAskedForOrInUse) {
  MouseBtnBlock none = {};
  EXPECT_EQ(SheetPageCountFor(2, 0, none), 5);
  EXPECT_EQ(SheetPageCountFor(2, 5, none), 6);
  EXPECT_EQ(SheetPageCountFor(1, 5, none), 5);
  MouseBtnBlock flag = {};
  flag.btnFlag = 0x2;
  EXPECT_EQ(SheetPageCountFor(2, 0, flag), 6);
  MouseBtnBlock lastPair = {};
  lastPair.pairs[7].condition = 0x00020000;  // pairs beyond SetNum count too
  EXPECT_EQ(SheetPageCountFor(2, 0, lastPair), 6);
  lastPair.pairs[7].condition = 0x00040000;
  EXPECT_EQ(SheetPageCountFor(2, 0, lastPair), 5);
  EXPECT_EQ(ClampPage(9, 5), 4);
  EXPECT_EQ(ClampPage(-3, 6), 0);
}

TEST(SheetPages, CtrlTabCyclesThroughTheTabs) {
  EXPECT_EQ(CycleTab(5, 6, false), 0);
  EXPECT_EQ(CycleTab(0, 6, true), 5);
  EXPECT_EQ(CycleTab(2, 6, false), 3);
  EXPECT_EQ(CycleTab(2, 6, true), 1);
  EXPECT_EQ(CycleTab(7, 6, true), 5);
  EXPECT_EQ(CycleTab(0, 1, false), -1);
}

TEST(SheetPages, OptionalFontAndButtonFields) {
  const char16_t* a;
  const char16_t* b;
  size_t na;
  size_t nb;
  EXPECT_FALSE(SplitTwoFields(u"\nＭＳ Ｐゴシック\n9", &a, &na, &b, &nb));
  EXPECT_FALSE(SplitTwoFields(nullptr, &a, &na, &b, &nb));
  ASSERT_TRUE(SplitTwoFields(u"Meiryo\n10", &a, &na, &b, &nb));
  EXPECT_EQ(std::u16string(a, na), u"Meiryo");
  EXPECT_EQ(ParseWideInt(b), 10);
  ASSERT_TRUE(SplitTwoFields(u"OK only", &a, &na, &b, &nb));
  EXPECT_EQ(nb, 0u);
  EXPECT_EQ(ParseWideInt(u" \t-12x"), -12);
  EXPECT_EQ(ParseWideInt(u"99999999999"), 2147483647);
  EXPECT_EQ(ParseWideInt(u"-99999999999"), -2147483647 - 1);
}

// Reads the template back the way the dialog manager does.
struct Reader {
  const std::vector<uint8_t>& bytes;
  size_t at = 0;
  uint16_t Word() {
    const uint16_t w = static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
    at += 2;
    return w;
  }
  uint32_t Dword() {
    const uint32_t low = Word();
    return low | static_cast<uint32_t>(Word()) << 16;
  }
  std::u16string Text() {
    std::u16string s;
    while (uint16_t c = Word()) s += static_cast<char16_t>(c);
    return s;
  }
  void Align() { at = (at + 3) & ~size_t{3}; }
};

TEST(SheetTemplate, BytesAreTheFrameDialog) {
  const size_t size = BuildSheetTemplateBytes(nullptr, 0, nullptr, nullptr, nullptr, 0);
  std::vector<uint8_t> bytes(size, 0xCC);
  ASSERT_EQ(BuildSheetTemplateBytes(nullptr, 0, nullptr, nullptr, bytes.data(), bytes.size()), size);
  Reader r{bytes};
  EXPECT_EQ(r.Dword(), 0x94CA00C4u);
  EXPECT_EQ(r.Dword(), 0u);
  EXPECT_EQ(r.Word(), 3);
  EXPECT_EQ(r.Word(), 0);
  EXPECT_EQ(r.Word(), 0);
  EXPECT_EQ(r.Word(), 114);
  EXPECT_EQ(r.Word(), 80);
  EXPECT_EQ(r.Word(), 0);
  EXPECT_EQ(r.Word(), 0);
  EXPECT_EQ(r.Text(), u"設定");
  EXPECT_EQ(r.Word(), 9);
  EXPECT_EQ(r.Text(), u"ＭＳ Ｐゴシック");
  const struct {
    uint32_t style;
    uint16_t x, y, cx, cy, id;
    const char16_t* cls;
    const char16_t* text;
  } kItems[] = {
      {0x50030000, 5, 60, 50, 15, 1, nullptr, u"OK"},
      {0x50010000, 60, 60, 50, 15, 2, nullptr, u"キャンセル"},
      {0x54010040, 5, 5, 105, 50, 0x3020, u"SysTabControl32", u""},
  };
  for (const auto& item : kItems) {
    r.Align();
    ASSERT_EQ(r.at % 4, 0u);
    EXPECT_EQ(r.Dword(), item.style);
    EXPECT_EQ(r.Dword(), 0u);
    EXPECT_EQ(r.Word(), item.x);
    EXPECT_EQ(r.Word(), item.y);
    EXPECT_EQ(r.Word(), item.cx);
    EXPECT_EQ(r.Word(), item.cy);
    EXPECT_EQ(r.Word(), item.id);
    if (item.cls == nullptr) {
      EXPECT_EQ(r.Word(), 0xFFFF);
      EXPECT_EQ(r.Word(), 0x0080);
    } else {
      EXPECT_EQ(r.Text(), item.cls);
    }
    EXPECT_EQ(r.Text(), item.text);
    EXPECT_EQ(r.Word(), 0);
  }
  EXPECT_EQ(r.at, size);

  std::vector<uint8_t> own(BuildSheetTemplateBytes(u"Meiryo", 11, u"Yes", u"No", nullptr, 0));
  BuildSheetTemplateBytes(u"Meiryo", 11, u"Yes", u"No", own.data(), own.size());
  Reader o{own};
  o.at = 22;
  EXPECT_EQ(o.Text(), u"設定");
  EXPECT_EQ(o.Word(), 11);
  EXPECT_EQ(o.Text(), u"Meiryo");
  std::vector<uint8_t> small(10, 0xCC);  // too small: nothing is left half written
  BuildSheetTemplateBytes(nullptr, 0, nullptr, nullptr, small.data(), small.size());
  EXPECT_EQ(small, std::vector<uint8_t>(10, 0));
}

TEST(ScrollStep, PositionsStayInsideTheRange) {
  const struct {
    int code, min, max, page, pos, track, expected;
  } kCases[] = {
      {kScrollLineLeft, 0, 15, 1, 0, 0, 0},     {kScrollLineRight, 0, 15, 1, 15, 0, 15},
      {kScrollLineRight, 1, 9, 1, 4, 0, 5},     {kScrollPageRight, 0, 15, 4, 11, 0, 12},
      {kScrollPageLeft, 0, 15, 4, 2, 0, 0},     {kScrollRight, 0, 15, 4, 3, 0, 12},
      {kScrollLeft, 1, 9, 1, 5, 0, 1},          {kScrollThumbTrack, 1, 9, 1, 5, 7, 7},
      {kScrollThumbPosition, 1, 9, 1, 5, 7, 5}, {kScrollEnd, 1, 9, 1, 5, 7, 5},
  };
  for (const auto& k : kCases) {
    EXPECT_EQ(StepScrollPosition(k.code, k.min, k.max, k.page, k.pos, k.track), k.expected) << k.code;
  }
}

TEST(ListText, ColumnsAndItems) {
  ListColumnSpec columns[8];
  ASSERT_EQ(ParseListColumns(u"ボタン;120\n発動条件;;2\n変換キー;160", columns, 8), 3u);
  EXPECT_EQ(std::u16string(columns[1].name, columns[1].nameLength), u"発動条件");
  EXPECT_EQ(columns[0].width, 120);
  EXPECT_EQ(columns[1].width, 100);
  EXPECT_EQ(columns[1].format, 2);
  EXPECT_EQ(columns[2].format, 0);
  ASSERT_EQ(ParseListColumns(u"Name\nId;x;1", columns, 8), 2u);
  EXPECT_EQ(columns[0].width, 100);
  EXPECT_EQ(columns[1].width, 100);
  EXPECT_EQ(columns[1].format, 1);
  EXPECT_EQ(ParseListColumns(u"a;1\nb;2\nc;3", columns, 2), 2u);

  std::vector<std::u16string> items;
  const char16_t* p = u"なし\n1 行\n\nページ";
  size_t n = 0;
  while (const char16_t* end = NextListItem(p, &n)) {
    items.emplace_back(p, n);
    if (*end == 0) break;
    p = end + 1;
  }
  EXPECT_EQ(items, (std::vector<std::u16string>{u"なし", u"1 行"}));  // an empty item ends the list
}

TEST(ListMove, InsertPositions) {
  EXPECT_EQ(ListMoveInsertPosition(2, -1, 5), 1);
  EXPECT_EQ(ListMoveInsertPosition(2, 1, 5), 4);  // after the next row, counting the row itself
  EXPECT_EQ(ListMoveInsertPosition(0, -1, 5), -1);
  EXPECT_EQ(ListMoveInsertPosition(4, 1, 5), 5);  // the last row down: back in its place
  EXPECT_EQ(ListMoveInsertPosition(3, 1, 5), 5);
  EXPECT_EQ(ListMoveInsertPosition(5, -1, 5), -1);
}

TEST(Centring, UsesTheAreaOrigin) {
  // A taskbar at the top or left moves the work area's origin; the window must stay inside it.
  EXPECT_EQ(CenterIn(Rect{0, 40, 1024, 768}, 400, 300).y, 40 + (728 - 300) / 2);
  EXPECT_EQ(CenterIn(Rect{60, 0, 1024, 768}, 400, 300).x, 60 + (964 - 400) / 2);
  EXPECT_EQ(CenterIn(Rect{100, 100, 200, 200}, 301, 51).x, 100 + (100 - 301) / 2);
}

TEST(DebugDialog, BoxesAndDuplicateHotkey) {
  uint32_t all = 0;
  for (const DebugCheckBox& box : kDebugCheckBoxes) {
    EXPECT_EQ(all & box.mask, 0u) << box.id;
    all |= box.mask;
    if (box.id >= 1183 && box.id <= 1198) {
      EXPECT_EQ(box.mask, 1u << (box.id - 1183));
    }
  }
  EXPECT_EQ(all, kDebugOwnedBits);
  EXPECT_EQ(~kDebugOwnedBits, 0xECCF0000u);
  uint32_t table[16] = {};
  table[7] = 0x001C0000 | 0x274;  // Ctrl + F5 with a scan code
  table[14] = 0x275;              // the hook hotkey itself is never a duplicate
  table[15] = 0x275;
  EXPECT_EQ(DebugHotkeyDuplicate(0x00AA0000 | 0x274, table), 7);  // scan code ignored
  EXPECT_EQ(DebugHotkeyDuplicate(0x275, table), -1);
  EXPECT_EQ(DebugHotkeyDuplicate(0x200, table), -1);  // no key, no check
  table[13] = 0x0A;
  EXPECT_EQ(DebugHotkeyDuplicate(0x0A, table), 13);
}

}  // namespace
}  // namespace qorv
