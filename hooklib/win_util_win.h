// Small Win32 helpers shared by the hook procedures and their glue, beside the window helpers of
// common/winsearch_win.h (Style, HitTest).
#pragma once
#include <windows.h>

#include "common/geometry.h"
#include "common/mouse_keys.h"
#include "common/winsearch_win.h"

namespace qorv {

static_assert(kMkLButton == MK_LBUTTON && kMkRButton == MK_RBUTTON && kMkShift == MK_SHIFT &&
                  kMkControl == MK_CONTROL && kMkMButton == MK_MBUTTON && kMkXButton1 == MK_XBUTTON1 &&
                  kMkXButton2 == MK_XBUTTON2,
              "plain key-state bits are the MK_ bits");

inline Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// A window handle as the opaque number that plain decisions compare.
inline uint64_t WndBits(HWND hwnd) { return reinterpret_cast<uintptr_t>(hwnd); }

}  // namespace qorv
