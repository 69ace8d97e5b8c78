// Layered-window functions bound at run time from user32, so that both programs still load where
// they are missing; without them every call quietly does nothing.
#pragma once
#include <windows.h>

namespace qorv {

constexpr DWORD kLayeredSet = 0x01;     // SetLayeredWindowAttributes
constexpr DWORD kLayeredUpdate = 0x02;  // UpdateLayeredWindow
constexpr DWORD kLayeredAnimate = 0x04; // AnimateWindow
constexpr DWORD kLayeredGet = 0x10;     // GetLayeredWindowAttributes

// Wheel translucency of a window: its current alpha (set by the library, seen by every process).
constexpr wchar_t kPropWndLay[] = L"qv WndLay";
// Mark of a window that a restore pass left layered at alpha 255 because its thread did not answer;
// the main program takes the style off once it answers (host/layered_left_win.h).
constexpr wchar_t kPropLayLeft[] = L"qv LayLeft";

// Resolves the entry points once per process; returns the mask of those found (0: try again later).
DWORD LoadLayeredApi();
// Forgets the entry points so that the next use resolves them again; returns 1.
DWORD ForgetLayeredApi();
// flags != 0: make the window layered and set its attributes; flags == 0: make it opaque (returns 1).
BOOL SetLayeredAttributes(HWND hwnd, COLORREF colorKey, BYTE alpha, DWORD flags);
BOOL GetLayeredAttributes(HWND hwnd, COLORREF* colorKey, BYTE* alpha, DWORD* flags);
// Gives the window the alpha, keeping a colour key it has; returns the alpha before (255 when it
// was not layered), 0 on failure.
DWORD ApplyAlpha(HWND hwnd, BYTE alpha);

}  // namespace qorv
