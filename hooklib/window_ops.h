// Decisions of the wheel translucency and the roll-up, as plain code. The Win32 side gathers the
// facts (property value, styles, tracking sizes), calls these and carries out the result.
#pragma once
#include <cstdint>

#include "common/mouse_keys.h"

namespace qorv {

constexpr uint32_t kAlphaStep = 25;
constexpr uint32_t kAlphaMin = 25;
constexpr uint32_t kAlphaMax = 225;

struct WheelStepFacts {
  uint32_t currentAlpha;  // value of the window's wheel-translucency property, 0 when absent
  int32_t delta;          // signed wheel delta; <= 0 is a turn towards the user
  uint32_t keys;          // MK_ key state of the wheel message
  bool layered;           // the window has WS_EX_LAYERED already
  uint32_t mainFlag;
  bool noRedirection = false;  // the window has no redirection surface (WS_EX_NOREDIRECTIONBITMAP)
};

enum class WheelStep {
  kNone,        // do nothing, report 0
  kStart,       // store alpha as the property, then apply it
  kStep,        // store alpha as the property, then apply it
  kMakeOpaque,  // remove the property and make the window opaque
};

struct WheelStepResult {
  WheelStep action;
  uint8_t alpha;  // for kStart and kStep
};

// One wheel step over a caption. A window layered by its own program is never started; a level of 0
// in MainFlag starts nothing (alpha 0 would make the window invisible and its property read as absent).
// A window without a redirection surface is never given an alpha: a property that another process
// left on it only makes it opaque.
WheelStepResult DecideWheelStep(const WheelStepFacts& facts);

// Roll-up: the window accepts a caption-only height when its minimum tracking height stays below
// twice SM_CYMIN; it is rolled only when its current (or restored) height is above that minimum.
constexpr bool RollAccepted(int32_t minTrackHeight, int32_t cyMin) { return minTrackHeight < 2 * cyMin; }
constexpr bool RollWorthwhile(int32_t height, int32_t minTrackHeight) { return height > minTrackHeight; }

// Height to restore on roll-down: 0 = leave the size alone (saved height at or below SM_CYMIN);
// a maximised window gets the maximised height instead of the saved one. The saved height comes
// from a window property that any process can write: it never exceeds cyMax, the height of the
// whole desktop.
constexpr int32_t UnrollHeight(int32_t saved, int32_t cyMin, bool maximized, int32_t cyMaximized, int32_t cyMax) {
  return saved > cyMin ? (maximized ? cyMaximized : (saved < cyMax ? saved : cyMax)) : 0;
}

}  // namespace qorv
