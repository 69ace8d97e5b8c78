#include "common/layered_win.h"

namespace qorv {
namespace {

using SetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
using GetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF*, BYTE*, DWORD*);

// Per process, zero at load.
HMODULE g_user32;
DWORD g_layeredMask;
SetLayeredFn g_setLayered;
GetLayeredFn g_getLayered;
FARPROC g_updateLayered;
FARPROC g_animateWindow;

}  // namespace

DWORD LoadLayeredApi() {
  if (g_user32 != nullptr) return g_layeredMask;
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return 0;
  DWORD mask = 0;
  g_setLayered = reinterpret_cast<SetLayeredFn>(
      reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
  if (g_setLayered != nullptr) mask |= kLayeredSet;
  g_updateLayered = GetProcAddress(user32, "UpdateLayeredWindow");
  if (g_updateLayered != nullptr) mask |= kLayeredUpdate;
  g_animateWindow = GetProcAddress(user32, "AnimateWindow");
  if (g_animateWindow != nullptr) mask |= kLayeredAnimate;
  g_getLayered = reinterpret_cast<GetLayeredFn>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetLayeredWindowAttributes")));
  if (g_getLayered != nullptr) mask |= kLayeredGet;
  if (mask == 0) return 0;  // module handle stays null: the next call tries again
  g_layeredMask = mask;
  g_user32 = user32;
  return mask;
}

DWORD ForgetLayeredApi() {
  g_user32 = nullptr;
  g_layeredMask = 0;
  g_setLayered = nullptr;
  g_getLayered = nullptr;
  g_updateLayered = nullptr;
  g_animateWindow = nullptr;
  return 1;
}

BOOL SetLayeredAttributes(HWND hwnd, COLORREF colorKey, BYTE alpha, DWORD flags) {
  if ((LoadLayeredApi() & kLayeredSet) == 0) return FALSE;
  const LONG_PTR exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  if (flags != 0) {
    if ((exStyle & kExNoRedirectionBitmap) != 0) return FALSE;
    if ((exStyle & WS_EX_LAYERED) == 0) SetWindowLongPtrW(hwnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    return g_setLayered(hwnd, colorKey, alpha, flags);
  }
  if ((exStyle & WS_EX_LAYERED) != 0) {
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  return TRUE;
}

BOOL GetLayeredAttributes(HWND hwnd, COLORREF* colorKey, BYTE* alpha, DWORD* flags) {
  if ((LoadLayeredApi() & kLayeredGet) == 0) return FALSE;
  return g_getLayered(hwnd, colorKey, alpha, flags);
}

DWORD ApplyAlpha(HWND hwnd, BYTE alpha) {
  COLORREF colorKey = 0;
  BYTE before = 255;
  DWORD flags = 0;
  if (!GetLayeredAttributes(hwnd, &colorKey, &before, &flags)) {
    colorKey = 0;
    flags = 0;
  }
  if ((flags & LWA_ALPHA) == 0) {
    before = 255;  // without an alpha the window was fully opaque; a colour key stays
    flags |= LWA_ALPHA;
  }
  if (!SetLayeredAttributes(hwnd, colorKey, alpha, flags)) return 0;
  return before;
}

}  // namespace qorv
