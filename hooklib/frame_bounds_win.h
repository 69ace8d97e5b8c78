// The Win32 side of visible frames: the extended frame bounds from the window manager, bound at run
// time, and the box a window is snapped by.
#pragma once
#include <windows.h>

namespace qorv {

// The visible frame of a top-level window as the window manager reports it; false where the
// function is missing (before Windows Vista) or fails.
bool VisibleFrameOf(HWND hwnd, RECT* frame);

// The window's rectangle and the box it is snapped by: the rectangle cut to its region box (with
// withRegion) and, for a top-level window, to its visible frame. False when the window has no
// rectangle.
bool SnapBoxOf(HWND hwnd, bool withRegion, RECT* window, RECT* box);

}  // namespace qorv
