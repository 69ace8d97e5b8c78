// Snapping geometry as plain code: the edge words that say which stretch of a target's edges can be
// seen, the search for the nearest lines, and applying a snap to a moved or sized rectangle. The
// Win32 side (snap_win.cpp) gathers rectangles, regions and the cursor and carries out the result.
#pragma once
#include <cstdint>

#include "common/geometry.h"
#include "hooklib/movesize.h"

namespace qorv {

// EdgeWord: one byte per edge; low nibble the start code (left or upper end), high nibble the end code.
constexpr uint32_t kEdgeTopShift = 0;
constexpr uint32_t kEdgeBottomShift = 8;
constexpr uint32_t kEdgeLeftShift = 16;
constexpr uint32_t kEdgeRightShift = 24;
constexpr uint32_t kEdgeCoveredCode = 8;          // start code of an edge that is wholly covered
constexpr uint32_t kEdgeAllCovered = 0x08080808;  // all four edges wholly covered: not a target

// Move kind: the value LastSizeEdge, SnapStarted and ApplySnap use for WM_MOVING; 1-8 are WMSZ_ edges.
constexpr int32_t kSnapKindMove = static_cast<int32_t>(kSizeEdgeMove);

// Distances from the moving rectangle to the nearest line per side; subtracting left (top) moves the
// left (top) edge onto its line, adding right (bottom) moves the right (bottom) edge onto its line.
struct SnapDeltas {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

// What the Win32 side sampled on one target box against the uncovered region. hidden*: bit i set
// when quarter strip i of that edge does not touch the region; *Covered: that corner pixel of the
// top or bottom edge lies outside the region.
struct EdgeSamples {
  uint8_t hiddenTop;
  uint8_t hiddenBottom;
  uint8_t hiddenLeft;
  uint8_t hiddenRight;
  bool topStartCovered;
  bool topEndCovered;
  bool bottomStartCovered;
  bool bottomEndCovered;
};

// The sixteen one-pixel strips to sample, in the order top[0..3], bottom[0..3], left[0..3], right[0..3].
void EdgeStrips(const Rect& box, Rect strips[16]);
// The corner pixels of the horizontal edges: top start, top end, bottom start, bottom end.
void EdgeCorners(const Rect& box, Point corners[4]);
uint32_t EdgeWordFromSamples(const EdgeSamples& samples);
// Offset of an edge's visible stretch from the end that the code belongs to.
int32_t EdgeCodeOffset(uint32_t code, int32_t length, int32_t distance);

// Update the deltas in place with the nearest target lines; array order is the Z-order from the top,
// and a line only replaces a strictly nearer one. Always return 1.
int FindOuterSnap(SnapDeltas* deltas, const Rect& v, const Rect* rects, const uint32_t* edges, int32_t count,
                  int32_t distance);
int FindInnerSnap(SnapDeltas* deltas, const Rect& v, const Rect* rects, const uint32_t* edges, int32_t count,
                  int32_t distance);
int FindCornerSnap(SnapDeltas* deltas, const Rect& v, const Rect* rects, const uint32_t* edges, int32_t count,
                   int32_t distance);
// Moves the edges of v that kind lets move onto lines within reach (|delta| < distance), keeping the
// tracking sizes while sizing; zeroes the deltas used. Non-zero if anything snapped or a delta was 0.
int ApplySnap(Rect* v, SnapDeltas* deltas, int32_t kind, int32_t distance, const MinMaxInfo& minmax);

// The bound of a child window: its parent's client rectangle, moved by the region insets when the
// child's full rectangle rather than its region box is to meet the parent's edges.
Rect SnapChildBound(const Rect& parentClient, const int32_t inset[4], uint32_t effWndFlag);

// One WM_MOVING or WM_SIZING step as the subclass procedure sees it.
struct SnapStepFacts {
  bool moving;        // WM_MOVING (always a move, whatever its wParam) or WM_SIZING
  int32_t sizeEdge;   // wParam of WM_SIZING
  Rect proposed;      // the RECT at lParam
  Point cursor;       // GetCursorPos
  Point grabCursor;   // cursor for the grab offset: the message position while the left button is down
  Rect bound;         // work area of the monitor under the cursor, or the child's bound
};

// Works on the snap fields of ms (targets, distance, insets, min/max, start, grab offset, base).
// Returns true and the rectangle to write back when the step is snapped; false to leave it alone.
bool SnapStep(MoveSizeState* ms, const SnapStepFacts& facts, Rect* out);

}  // namespace qorv
