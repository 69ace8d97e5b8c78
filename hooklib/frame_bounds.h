// Visible frames. Since Windows 10 a top-level window's rectangle includes invisible resize borders
// of several pixels; the window manager reports the visible part as the extended frame bounds.
// Snapping by the visible boxes makes visible edges meet instead of leaving gaps. Plain code: the
// glue (frame_bounds_win.cpp) queries the bounds.
#pragma once
#include <cstdint>

#include "common/geometry.h"

namespace qorv {

// Invisible borders are a few pixels per side even at high scaling; bounds that claim more, or that
// reach outside the rectangle (a process not aware of the display scale sees them in other units),
// are not a frame of this rectangle.
constexpr int32_t kMaxFrameInset = 32;

// Whether frame can be the visible part of a window with rectangle window.
bool PlausibleFrame(const Rect& window, const Rect& frame);

// The box a window is snapped by: its rectangle, cut to its region box when regionBox is given and
// meets it, then to its visible frame when frame is given and plausible. Never empty when the window
// rectangle is not.
Rect VisibleBox(const Rect& window, const Rect* regionBox, const Rect* frame);

// Offsets from the window rectangle to the box: window.left - box.left, window.top - box.top,
// window.right - box.right, window.bottom - box.bottom.
void BoxInsets(const Rect& window, const Rect& box, int32_t inset[4]);

// The window's tracking sizes as sizes of its visible box, so that clamping the box keeps the
// window itself within them; sizes of 0 (no limit) stay 0.
MinMaxInfo VisibleMinMax(const MinMaxInfo& minmax, const int32_t inset[4]);

}  // namespace qorv
