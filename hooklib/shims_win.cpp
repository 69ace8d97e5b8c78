#include "hooklib/shims_win.h"

namespace qorv {

namespace {

using GetSystemMetricsFn = int(WINAPI*)(int);
using MonitorFromWindowFn = HMONITOR(WINAPI*)(HWND, DWORD);
using MonitorFromRectFn = HMONITOR(WINAPI*)(LPCRECT, DWORD);
using MonitorFromPointFn = HMONITOR(WINAPI*)(POINT, DWORD);
using EnumDisplayMonitorsFn = BOOL(WINAPI*)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);
using EnumDisplayDevicesWFn = BOOL(WINAPI*)(LPCWSTR, DWORD, PDISPLAY_DEVICEW, DWORD);
using GetMonitorInfoFn = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);

// Filled on the first call of any shim in the process, never again; every thread writes the same values.
struct MonitorApi {
  bool resolved;
  bool nt;
  GetSystemMetricsFn getSystemMetrics;
  MonitorFromWindowFn monitorFromWindow;
  MonitorFromRectFn monitorFromRect;
  MonitorFromPointFn monitorFromPoint;
  EnumDisplayMonitorsFn enumDisplayMonitors;
  EnumDisplayDevicesWFn enumDisplayDevicesW;
  GetMonitorInfoFn getMonitorInfo;
};

MonitorApi g_monitorApi;

constexpr UINT kMonitorInfoSize = 40;     // MONITORINFO
constexpr UINT kMonitorInfoExSize = 104;  // MONITORINFOEXW, with the 32-character device name

template <typename T>
bool Resolve(HMODULE module, const char* name, T* fn) {
  *fn = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return *fn != nullptr;
}

void ClearPointers(MonitorApi* api) {
  api->getSystemMetrics = nullptr;
  api->monitorFromWindow = nullptr;
  api->monitorFromRect = nullptr;
  api->monitorFromPoint = nullptr;
  api->enumDisplayMonitors = nullptr;
  api->enumDisplayDevicesW = nullptr;
  api->getMonitorInfo = nullptr;
}

const MonitorApi& Api() {
  MonitorApi& api = g_monitorApi;
  if (api.resolved) return api;
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  api.nt = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  HMODULE user32 = GetModuleHandleW(L"USER32");
  // In the listed order, stopping at the first that is missing: all seven or none.
  const bool all = user32 != nullptr && Resolve(user32, "GetSystemMetrics", &api.getSystemMetrics) &&
                   Resolve(user32, "MonitorFromWindow", &api.monitorFromWindow) &&
                   Resolve(user32, "MonitorFromRect", &api.monitorFromRect) &&
                   Resolve(user32, "MonitorFromPoint", &api.monitorFromPoint) &&
                   Resolve(user32, "EnumDisplayMonitors", &api.enumDisplayMonitors) &&
                   Resolve(user32, "EnumDisplayDevicesW", &api.enumDisplayDevicesW) &&
                   Resolve(user32, api.nt ? "GetMonitorInfoW" : "GetMonitorInfoA", &api.getMonitorInfo);
  if (!all) ClearPointers(&api);
  api.resolved = true;
  return api;
}

HMONITOR PrimaryMonitor() { return reinterpret_cast<HMONITOR>(kPrimaryMonitorHandle); }

RECT ScreenRect() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

// GetMonitorInfoA on a system that is not NT-based: the 8-bit device name becomes UTF-16.
BOOL MonitorInfoFromAnsi(GetMonitorInfoFn fn, HMONITOR monitor, MONITORINFO* record) {
  if (record->cbSize < kMonitorInfoExSize) return fn(monitor, record);
  MONITORINFOEXA ansi = {};
  ansi.cbSize = sizeof(ansi);
  if (!fn(monitor, &ansi)) return FALSE;
  auto* wide = reinterpret_cast<MONITORINFOEXW*>(record);
  wide->rcMonitor = ansi.rcMonitor;
  wide->rcWork = ansi.rcWork;
  wide->dwFlags = ansi.dwFlags;
  wide->szDevice[0] = L'\0';
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.szDevice, -1, wide->szDevice, CCHDEVICENAME);
  if (n <= 0) wide->szDevice[0] = L'\0';
  wide->szDevice[CCHDEVICENAME - 1] = L'\0';
  return TRUE;
}

struct UnionCollect {
  HRGN region;
  int count;
};

BOOL CALLBACK AddWorkAreaProc(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  auto* collect = reinterpret_cast<UnionCollect*>(data);
  MONITORINFO info = {};
  info.cbSize = kMonitorInfoSize;
  if (!ShimGetMonitorInfo(monitor, &info)) return TRUE;
  HRGN area = CreateRectRgnIndirect(&info.rcWork);
  if (area != nullptr) {
    CombineRgn(collect->region, collect->region, area, RGN_OR);
    DeleteObject(area);
  }
  ++collect->count;
  return TRUE;
}

}  // namespace

int ShimGetSystemMetrics(int index) {
  const MonitorApi& api = Api();
  if (api.getMonitorInfo != nullptr) return api.getSystemMetrics(index);
  switch (index) {
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN:
      return 0;
    case SM_CXVIRTUALSCREEN:
      return GetSystemMetrics(SM_CXSCREEN);
    case SM_CYVIRTUALSCREEN:
      return GetSystemMetrics(SM_CYSCREEN);
    case SM_CMONITORS:
    case SM_SAMEDISPLAYFORMAT:
      return 1;
    default:
      return GetSystemMetrics(index);
  }
}

HMONITOR ShimMonitorFromPoint(int x, int y, DWORD flags) {
  const MonitorApi& api = Api();
  if (api.getMonitorInfo != nullptr) return api.monitorFromPoint(POINT{x, y}, flags);
  if ((flags & (MONITOR_DEFAULTTOPRIMARY | MONITOR_DEFAULTTONEAREST)) != 0) return PrimaryMonitor();
  if (x >= 0 && x < GetSystemMetrics(SM_CXSCREEN) && y >= 0 && y < GetSystemMetrics(SM_CYSCREEN)) {
    return PrimaryMonitor();
  }
  return nullptr;
}

// Not inlined: the record's real size is only known from cbSize at run time.
__attribute__((noinline)) BOOL ShimGetMonitorInfo(HMONITOR monitor, MONITORINFO* record) {
  const MonitorApi& api = Api();
  if (api.getMonitorInfo != nullptr) {
    if (record == nullptr) return FALSE;
    return api.nt ? api.getMonitorInfo(monitor, record) : MonitorInfoFromAnsi(api.getMonitorInfo, monitor, record);
  }
  if (monitor != PrimaryMonitor() || record == nullptr || record->cbSize < kMonitorInfoSize) return FALSE;
  RECT work;
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return FALSE;
  record->rcMonitor = ScreenRect();
  record->rcWork = work;
  record->dwFlags = MONITORINFOF_PRIMARY;
  if (record->cbSize >= kMonitorInfoExSize) {
    static const wchar_t kDevice[] = L"DISPLAY";
    wchar_t* name = reinterpret_cast<MONITORINFOEXW*>(record)->szDevice;
    for (size_t i = 0; i < sizeof(kDevice) / sizeof(kDevice[0]); ++i) name[i] = kDevice[i];
  }
  return TRUE;
}

BOOL ShimEnumDisplayMonitors(HDC dc, const RECT* clip, MONITORENUMPROC callback, LPARAM data) {
  const MonitorApi& api = Api();
  if (api.getMonitorInfo != nullptr) return api.enumDisplayMonitors(dc, clip, callback, data);
  if (callback == nullptr) return FALSE;
  RECT rect = ScreenRect();
  if (dc != nullptr) {
    RECT box;
    const int kind = GetClipBox(dc, &box);
    if (kind == ERROR) return FALSE;
    if (kind == NULLREGION) return TRUE;
    POINT origin;
    if (!GetDCOrgEx(dc, &origin)) return FALSE;
    OffsetRect(&rect, -origin.x, -origin.y);
    if (!IntersectRect(&rect, &rect, &box)) return TRUE;
  }
  if (clip != nullptr && !IntersectRect(&rect, &rect, clip)) return TRUE;
  return callback(PrimaryMonitor(), dc, &rect, data);
}

int MonitorRectAtPoint(RECT* out, int x, int y, int workArea) {
  HMONITOR monitor = ShimMonitorFromPoint(x, y, 0);
  if (monitor == nullptr) return 0;
  MONITORINFO info = {};
  info.cbSize = kMonitorInfoSize;
  if (!ShimGetMonitorInfo(monitor, &info)) return 0;
  if (out != nullptr) *out = workArea != 0 ? info.rcWork : info.rcMonitor;
  return 1;
}

int PrimaryWorkArea(RECT* out) {
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, out, 0)) {
    *out = {0, 0, ShimGetSystemMetrics(SM_CXSCREEN), ShimGetSystemMetrics(SM_CYSCREEN)};
  }
  return 1;
}

HRGN WorkAreaUnion(int* count) {
  UnionCollect collect = {CreateRectRgn(0, 0, 0, 0), 0};
  if (collect.region == nullptr) {
    if (count != nullptr) *count = 0;
    return nullptr;
  }
  if (!ShimEnumDisplayMonitors(nullptr, nullptr, AddWorkAreaProc, reinterpret_cast<LPARAM>(&collect))) {
    RECT work;
    PrimaryWorkArea(&work);
    SetRectRgn(collect.region, work.left, work.top, work.right, work.bottom);
  }
  if (count != nullptr) *count = collect.count;
  return collect.region;
}

void ShimHideRealFunctions() {
  Api();
  ClearPointers(&g_monitorApi);
}

}  // namespace qorv
