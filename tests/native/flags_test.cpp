#include "common/flags.h"

#include <gtest/gtest.h>

#include "common/mouse_btn.h"

namespace qorv {
namespace {

TEST(FlagDefaults, DecodeToDocumentedBehaviour) {
  using namespace main_flag;
  const uint32_t m = kMainFlagDefault;
  EXPECT_EQ(m & kPageBits, m);
  EXPECT_EQ(m, kWheelFront | kTrayVolume | kDesktopVolume | (5u << kInitialLevelShift));
  EXPECT_EQ(LevelAlpha(m, kInitialLevelMask, kInitialLevelShift), 125);

  const uint32_t w = kWheelFlagDefault;
  EXPECT_EQ(w & ~(wheel_flag::kVertCountMask | wheel_flag::kHorzCountMask | wheel_flag::kPreciseTimeMask),
            wheel_flag::kForwardToPointer | wheel_flag::kMdiActivate | wheel_flag::kShiftHorzScroll |
                wheel_flag::kDetectVertBar | wheel_flag::kDetectHorzBar | wheel_flag::kSearchScrollBar |
                wheel_flag::kPrecise | wheel_flag::kCtrlPage);
  EXPECT_EQ(w & wheel_flag::kVertScroll, 0u);
  EXPECT_EQ(Field(w, wheel_flag::kVertCountMask, wheel_flag::kVertCountShift), wheel_flag::kCountPage);
  EXPECT_EQ(Field(w, wheel_flag::kHorzCountMask, wheel_flag::kHorzCountShift), 3u);
  EXPECT_EQ(Field(w, wheel_flag::kPreciseTimeMask, wheel_flag::kPreciseTimeShift) * 100, 500u);

  const uint32_t d = kWndFlagDefault;
  EXPECT_EQ(d & wnd_flag::kPageBits, d);
  EXPECT_EQ(Field(d, wnd_flag::kSnapPixelsMask, wnd_flag::kSnapPixelsShift), 10u);
  EXPECT_EQ(d & 0xFFFF, wnd_flag::kSnap | wnd_flag::kSnapRgn | wnd_flag::kNoSnapLay | wnd_flag::kNoDirectXTranslucent);
  EXPECT_EQ(LevelAlpha(d, wnd_flag::kLevelMask, wnd_flag::kLevelShift), 125);
}

TEST(FlagFields, PageMasksLeaveUnshownBitsAlone) {
  EXPECT_EQ(main_flag::kPageBits & (main_flag::kDesktopDblClickReport | main_flag::kSkipOtherBitness), 0u);
  EXPECT_EQ(wnd_flag::kPageBits & (0x00000040u | 0x00000800u | 0x0000E000u | 0xF0000000u), 0u);
}

TEST(FlagFields, DebugHookKindBits) {
  EXPECT_EQ(debug_flag::HookKindBit(-1), 0x0001u);  // WH_MSGFILTER
  EXPECT_EQ(debug_flag::HookKindBit(14), 0x8000u);  // WH_MOUSE_LL
  EXPECT_EQ(debug_flag::HookKindBit(15), 0u);
  EXPECT_EQ(debug_flag::HookKindBit(-2), 0u);
}

TEST(FlagFields, LevelAlphaIsTakenInEightBits) {
  EXPECT_EQ(LevelAlpha(0x09000000, 0x0F000000, 24), 225);
  EXPECT_EQ(LevelAlpha(0x0B000000, 0x0F000000, 24), static_cast<uint8_t>(275));
  EXPECT_EQ(LevelAlpha(0, 0x0F000000, 24), 0);
}

}  // namespace
}  // namespace qorv
