// Points across DPI contexts on the window-system side. A point that passes between programs of
// different DPI awareness (the low-level hook's physical points posted to a program that is not
// aware of the monitor's scale, the mouse hook's points in the hooked program's units reported to
// the main program, the reposted wheel) is converted where it crosses. The per-monitor conversions
// exist from Windows 8.1 on and the thread's DPI context from Windows 10 (1607) on: both are bound
// at run time; without them, or when they fail, a point passes unchanged.
#pragma once
#include <windows.h>

namespace qorv {

// A point in the units of this thread's program, on `window` (a window of this thread's DPI
// awareness that contains the point), to physical pixels.
bool DpiToPhysical(HWND window, POINT* pt);
// A point in physical pixels, on `window`, to the units of that window's program.
bool DpiToWindow(HWND window, POINT* pt);
// A point in this thread's units close to the cursor (a mouse event's point) in physical pixels:
// the cursor read in both units, and the point's distance from it (a few pixels at most) added as
// it is. Needs no window that holds the point.
bool DpiCursorPointToPhysical(POINT* pt);

}  // namespace qorv
