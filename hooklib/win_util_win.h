// Small Win32 helpers shared by the hook procedures and their glue.
#pragma once
#include <windows.h>

#include "common/geometry.h"
#include "common/mouse_keys.h"

namespace qorv {

static_assert(kMkLButton == MK_LBUTTON && kMkRButton == MK_RBUTTON && kMkShift == MK_SHIFT &&
                  kMkControl == MK_CONTROL && kMkMButton == MK_MBUTTON && kMkXButton1 == MK_XBUTTON1 &&
                  kMkXButton2 == MK_XBUTTON2,
              "plain key-state bits are the MK_ bits");

// Hit code of a screen point, computed by the default procedure in this thread without a send.
inline int HitTest(HWND hwnd, POINT pt) {
  return static_cast<int>(DefWindowProcW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
}

inline LONG_PTR Style(HWND hwnd) { return GetWindowLongPtrW(hwnd, GWL_STYLE); }

inline Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// A window handle as the opaque number that plain decisions compare.
inline uint64_t WndBits(HWND hwnd) { return reinterpret_cast<uintptr_t>(hwnd); }

}  // namespace qorv
