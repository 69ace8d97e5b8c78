#include "hooklib/window_ops.h"

#include "common/flags.h"

namespace qorv {

WheelStepResult DecideWheelStep(const WheelStepFacts& facts) {
  const bool towardsUser = facts.delta <= 0;
  if (facts.noRedirection) return {facts.currentAlpha == 0 ? WheelStep::kNone : WheelStep::kMakeOpaque, 0};
  if (facts.currentAlpha == 0) {
    if (!towardsUser || (facts.keys & (kMkShift | kMkControl)) != 0 || facts.layered) {
      return {WheelStep::kNone, 0};
    }
    const uint8_t first =
        LevelAlpha(facts.mainFlag, main_flag::kInitialLevelMask, main_flag::kInitialLevelShift);
    if (first == 0) return {WheelStep::kNone, 0};
    return {WheelStep::kStart, first};
  }
  if ((facts.keys & kMkShift) != 0) return {WheelStep::kMakeOpaque, 0};
  // The property may hold any handle-sized value another process left there: bound it first.
  const uint32_t current = facts.currentAlpha > 255 ? 255 : facts.currentAlpha;
  const uint32_t next = towardsUser ? (current > kAlphaStep ? current - kAlphaStep : 0) : current + kAlphaStep;
  if (next > kAlphaMax) return {WheelStep::kMakeOpaque, 0};
  return {WheelStep::kStep, static_cast<uint8_t>(next < kAlphaMin ? kAlphaMin : next)};
}

}  // namespace qorv
