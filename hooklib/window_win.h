// Wheel translucency and roll-up of top-level windows of any process. State that other processes
// must see lives in window properties: "qv WndLay" (current wheel alpha) and "qv WndHight"
// (height before the roll-up).
#pragma once
#include <windows.h>

#include "common/layered_win.h"  // kPropWndLay

namespace qorv {

extern const wchar_t kPropWndHight[];  // "qv WndHight"

// One wheel step over the caption; delta is the signed wheel delta, keys the MK_ state.
// Returns 1 if it acted.
int WheelTranslucency(HWND hwnd, int delta, UINT keys);
// Makes every wheel-translucent top-level window opaque; returns how many.
int ClearWheelTranslucency();
// 0 when none of ddraw, d3d8, d3d9 is loaded in this process, else 1, 2 or 3 for the first found.
int DirectXInUse();

UINT_PTR IsRolledUp(HWND hwnd);
int RollUp(HWND hwnd);
int Unroll(HWND hwnd);
int ToggleRoll(HWND hwnd);
// Restores every rolled-up top-level window and sets RollCount to the number that must wait (a
// minimised window whose thread does not answer); returns how many were restored. No call waits on
// another thread: resizing is posted to it.
int UnrollAll();

}  // namespace qorv
