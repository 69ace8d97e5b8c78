#include "hooklib/dpi_win.h"

namespace qorv {

namespace {

// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-logicaltophysicalpointforpermonitordpi
using PointConversionFn = BOOL(WINAPI*)(HWND, LPPOINT);
using SetThreadDpiContextFn = HANDLE(WINAPI*)(HANDLE);
const HANDLE kPerMonitorAware =
    reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE

// Per process: looked up once; g_looked is set after the pointers (aligned words; a second lookup
// by another thread does no harm).
PointConversionFn g_toPhysical;
PointConversionFn g_toLogical;
SetThreadDpiContextFn g_setThreadContext;
volatile LONG g_looked;

void LookUp() {
  if (g_looked != 0) return;
  HMODULE user = GetModuleHandleW(L"user32.dll");
  if (user != nullptr) {
    g_toPhysical = reinterpret_cast<PointConversionFn>(
        reinterpret_cast<void*>(GetProcAddress(user, "LogicalToPhysicalPointForPerMonitorDPI")));
    g_toLogical = reinterpret_cast<PointConversionFn>(
        reinterpret_cast<void*>(GetProcAddress(user, "PhysicalToLogicalPointForPerMonitorDPI")));
    g_setThreadContext = reinterpret_cast<SetThreadDpiContextFn>(
        reinterpret_cast<void*>(GetProcAddress(user, "SetThreadDpiAwarenessContext")));
  }
  g_looked = 1;
}

bool Convert(PointConversionFn convert, HWND window, POINT* pt) {
  if (convert == nullptr || window == nullptr) return false;
  POINT p = *pt;
  if (!convert(window, &p)) return false;
  *pt = p;
  return true;
}

}  // namespace

bool DpiToPhysical(HWND window, POINT* pt) {
  LookUp();
  return Convert(g_toPhysical, window, pt);
}

bool DpiToWindow(HWND window, POINT* pt) {
  LookUp();
  return Convert(g_toLogical, window, pt);
}

bool DpiCursorPointToPhysical(POINT* pt) {
  LookUp();
  POINT here;
  if (g_setThreadContext == nullptr || !GetCursorPos(&here)) return false;
  const HANDLE previous = g_setThreadContext(kPerMonitorAware);
  if (previous == nullptr) return false;
  POINT physical;
  const bool read = GetCursorPos(&physical) != FALSE;
  g_setThreadContext(previous);
  if (!read) return false;
  *pt = {physical.x + pt->x - here.x, physical.y + pt->y - here.y};
  return true;
}

}  // namespace qorv
