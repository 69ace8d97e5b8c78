// Multi-monitor functions bound at run time from USER32, answering as if there were one monitor
// covering the screen where the system lacks them; and the work-area queries that snapping uses.
#pragma once
#include <windows.h>

namespace qorv {

// The monitor handle handed out for the one screen when the real functions are missing.
constexpr UINT_PTR kPrimaryMonitorHandle = 0x12340042;

int ShimGetSystemMetrics(int index);
HMONITOR ShimMonitorFromPoint(int x, int y, DWORD flags);
// record points to a MONITORINFO or MONITORINFOEXW whose cbSize is set.
BOOL ShimGetMonitorInfo(HMONITOR monitor, MONITORINFO* record);
BOOL ShimEnumDisplayMonitors(HDC dc, const RECT* clip, MONITORENUMPROC callback, LPARAM data);

// Work (workArea != 0) or monitor rectangle of the monitor that contains the point; 0 when none
// does, leaving *out untouched.
int MonitorRectAtPoint(RECT* out, int x, int y, int workArea);
// The primary work area, or the whole screen when it cannot be read; always 1.
int PrimaryWorkArea(RECT* out);
// A region that is the union of all work areas; the caller deletes it. Null only when no region
// could be created.
HRGN WorkAreaUnion(int* count);

// For tests: forget the real functions so that the single-monitor answers are given.
void ShimHideRealFunctions();

}  // namespace qorv
