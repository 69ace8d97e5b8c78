// The per-process record of the move/size loop and of scroll-thumb tracking. Written on the thread
// that owns the tracked window (window-procedure hook and snap subclass), read by the message hook
// of the same process. Never shared between processes; no lock.
#pragma once
#include <cstdint>

#include "common/geometry.h"

namespace qorv {

constexpr uint32_t kMaxSnapTargets = 32;
constexpr uint32_t kSizeEdgeMove = 9;  // LastSizeEdge/SnapStarted value of a move; 1-8 are WMSZ_ edges

// Kinds of ScrollTrackCtl.
constexpr uint8_t kTrackHorzBar = 0;  // the window's own horizontal bar
constexpr uint8_t kTrackVertBar = 1;  // its own vertical bar
constexpr uint8_t kTrackBarCtl = 2;   // a scroll bar control
constexpr uint8_t kTrackTrackbar = 4; // a trackbar

struct MoveSizeState {
  uintptr_t TrackedWnd;      // top-level window whose loop is tracked; 0 = none
  uintptr_t LayeredWnd;      // window that the move/size translucency belongs to
  uint8_t MoveAlpha;         // alpha while moving or sizing; 0 = none in this loop
  uint8_t AlphaApplied;      // non-zero once MoveAlpha was applied in this loop
  Rect MoveStartRect;        // window rectangle when the loop began
  int32_t LastSizeEdge;      // last WM_SIZING/WM_MOVING kind: 1-8 edge, 9 move, 0 none
  uintptr_t SizeMoveWnd;     // first window of the process whose loop runs; 0 = none
  uint32_t EffWndFlag;       // window flag word in force for this loop
  int32_t SnapPixels;        // snap distance: byte 2 of the global WndFlag
  uintptr_t SnapWnd;         // window subclassed for snapping; 0 = none
  uintptr_t PrevWndProc;     // the procedure that the snap subclass replaced
  Rect SnapRects[kMaxSnapTargets];       // target rectangles, screen coordinates
  uint32_t SnapEdges[kMaxSnapTargets];   // edge word of each target
  int32_t SnapCount;         // valid targets, 0-32
  MinMaxInfo MinMaxCopy;     // last MINMAXINFO seen in the process
  int32_t RgnInset[4];       // window rectangle minus region box: left, top, right, bottom
  int32_t SnapStarted;       // 0 until the first real move/size step, then its kind
  int32_t GrabOffset[2];     // cursor minus window left/top at the first WM_MOVING
  Rect SnapBaseRect;         // rectangle at the start, re-based when a move changes the size
  uintptr_t ScrollTrackWnd;  // window whose thumb drag is reported; 0 = none
  uintptr_t ScrollTrackCtl;  // bar or trackbar whose position is reported; 0 = none
  uint8_t ScrollTrackBar;    // kind of ScrollTrackCtl
};

// This process's record, zero at load.
extern MoveSizeState g_moveSize;

}  // namespace qorv
