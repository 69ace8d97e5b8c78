#include "hooklib/mouse.h"

#include "common/flags.h"

namespace qorv {

MdiStep DecideMdiActivation(const MdiIn& in, MdiFacts& f) {
  if ((in.global & wheel_flag::kMdiActivate) == 0 || in.activated || in.window == in.focus) return MdiStep::kNone;
  const uint64_t child = Ask(f, kMdiFactChild).child;
  if (child == 0 || child == in.focus || (in.focus != 0 && Ask(f, kMdiFactFocusInside).focusInside)) {
    return MdiStep::kNone;
  }
  // The child in front has no window above it; one that its frame names active is in front too.
  if (!Ask(f, kMdiFactPrevious).hasPrevious) return MdiStep::kNone;
  if (!Ask(f, kMdiFactActive).answered || f.active == child) return MdiStep::kNone;
  // An "EXCEL7" sheet only while its program is in front and the focus is on one of its sheets.
  if (Ask(f, kMdiFactSheet).sheet && (in.top != in.foreground || !Ask(f, kMdiFactFocusTarget).focusHasTarget)) {
    return MdiStep::kNone;
  }
  return (in.effective & wheel_flag::kMdiActivate) == 0 ? MdiStep::kBringForwardConsume : MdiStep::kBringForward;
}

}  // namespace qorv
