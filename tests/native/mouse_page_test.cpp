#include "pelisk/pages/mouse_page.h"

#include <gtest/gtest.h>

#include <set>

#include "common/flags.h"
#include "settings/settings.h"

namespace qorv {
namespace mousepage {
namespace {

TEST(MousePageList, ConditionLettersInListOrder) {
  struct Case {
    uint32_t condition;
    const char* letters;
  } cases[] = {
      {0, "*"},
      {btn_cond::kEnabled | btn_cond::kSuppressButton | 0x6000, "*"},  // not conditions
      {0xF73, "LRM12SCAW"},
      {btn_cond::kAlt | btn_cond::kLeft, "LA"},
      {btn_cond::kShift | btn_cond::kX2, "2S"},
  };
  for (const Case& c : cases) EXPECT_EQ(ConditionLetters(c.condition), c.letters) << std::hex << c.condition;
}

TEST(MousePageList, ButtonNamesFollowTheLibrary) {
  const std::vector<std::u16string> names = {u"左クリック", u"右クリック", u"ホイール上回転"};
  EXPECT_EQ(ButtonText(0x0000, names), u"左クリック");  // index 0: the library converts the left button
  EXPECT_EQ(ButtonText(0x1000, names), u"右クリック");
  EXPECT_EQ(ButtonText(0x9000, names), u"#9");  // read from a file, no name
  EXPECT_EQ(ButtonIndex(kNewCondition), 1u);    // a new entry never takes the left button
  EXPECT_NE(kNewCondition & btn_cond::kEnabled, 0u);
}

TEST(MousePageList, SortOrder) {
  std::vector<ButtonPair> pairs = {
      {0x3000, 0x41},
      {0x1001, 0x42},
      {0x1000, 0x44},
      {0x0000, 0x45},
      {0x1F73 | btn_cond::kEnabled, 0x46},
      {0x1000, 0x43},
      {0x1001 | btn_cond::kReport, 0x40},
  };
  SortPairs(pairs);
  const std::vector<uint32_t> keys = {0x45, 0x46, 0x40, 0x42, 0x43, 0x44, 0x41};
  for (size_t i = 0; i < pairs.size(); ++i) EXPECT_EQ(pairs[i].key, keys[i]) << i;
}

TEST(MousePageList, AtMostEightEntries) {
  EXPECT_TRUE(CanAdd(7));
  EXPECT_FALSE(CanAdd(8));
  EXPECT_FALSE(CanAdd(9));
  EXPECT_EQ(NewPairIndex(-1, 3), 3);
  EXPECT_EQ(NewPairIndex(0, 3), 1);
  EXPECT_EQ(NewPairIndex(2, 3), 3);
}

TEST(MouseEditor, ConditionFromControls) {
  std::set<int> controls;
  uint32_t bits = 0;
  for (const ConditionBox& box : kConditionBoxes) {
    EXPECT_TRUE(controls.insert(box.control).second);
    EXPECT_EQ(bits & box.bit, 0u);
    bits |= box.bit;
  }
  EXPECT_EQ(bits, 0x000F0F73u);
  EXPECT_EQ(EditorCondition(0x5000, 2, 0xFFFFFFFF), 0x000F2F73u);
  EXPECT_EQ(EditorCondition(0x5000, -1, btn_cond::kEnabled), 0x00015000u);  // no selection: button kept
  EXPECT_EQ(EditorCondition(0x5000, 0, 0), 0u);
}

TEST(MouseEditor, KeysFromTheMouse) {
  EXPECT_EQ(KeyFromDoubleClick(MouseAction::kLeftDouble, 0), 1u);
  EXPECT_EQ(KeyFromDoubleClick(MouseAction::kRightDouble, 0), 2u);
  EXPECT_EQ(KeyFromDoubleClick(MouseAction::kMiddleDouble, 0), 4u);
  EXPECT_EQ(KeyFromDoubleClick(MouseAction::kXDouble, 1), 5u);
  EXPECT_EQ(KeyFromDoubleClick(MouseAction::kXDouble, 2), 6u);
  EXPECT_EQ(KeyFromDoubleClick(MouseAction::kXDouble, 3), 0u);
  EXPECT_EQ(KeyFromWheel(120, true), 0x0Au);
  EXPECT_EQ(KeyFromWheel(-15, true), 0x0Bu);
  EXPECT_EQ(KeyFromWheel(0, true), 0u);
  EXPECT_EQ(KeyFromWheel(120, false), 0u);
}

TEST(MousePageHotkey, DuplicatesIgnoreScanCodeAndSkipItsOwnEntry) {
  uint32_t table[kHotkeyCount] = {};
  table[4] = 0x00200374;            // Ctrl+Alt+F5 with a scan code
  table[kHotkeyMouseBtn] = 0x0374;  // its own entry never counts
  EXPECT_EQ(DuplicateHotkey(0x01000374, table, 15), 4);
  EXPECT_EQ(DuplicateHotkey(0x0274, table, 15), -1);  // other modifiers
  table[4] = 0;
  EXPECT_EQ(DuplicateHotkey(0x0374, table, 15), -1);
  table[kHotkeyDbgHook] = 0x0374;
  EXPECT_EQ(DuplicateHotkey(0x0374, table, 15), kHotkeyDbgHook);
  table[kHotkeyDebugFlag] = 0x0375;  // the debug word is no hotkey
  EXPECT_EQ(DuplicateHotkey(0x0375, table, kHotkeyCount), -1);
}

}  // namespace
}  // namespace mousepage
}  // namespace qorv
