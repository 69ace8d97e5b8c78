#include "pelisk/pages/wheel_page.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "common/flags.h"

namespace qorv {
namespace {

namespace wp = wheel_page;
constexpr int kItems = 12;  // the shipped lists: "なし", 1-10, "ページ"

bool Checked(const WheelPageState& s, int id) {
  return IsChecked(s.words, *FindCheck(kWheelPageChecks, kWheelPageCheckCount, id));
}
void Click(WheelPageState& s, int id, bool shift = false) {
  const CheckBinding& b = *FindCheck(kWheelPageChecks, kWheelPageCheckCount, id);
  SetChecked(s.words, b, !IsChecked(s.words, b));
  WheelPageClick(s, id, shift);
}

TEST(WheelPage, DefaultsOpenAsShippedAndSaveUnchanged) {
  const WheelPageState s = WheelPageOpen(kWheelFlagDefault, kItems, kItems);
  for (int id : {wp::kForward, wp::kMdiActivate, wp::kDetectVert, wp::kShiftHorz, wp::kDetectHorz, wp::kSearchBars,
                 wp::kPrecise, wp::kCtrlPage}) {
    EXPECT_TRUE(Checked(s, id)) << id;
  }
  EXPECT_FALSE(Checked(s, wp::kVertScroll));
  EXPECT_FALSE(Checked(s, wp::kActivate));
  EXPECT_FALSE(s.ctrlPageShown);  // checked tuning switch stays hidden
  EXPECT_EQ(s.vertIndex, kItems - 1);
  EXPECT_EQ(s.horzIndex, 3);
  EXPECT_EQ(s.preciseTime, 5u);
  EXPECT_TRUE(WheelPageSearchEnabled(s));
  EXPECT_EQ(WheelPageFlag(s), kWheelFlagDefault);
}

// Any word the page can show comes back unchanged; the bits it does not show (per-window-only and
// unused) are dropped and amounts 11-14 become a page.
TEST(WheelPage, RoundTripKeepsShownBitsOnly) {
  std::mt19937 rng(7);
  const uint32_t shownBits = CheckMask(kWheelPageChecks, kWheelPageCheckCount, FlagWord::Wheel);
  for (int n = 0; n < 2000; ++n) {
    const uint32_t raw = rng();
    const uint32_t expected = (raw & (shownBits | wheel_flag::kPreciseTimeMask)) |
                              ((raw & 0x000F0000) >= 0x000B0000 ? 0x000F0000 : raw & 0x000F0000) |
                              ((raw & 0x00F00000) >= 0x00B00000 ? 0x00F00000 : raw & 0x00F00000);
    EXPECT_EQ(WheelPageFlag(WheelPageOpen(raw, kItems, kItems)), expected) << std::hex << raw;
    EXPECT_EQ(WheelPageOpen(raw, kItems, kItems).ctrlPageShown, (raw & wheel_flag::kCtrlPage) == 0);
  }
  EXPECT_EQ(WheelPageFlag(WheelPageOpen(0xF000F402, kItems, kItems)), 0u);
}

TEST(WheelPage, CountIndexMapping) {
  struct Case {
    uint32_t count;
    int index;
    uint32_t back;
  } cases[] = {{0, 0, 0}, {3, 3, 3}, {10, 10, 10}, {11, 11, 15}, {14, 11, 15}, {15, 11, 15}};
  for (const Case& c : cases) {
    EXPECT_EQ(WheelCountToIndex(c.count, kItems), c.index) << c.count;
    EXPECT_EQ(WheelIndexToCount(c.index, kItems), c.back) << c.count;
  }
  EXPECT_EQ(WheelIndexToCount(-1, kItems), 15u);  // no selection
  EXPECT_EQ(WheelCountToIndex(3, 0), -1);         // the list could not be filled
}

TEST(WheelPage, SwitchingAConversionOnPicksThreeUnlessShiftIsHeld) {
  const uint32_t noCounts = kWheelFlagDefault & ~(wheel_flag::kVertCountMask | wheel_flag::kHorzCountMask) &
                            ~(wheel_flag::kDetectVertBar | wheel_flag::kShiftHorzScroll | wheel_flag::kDetectHorzBar);
  struct Case {
    int id;
    bool shift;
    int vert, horz;
  } cases[] = {
      {wp::kVertScroll, false, 3, 0}, {wp::kDetectVert, false, 3, 0}, {wp::kShiftHorz, false, 0, 3},
      {wp::kDetectHorz, false, 0, 3}, {wp::kVertScroll, true, 0, 0},  {wp::kForward, false, 0, 0},
  };
  for (const Case& c : cases) {
    WheelPageState s = WheelPageOpen(noCounts, kItems, kItems);
    Click(s, c.id, c.shift);
    EXPECT_EQ(s.vertIndex, c.vert) << c.id;
    EXPECT_EQ(s.horzIndex, c.horz) << c.id;
  }
  // A list that already shows an amount keeps it; unchecking never changes the list.
  WheelPageState s = WheelPageOpen(kWheelFlagDefault, kItems, kItems);
  Click(s, wp::kVertScroll);
  EXPECT_EQ(s.vertIndex, kItems - 1);
  s.horzIndex = 0;
  s.words.wheel &= ~wheel_flag::kDetectHorzBar;
  Click(s, wp::kShiftHorz);  // now unchecked, and so is its partner
  EXPECT_EQ(s.horzIndex, 0);
}

TEST(WheelPage, NoneSwitchesItsConversionOffAndTheSearchFollows) {
  WheelPageState s = WheelPageOpen(kWheelFlagDefault | wheel_flag::kVertScroll, kItems, kItems);
  s.vertIndex = 0;
  WheelPageSelect(s, wp::kVertCount);
  EXPECT_FALSE(Checked(s, wp::kVertScroll));
  EXPECT_FALSE(Checked(s, wp::kDetectVert));
  EXPECT_TRUE(WheelPageSearchEnabled(s));  // horizontal conversion still on
  s.horzIndex = 0;
  WheelPageSelect(s, wp::kHorzCount);
  EXPECT_FALSE(Checked(s, wp::kShiftHorz));
  EXPECT_FALSE(Checked(s, wp::kDetectHorz));
  EXPECT_FALSE(WheelPageSearchEnabled(s));
  EXPECT_TRUE(Checked(s, wp::kSearchBars));  // disabled, but its state is kept and saved
  EXPECT_NE(WheelPageFlag(s) & wheel_flag::kSearchScrollBar, 0u);
}

TEST(WheelPage, PreciseTimeLabel) {
  char16_t out[16];
  struct Case {
    uint32_t position;
    std::u16string text;
  } cases[] = {{0, u"none"}, {1, u"100 ms"}, {5, u"500 ms"}, {15, u"1500 ms"}};
  for (const Case& c : cases) {
    PreciseTimeLabel(c.position, out, 16);
    EXPECT_EQ(std::u16string(out), c.text);
  }
  EXPECT_EQ(PreciseTimeLabel(15, out, 4), 3);  // cut to the buffer, still terminated
  EXPECT_EQ(std::u16string(out), u"150");
}

}  // namespace
}  // namespace qorv
