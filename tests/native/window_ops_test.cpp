#include "hooklib/window_ops.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "common/flags.h"

namespace qorv {
namespace {

constexpr uint32_t kLevel5 = 0x05000000;

// Applies the decisions as the Win32 side does: the property value is the state.
struct FakeWindow {
  uint32_t property = 0;
  bool layered = false;

  int Wheel(int delta, uint32_t keys, uint32_t mainFlag = kLevel5) {
    const WheelStepResult r = DecideWheelStep({property, delta, keys, layered, mainFlag});
    switch (r.action) {
      case WheelStep::kNone:
        return 0;
      case WheelStep::kMakeOpaque:
        property = 0;
        layered = false;
        return 1;
      default:
        property = r.alpha;
        layered = true;
        return 1;
    }
  }
};

TEST(WheelStep, TowardsUserStartsAtLevelAndStopsAt25ThenBackToOpaque) {
  FakeWindow w;
  std::vector<uint32_t> seen;
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(w.Wheel(-120, 0), 1);
    seen.push_back(w.property);
  }
  EXPECT_EQ(seen, (std::vector<uint32_t>{125, 100, 75, 50, 25, 25}));
  seen.clear();
  for (int i = 0; i < 8; ++i) {
    w.Wheel(120, 0);
    seen.push_back(w.property);
  }
  EXPECT_EQ(seen, (std::vector<uint32_t>{50, 75, 100, 125, 150, 175, 200, 225}));
  EXPECT_EQ(w.Wheel(120, 0), 1);
  EXPECT_EQ(w.property, 0u);
  EXPECT_FALSE(w.layered);
}

TEST(WheelStep, StartIsRefusedAwayFromUserWithModifiersOrOnOwnLayeredWindow) {
  EXPECT_EQ(DecideWheelStep({0, 120, 0, false, kLevel5}).action, WheelStep::kNone);
  EXPECT_EQ(DecideWheelStep({0, -120, kMkShift, false, kLevel5}).action, WheelStep::kNone);
  EXPECT_EQ(DecideWheelStep({0, -120, kMkControl, false, kLevel5}).action, WheelStep::kNone);
  EXPECT_EQ(DecideWheelStep({0, -120, 0, true, kLevel5}).action, WheelStep::kNone);
  // A zero delta counts as towards the user.
  EXPECT_EQ(DecideWheelStep({0, 0, 0, false, kLevel5}).action, WheelStep::kStart);
}

// A composition window (WS_EX_NOREDIRECTIONBITMAP) is never given an alpha, whatever the wheel
// and the property say; a property another process left on it only makes it opaque.
TEST(WheelStep, CompositionWindowIsNeverMadeTranslucent) {
  const struct {
    uint32_t property;
    int delta;
    uint32_t keys;
    WheelStep expected;
  } cases[] = {
      {0, -120, 0, WheelStep::kNone},        {0, 120, 0, WheelStep::kNone},
      {0, -120, kMkShift, WheelStep::kNone}, {125, -120, 0, WheelStep::kMakeOpaque},
      {125, 120, 0, WheelStep::kMakeOpaque}, {25, -120, kMkControl, WheelStep::kMakeOpaque},
  };
  for (const auto& c : cases) {
    WheelStepFacts facts = {c.property, c.delta, c.keys, false, kLevel5};
    facts.noRedirection = true;
    EXPECT_EQ(DecideWheelStep(facts).action, c.expected) << c.property << " " << c.delta << " " << c.keys;
  }
}

TEST(WheelStep, CtrlStepsAndShiftEndsOnceTranslucent) {
  EXPECT_EQ(DecideWheelStep({100, -120, kMkControl, true, kLevel5}).alpha, 75);
  EXPECT_EQ(DecideWheelStep({100, -120, kMkShift, true, kLevel5}).action, WheelStep::kMakeOpaque);
  EXPECT_EQ(DecideWheelStep({100, 120, kMkShift | kMkControl, true, kLevel5}).action, WheelStep::kMakeOpaque);
}

TEST(WheelStep, LevelZeroNeverMakesWindowInvisible) {
  const WheelStepResult r = DecideWheelStep({0, -120, 0, false, kMainFlagDefault & ~main_flag::kInitialLevelMask});
  EXPECT_EQ(r.action, WheelStep::kNone);
}

TEST(WheelStep, InitialAlphaFollowsLevelField) {
  for (uint32_t level = 1; level <= 9; ++level) {
    const WheelStepResult r = DecideWheelStep({0, -120, 0, false, level << main_flag::kInitialLevelShift});
    EXPECT_EQ(r.action, WheelStep::kStart);
    EXPECT_EQ(r.alpha, 25 * level);
  }
}

TEST(WheelStep, ForeignPropertyValuesStayInRange) {
  // Another program may leave any value in the property: the result is opaque or 25..225.
  std::mt19937 gen(7);
  auto rng = [&gen] { return static_cast<uint32_t>(gen()); };
  for (int i = 0; i < 20000; ++i) {
    const uint32_t value = (i % 3 == 0) ? rng() : rng() % 300;
    const int delta = static_cast<int>(rng() % 481) - 240;
    const WheelStepResult r = DecideWheelStep({value, delta, rng() & 0xC, (rng() & 1) != 0, rng()});
    if (r.action == WheelStep::kStart) {
      EXPECT_EQ(value, 0u);
      EXPECT_GT(r.alpha, 0);
    }
    if (r.action == WheelStep::kStep) {
      EXPECT_NE(value, 0u);
      EXPECT_GE(r.alpha, 25) << value;
      EXPECT_LE(r.alpha, 225) << value;
    }
  }
}

TEST(RollRules, MinimumTrackingHeightDecides) {
  const int cyMin = 27;
  EXPECT_TRUE(RollAccepted(27, cyMin));
  EXPECT_TRUE(RollAccepted(53, cyMin));
  EXPECT_FALSE(RollAccepted(54, cyMin));  // twice SM_CYMIN refuses
  EXPECT_TRUE(RollWorthwhile(300, 27));
  EXPECT_FALSE(RollWorthwhile(27, 27));  // already at its minimum
  EXPECT_FALSE(RollWorthwhile(20, 27));
}

TEST(RollRules, UnrollHeight) {
  EXPECT_EQ(UnrollHeight(300, 27, false, 740, 768), 300);
  EXPECT_EQ(UnrollHeight(300, 27, true, 740, 768), 740);  // maximised windows get the maximised height
  EXPECT_EQ(UnrollHeight(27, 27, false, 740, 768), 0);    // at or below SM_CYMIN: removed, not resized
  EXPECT_EQ(UnrollHeight(0, 27, true, 740, 768), 0);
  // A height written by another process is bounded by the desktop.
  EXPECT_EQ(UnrollHeight(0x7FFFFFFF, 27, false, 740, 768), 768);
  EXPECT_EQ(UnrollHeight(768, 27, false, 740, 768), 768);
}

}  // namespace
}  // namespace qorv
