#include "hooklib/frame_bounds_win.h"

#include "common/geometry.h"
#include "hooklib/dpi.h"
#include "hooklib/dpi_win.h"
#include "hooklib/frame_bounds.h"
#include "hooklib/snap_win.h"
#include "hooklib/win_util_win.h"

namespace qorv {

namespace {

constexpr DWORD kExtendedFrameBounds = 9;  // DWMWA_EXTENDED_FRAME_BOUNDS

using DwmGetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);

// Per process: the function once looked up; g_dwmLooked is set after g_dwmAttribute, so a thread
// that sees it set also sees the pointer (both aligned words; a second lookup does no harm).
DwmGetWindowAttributeFn g_dwmAttribute;
volatile LONG g_dwmLooked;

// A module already in the process first; otherwise the system folder's copy by its full path, so
// that no file of the same name beside the program is taken instead.
DwmGetWindowAttributeFn LookUpDwmAttribute() {
  HMODULE module = GetModuleHandleW(L"dwmapi.dll");
  if (module == nullptr) {
    wchar_t path[MAX_PATH];
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    const wchar_t kName[] = L"\\dwmapi.dll";
    if (length == 0 || length + sizeof(kName) / sizeof(kName[0]) > MAX_PATH) return nullptr;
    for (UINT i = 0; i < sizeof(kName) / sizeof(kName[0]); ++i) path[length + i] = kName[i];
    module = LoadLibraryW(path);
  }
  if (module == nullptr) return nullptr;
  return reinterpret_cast<DwmGetWindowAttributeFn>(
      reinterpret_cast<void*>(GetProcAddress(module, "DwmGetWindowAttribute")));
}

}  // namespace

bool VisibleFrameOf(HWND hwnd, RECT* frame) {
  if (g_dwmLooked == 0) {
    g_dwmAttribute = LookUpDwmAttribute();
    g_dwmLooked = 1;
  }
  if (g_dwmAttribute == nullptr) return false;
  RECT bounds;
  if (FAILED(g_dwmAttribute(hwnd, kExtendedFrameBounds, &bounds, sizeof(bounds)))) return false;
  *frame = bounds;
  return true;
}

bool SnapBoxOf(HWND hwnd, bool withRegion, RECT* window, RECT* box) {
  if (!GetWindowRect(hwnd, window)) return false;
  RECT regionBox;
  const bool region = withRegion && WindowRegionBox(hwnd, &regionBox) != 0;
  RECT frame;
  const bool visible = (Style(hwnd) & WS_CHILD) == 0 && VisibleFrameOf(hwnd, &frame);
  const Rect regionRect = region ? ToRect(regionBox) : Rect{};
  Rect frameRect = visible ? ToRect(frame) : Rect{};
  if (visible && !PlausibleFrame(ToRect(*window), frameRect)) {
    // The window manager reports the frame in physical pixels, also to a program that sees the
    // window's monitor scaled: mapped into this program's units by the window's own first and last
    // pixel. Exact where the window's program has this program's DPI awareness (its own windows,
    // and those of every program of its kind); elsewhere the mapped frame stays implausible and the
    // rectangle is used.
    const POINT first = {window->left, window->top};
    const POINT last = {window->right - 1, window->bottom - 1};
    POINT physicalFirst = first;
    POINT physicalLast = last;
    if (DpiToPhysical(hwnd, &physicalFirst) && DpiToPhysical(hwnd, &physicalLast)) {
      frameRect = MapPhysicalRect(frameRect, {physicalFirst.x, physicalFirst.y}, {physicalLast.x, physicalLast.y},
                                  {first.x, first.y}, {last.x, last.y});
    }
  }
  const Rect result = VisibleBox(ToRect(*window), region ? &regionRect : nullptr, visible ? &frameRect : nullptr);
  *box = {result.left, result.top, result.right, result.bottom};
  return true;
}

}  // namespace qorv
