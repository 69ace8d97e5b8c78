// The mouse hook's MDI activation as plain code: whether a wheel over an inactive MDI child brings
// that child forward. The decision asks the glue's (or a test's) windows for each fact when it
// needs it; the glue does the sends and posts. Window handles are opaque numbers, 0 for none.
#pragma once
#include <cstdint>

#include "common/flags.h"

namespace qorv {

struct MdiIn {
  uint32_t global;     // WheelFlag
  uint32_t effective;  // the effective wheel word
  bool activated;      // the wheel's activation step acted already
  uint64_t window;     // under the cursor
  uint64_t focus;      // the window the wheel was about to reach
  uint64_t top;        // top-level window of the window under the cursor
  uint64_t foreground;
};

enum class MdiStep : uint8_t {
  kNone,
  kBringForward,         // raise the child and post it WM_CHILDACTIVATE; the wheel goes on
  kBringForwardConsume,  // the same, and the wheel is discarded: the first notch only activates
};

// Windows answers, each when asked:
//   uint64_t Child()          an "EXCEL7" window under the cursor itself, else the MDI child holding it
//   bool FocusInside()        the focus window lies inside that child
//   bool HasPrevious()        a window lies above the child (GW_HWNDPREV)
//   bool ActiveChild(uint64_t* active)  asks the child's frame (WM_MDIGETACTIVE); false: no answer in time
//   bool IsSheet()            the child's class is "EXCEL7"
//   bool FocusHasTarget()     the focus window has an activation target itself
template <typename Windows>
MdiStep DecideMdiActivation(const MdiIn& in, Windows& w) {
  if ((in.global & wheel_flag::kMdiActivate) == 0 || in.activated || in.window == in.focus) return MdiStep::kNone;
  const uint64_t child = w.Child();
  if (child == 0 || child == in.focus || (in.focus != 0 && w.FocusInside())) return MdiStep::kNone;
  // The child in front has no window above it; one that its frame names active is in front too.
  uint64_t active = 0;
  if (!w.HasPrevious() || !w.ActiveChild(&active) || active == child) return MdiStep::kNone;
  // An "EXCEL7" sheet only while its program is in front and the focus is on one of its sheets.
  if (w.IsSheet() && (in.top != in.foreground || !w.FocusHasTarget())) return MdiStep::kNone;
  return (in.effective & wheel_flag::kMdiActivate) == 0 ? MdiStep::kBringForwardConsume : MdiStep::kBringForward;
}

}  // namespace qorv
