#include "hooklib/snap.h"

#include "common/flags.h"
#include "hooklib/frame_bounds.h"

namespace qorv {

namespace {

uint32_t Magnitude(int32_t value) {
  return value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
}

// Replaces *slot with value when value is strictly nearer; equal distances keep the earlier line.
void TakeNearer(int32_t* slot, int32_t value) {
  if (Magnitude(value) < Magnitude(*slot)) *slot = value;
}

bool InReach(int32_t delta, int32_t distance) { return -distance < delta && delta < distance; }

uint32_t StartCode(uint32_t word, uint32_t shift) { return (word >> shift) & 0xF; }
uint32_t EndCode(uint32_t word, uint32_t shift) { return (word >> (shift + 4)) & 0xF; }
bool Covered(uint32_t word, uint32_t shift) { return (word & (kEdgeCoveredCode << shift)) != 0; }

// Codes of one edge from its hidden mask. far2..far4 are the codes for "visible from the second
// quarter", "from the middle" and "in the last quarter only" of that edge's direction.
uint32_t StartCodeOf(uint32_t c, bool cornerCovered, uint32_t far2, uint32_t far3, uint32_t far4) {
  if (c == 15) return kEdgeCoveredCode;
  if (c == 7) return far4;
  if ((c & 7) == 3) return far3;
  if ((c & 3) == 1) return far2;
  return cornerCovered ? 1 : 0;
}

uint32_t EndCodeOf(uint32_t c, bool cornerCovered, uint32_t far2, uint32_t far3, uint32_t far4) {
  if (c == 15) return 0;
  if (c == 14) return far4;
  if ((c & 14) == 12) return far3;
  if ((c & 12) == 8) return far2;
  return cornerCovered ? 1 : 0;
}

uint32_t EdgeByte(uint32_t start, uint32_t end) { return start | (end << 4); }

// Whether the visible stretch [from + off(start), to - off(end)) of a target edge overlaps [lo, hi).
bool StretchOverlaps(uint32_t word, uint32_t shift, int32_t from, int32_t to, int32_t lo, int32_t hi,
                     int32_t distance) {
  const int32_t length = to - from;
  return from + EdgeCodeOffset(StartCode(word, shift), length, distance) < hi &&
         lo < to - EdgeCodeOffset(EndCode(word, shift), length, distance);
}

// Keeps the extent between fixedEdge and *movingEdge within the tracking sizes; sign is +1 when the
// moving edge is the far one (right or bottom), -1 when it is the near one.
void ClampExtent(int32_t* movingEdge, int32_t fixedEdge, int32_t sign, int32_t minSize, int32_t maxSize) {
  const int32_t extent = sign > 0 ? *movingEdge - fixedEdge : fixedEdge - *movingEdge;
  int32_t wanted = extent;
  if (minSize > 0 && extent < minSize) {
    wanted = minSize;
  } else if (maxSize > 0 && extent > maxSize) {
    wanted = maxSize;
  }
  *movingEdge = sign > 0 ? fixedEdge + wanted : fixedEdge - wanted;
}

bool MovesLeft(int32_t kind) { return kind == 1 || kind == 4 || kind == 7; }
bool MovesRight(int32_t kind) { return kind == 2 || kind == 5 || kind == 8; }
bool MovesTop(int32_t kind) { return kind == 3 || kind == 4 || kind == 5; }
bool MovesBottom(int32_t kind) { return kind == 6 || kind == 7 || kind == 8; }

bool Overlaps(const Rect& a, const Rect& b) {
  return b.top < a.bottom && b.left < a.right && a.top < b.bottom && a.left < b.right;
}

bool SameRect(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

SnapDeltas DeltasToBound(const Rect& v, const Rect& k) {
  return {v.left - k.left, v.top - k.top, k.right - v.right, k.bottom - v.bottom};
}

}  // namespace

void EdgeStrips(const Rect& b, Rect strips[16]) {
  const int32_t m = (b.left + b.right) >> 1;
  const int32_t xs[5] = {b.left, (b.left + m) >> 1, m, (m + b.right) >> 1, b.right};
  const int32_t mv = (b.top + b.bottom) >> 1;
  const int32_t ys[5] = {b.top, (b.top + mv) >> 1, mv, (mv + b.bottom) >> 1, b.bottom};
  for (int i = 0; i < 4; ++i) {
    strips[i] = {xs[i], b.top, xs[i + 1], b.top + 1};
    strips[4 + i] = {xs[i], b.bottom - 1, xs[i + 1], b.bottom};
    strips[8 + i] = {b.left, ys[i], b.left + 1, ys[i + 1]};
    strips[12 + i] = {b.right - 1, ys[i], b.right, ys[i + 1]};
  }
}

void EdgeCorners(const Rect& b, Point corners[4]) {
  corners[0] = {b.left, b.top};
  corners[1] = {b.right - 1, b.top};
  corners[2] = {b.left, b.bottom - 1};
  corners[3] = {b.right - 1, b.bottom - 1};
}

uint32_t EdgeWordFromSamples(const EdgeSamples& s) {
  uint32_t word = 0;
  word |= EdgeByte(StartCodeOf(s.hiddenTop, s.topStartCovered, 2, 3, 4),
                   EndCodeOf(s.hiddenTop, s.topEndCovered, 2, 3, 4))
          << kEdgeTopShift;
  word |= EdgeByte(StartCodeOf(s.hiddenBottom, s.bottomStartCovered, 2, 3, 4),
                   EndCodeOf(s.hiddenBottom, s.bottomEndCovered, 2, 3, 4))
          << kEdgeBottomShift;
  // The vertical edges share their corners with the horizontal ones: reuse those codes.
  const bool leftStart = (word & 0x0000000F) != 0;
  const bool leftEnd = (word & 0x00000F00) != 0;
  const bool rightStart = (word & 0x00000078) != 0;
  const bool rightEnd = (word & 0x00007800) != 0;
  word |= EdgeByte(StartCodeOf(s.hiddenLeft, leftStart, 5, 6, 7), EndCodeOf(s.hiddenLeft, leftEnd, 5, 6, 7))
          << kEdgeLeftShift;
  word |= EdgeByte(StartCodeOf(s.hiddenRight, rightStart, 5, 6, 7), EndCodeOf(s.hiddenRight, rightEnd, 5, 6, 7))
          << kEdgeRightShift;
  return word;
}

int32_t EdgeCodeOffset(uint32_t code, int32_t length, int32_t distance) {
  const int32_t h = length >> 1;
  switch (code & 7) {
    case 0:
      return -distance;
    case 1:
      return distance;
    case 2:
    case 5:
      return h >> 1;
    case 3:
    case 6:
      return h;
    default:
      return h + (h >> 1);
  }
}

namespace {

// Each target's visible edges against the window's edges: outer snapping brings the facing edge
// (the window's bottom to a target's top), inner snapping the edge along it (top to top). The
// nearest distance wins per side.
int FindEdgeSnap(SnapDeltas* deltas, const Rect& v, const Rect* rects, const uint32_t* edges, int32_t count,
                 int32_t distance, bool inner) {
  for (int32_t i = 0; i < count; ++i) {
    const Rect& r = rects[i];
    const uint32_t e = edges[i];
    if (!Covered(e, kEdgeTopShift) && StretchOverlaps(e, kEdgeTopShift, r.left, r.right, v.left, v.right, distance)) {
      if (inner) {
        TakeNearer(&deltas->top, v.top - r.top);
      } else {
        TakeNearer(&deltas->bottom, r.top - v.bottom);
      }
    }
    if (!Covered(e, kEdgeBottomShift) &&
        StretchOverlaps(e, kEdgeBottomShift, r.left, r.right, v.left, v.right, distance)) {
      if (inner) {
        TakeNearer(&deltas->bottom, r.bottom - v.bottom);
      } else {
        TakeNearer(&deltas->top, v.top - r.bottom);
      }
    }
    if (!Covered(e, kEdgeLeftShift) && StretchOverlaps(e, kEdgeLeftShift, r.top, r.bottom, v.top, v.bottom, distance)) {
      if (inner) {
        TakeNearer(&deltas->left, v.left - r.left);
      } else {
        TakeNearer(&deltas->right, r.left - v.right);
      }
    }
    if (!Covered(e, kEdgeRightShift) &&
        StretchOverlaps(e, kEdgeRightShift, r.top, r.bottom, v.top, v.bottom, distance)) {
      if (inner) {
        TakeNearer(&deltas->right, r.right - v.right);
      } else {
        TakeNearer(&deltas->left, v.left - r.right);
      }
    }
  }
  return 1;
}

}  // namespace

int FindOuterSnap(SnapDeltas* deltas, const Rect& v, const Rect* rects, const uint32_t* edges, int32_t count,
                  int32_t distance) {
  return FindEdgeSnap(deltas, v, rects, edges, count, distance, false);
}

int FindInnerSnap(SnapDeltas* deltas, const Rect& v, const Rect* rects, const uint32_t* edges, int32_t count,
                  int32_t distance) {
  return FindEdgeSnap(deltas, v, rects, edges, count, distance, true);
}

int FindCornerSnap(SnapDeltas* deltas, const Rect& v, const Rect* rects, const uint32_t* edges, int32_t count,
                   int32_t) {
  for (int32_t i = 0; i < count; ++i) {
    const Rect& r = rects[i];
    const uint32_t e = edges[i];
    if (v.bottom == r.top && !Covered(e, kEdgeTopShift)) {
      if (StartCode(e, kEdgeTopShift) == 0) TakeNearer(&deltas->left, v.left - r.left);
      if (EndCode(e, kEdgeTopShift) == 0) TakeNearer(&deltas->right, r.right - v.right);
    }
    if (v.top == r.bottom && !Covered(e, kEdgeBottomShift)) {
      if (StartCode(e, kEdgeBottomShift) == 0) TakeNearer(&deltas->left, v.left - r.left);
      if (EndCode(e, kEdgeBottomShift) == 0) TakeNearer(&deltas->right, r.right - v.right);
    }
    if (v.right == r.left && !Covered(e, kEdgeLeftShift)) {
      if (StartCode(e, kEdgeLeftShift) == 0) TakeNearer(&deltas->top, v.top - r.top);
      if (EndCode(e, kEdgeLeftShift) == 0) TakeNearer(&deltas->bottom, r.bottom - v.bottom);
    }
    if (v.left == r.right && !Covered(e, kEdgeRightShift)) {
      if (StartCode(e, kEdgeRightShift) == 0) TakeNearer(&deltas->top, v.top - r.top);
      if (EndCode(e, kEdgeRightShift) == 0) TakeNearer(&deltas->bottom, r.bottom - v.bottom);
    }
  }
  return 1;
}

int ApplySnap(Rect* v, SnapDeltas* d, int32_t kind, int32_t distance, const MinMaxInfo& minmax) {
  if (kind == kSnapKindMove) {
    int horizontal = 0;
    if (InReach(d->left, distance) && Magnitude(d->left) < Magnitude(d->right)) {
      v->left -= d->left;
      v->right -= d->left;
      d->right += d->left;
      d->left = 0;
      horizontal = 1;
    } else if (InReach(d->right, distance)) {
      v->left += d->right;
      v->right += d->right;
      d->left += d->right;
      d->right = 0;
      horizontal = 1;
    }
    if (InReach(d->top, distance) && Magnitude(d->top) < Magnitude(d->bottom)) {
      v->top -= d->top;
      v->bottom -= d->top;
      d->bottom += d->top;
      d->top = 0;
      return 1;
    }
    if (InReach(d->bottom, distance)) {
      v->top += d->bottom;
      v->bottom += d->bottom;
      d->top += d->bottom;
      d->bottom = 0;
      return 1;
    }
    return horizontal;
  }

  int result = (d->left == 0 || d->top == 0 || d->right == 0 || d->bottom == 0) ? 1 : 0;
  if (MovesLeft(kind) && InReach(d->left, distance)) {
    v->left -= d->left;
    ClampExtent(&v->left, v->right, -1, minmax.minTrackSize.x, minmax.maxTrackSize.x);
    d->left = 0;
    result = 1;
  } else if (MovesRight(kind) && InReach(d->right, distance)) {
    v->right += d->right;
    ClampExtent(&v->right, v->left, +1, minmax.minTrackSize.x, minmax.maxTrackSize.x);
    d->right = 0;
    result = 1;
  }
  if (MovesTop(kind) && InReach(d->top, distance)) {
    v->top -= d->top;
    ClampExtent(&v->top, v->bottom, -1, minmax.minTrackSize.y, minmax.maxTrackSize.y);
    d->top = 0;
    return 1;
  }
  if (MovesBottom(kind) && InReach(d->bottom, distance)) {
    v->bottom += d->bottom;
    ClampExtent(&v->bottom, v->top, +1, minmax.minTrackSize.y, minmax.maxTrackSize.y);
    d->bottom = 0;
    return 1;
  }
  return result;
}

Rect SnapChildBound(const Rect& parentClient, const int32_t inset[4], uint32_t effWndFlag) {
  if ((effWndFlag & wnd_flag::kNoSnapRgnClient) == 0) return parentClient;
  return {parentClient.left - inset[0], parentClient.top - inset[1], parentClient.right - inset[2],
          parentClient.bottom - inset[3]};
}

bool SnapStep(MoveSizeState* ms, const SnapStepFacts& f, Rect* out) {
  Rect p = f.proposed;
  int32_t kind = 0;
  if (f.moving) {
    // Every WM_MOVING is a move: its wParam is documented as unused and not always 9.
    kind = kSnapKindMove;
    if (ms->SnapStarted != 0) {
      const Rect& base = ms->SnapBaseRect;
      if (p.Width() == base.Width() && p.Height() == base.Height()) {
        // Recomputed from the cursor, so earlier snaps do not drift and moving back releases at once.
        const int32_t left = f.cursor.x - ms->GrabOffset[0];
        const int32_t top = f.cursor.y - ms->GrabOffset[1];
        p = {left, top, left + base.Width(), top + base.Height()};
      } else {
        ms->GrabOffset[0] = f.cursor.x - p.left;
        ms->GrabOffset[1] = f.cursor.y - p.top;
        ms->SnapBaseRect = p;
      }
    } else {
      ms->GrabOffset[0] = f.grabCursor.x - p.left;
      ms->GrabOffset[1] = f.grabCursor.y - p.top;
      ms->SnapStarted = kind;
    }
  } else {
    // A WM_SIZING names one of the eight edges; anything else is not a step to snap.
    if (f.sizeEdge < 1 || f.sizeEdge > 8) return false;
    if (ms->SnapStarted == 0 && SameRect(p, ms->SnapBaseRect)) return false;
    ms->SnapStarted = f.sizeEdge;
    kind = f.sizeEdge;
  }

  const int32_t* inset = ms->RgnInset;
  const Rect k = f.bound;
  Rect v = {p.left - inset[0], p.top - inset[1], p.right - inset[2], p.bottom - inset[3]};
  const int32_t distance = ms->SnapPixels;
  const int32_t count = ms->SnapCount < 0 ? 0
                        : ms->SnapCount > static_cast<int32_t>(kMaxSnapTargets)
                            ? static_cast<int32_t>(kMaxSnapTargets)
                            : ms->SnapCount;

  SnapDeltas deltas = DeltasToBound(v, k);
  FindOuterSnap(&deltas, v, ms->SnapRects, ms->SnapEdges, count, distance);
  const int32_t w = distance / 2;
  if ((ms->EffWndFlag & wnd_flag::kSnapInner) != 0 && w != 0) {
    SnapDeltas inner = DeltasToBound(v, k);
    FindInnerSnap(&inner, v, ms->SnapRects, ms->SnapEdges, count, w);
    int32_t* sides[4] = {&deltas.left, &deltas.top, &deltas.right, &deltas.bottom};
    const int32_t innerSides[4] = {inner.left, inner.top, inner.right, inner.bottom};
    for (int i = 0; i < 4; ++i) {
      if (InReach(innerSides[i], w) && Magnitude(innerSides[i]) < Magnitude(*sides[i])) *sides[i] = innerSides[i];
    }
  }
  // v is the visible box: its limits are the window's tracking sizes less the insets.
  const MinMaxInfo minmax = VisibleMinMax(ms->MinMaxCopy, inset);
  if (ApplySnap(&v, &deltas, kind, distance, minmax) != 0) {
    FindCornerSnap(&deltas, v, ms->SnapRects, ms->SnapEdges, count, 1);
    ApplySnap(&v, &deltas, kind, distance, minmax);
  }
  if (Overlaps(v, k)) {
    *out = {v.left + inset[0], v.top + inset[1], v.right + inset[2], v.bottom + inset[3]};
  } else {
    *out = p;
  }
  return true;
}

}  // namespace qorv
