// The Win32 side of snapping: collecting the targets once per move/size loop, the window-region box,
// and the subclass procedure that snaps each WM_MOVING and WM_SIZING.
#pragma once
#include <windows.h>

#include <cstdint>

#include "common/geometry.h"

namespace qorv {

// The record handed to the enumeration callback.
struct SnapCollect {
  Rect* rects;          // where target rectangles go, or null
  uint32_t* edges;      // where edge words go, or null
  int32_t capacity;
  int32_t count;
  uint8_t flags;        // low byte of the effective window flag word
  HWND self;            // the window being moved; never a target
  HWND parent;          // for a child window: only its direct children are targets
  HRGN uncovered;       // what windows higher in Z-order leave uncovered; null = no covering analysis
};

// Collects up to capacity visible targets from the top of the Z-order down; returns how many.
int32_t CollectSnapTargets(Rect* rects, uint32_t* edges, int32_t capacity, uint32_t flags, HWND self, HWND parent);
BOOL CALLBACK SnapTargetEnumProc(HWND hwnd, LPARAM collect);
// 0 on failure; 1 with the window rectangle when the window has no region; otherwise the region
// kind (2 simple, 3 complex) with the region's bounding box in screen coordinates.
int WindowRegionBox(HWND hwnd, RECT* box);
LRESULT CALLBACK SnapWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace qorv

namespace qorv {

// Posts a report of the window-procedure hook to the main program's owner window (nothing when no
// owner is set, so that a report never lands in the hooked thread's own queue).
// True while SnapWndProc stays in the chain of a window subclassed again above it: no other window
// is subclassed meanwhile.
bool SnapSubclassBuried();
void PostCallWndReport(WPARAM wp, LPARAM lp);

}  // namespace qorv
