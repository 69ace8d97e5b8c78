#include "hooklib/snap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "common/flags.h"

namespace qorv {

// Found by argument lookup from the assertions.
static bool operator==(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
static std::ostream& operator<<(std::ostream& os, const Rect& r) {
  return os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

namespace {

constexpr MinMaxInfo kNoLimits = {};
const Rect kWork = {0, 0, 1000, 800};

uint8_t Byte(uint32_t word, uint32_t shift) { return static_cast<uint8_t>(word >> shift); }

// ---- Edge words -------------------------------------------------------------------------------

struct HorizontalCase {
  uint8_t hidden;
  bool startCorner;
  bool endCorner;
  uint8_t expected;  // end << 4 | start
};

TEST(SnapEdgeWord, HorizontalCodesFromHiddenQuarters) {
  const HorizontalCase cases[] = {
      {0x0, false, false, 0x00},  // fully visible
      {0x0, true, true, 0x11},    // corners covered, first and last quarters partly visible
      {0xF, false, false, 0x08},  // wholly covered: start code 8, no end code
      {0x7, false, false, 0x04},  // last quarter only
      {0x3, false, false, 0x03},  // left half covered
      {0x3, true, false, 0x03},
      {0x1, false, false, 0x02},  // first quarter covered
      {0xE, false, false, 0x40},  // first quarter only
      {0xC, false, false, 0x30},  // right half covered
      {0x8, false, true, 0x20},   // last quarter covered
      {0x6, false, false, 0x00},  // covered in the middle only: both ends visible
      {0x5, false, false, 0x02},
  };
  for (const auto& c : cases) {
    EdgeSamples s = {};
    s.hiddenTop = c.hidden;
    s.topStartCovered = c.startCorner;
    s.topEndCovered = c.endCorner;
    s.hiddenBottom = c.hidden;
    s.bottomStartCovered = c.startCorner;
    s.bottomEndCovered = c.endCorner;
    const uint32_t word = EdgeWordFromSamples(s);
    EXPECT_EQ(Byte(word, kEdgeTopShift), c.expected) << "hidden " << int(c.hidden);
    EXPECT_EQ(Byte(word, kEdgeBottomShift), c.expected) << "hidden " << int(c.hidden);
  }
}

TEST(SnapEdgeWord, VerticalCodesUseTheirOwnQuarterCodesAndBorrowCorners) {
  EdgeSamples s = {};
  s.hiddenLeft = 0x7;
  s.hiddenRight = 0xE;
  uint32_t word = EdgeWordFromSamples(s);
  EXPECT_EQ(Byte(word, kEdgeLeftShift), 0x07);
  EXPECT_EQ(Byte(word, kEdgeRightShift), 0x70);
  s.hiddenLeft = 0x3;
  s.hiddenRight = 0x1;
  word = EdgeWordFromSamples(s);
  EXPECT_EQ(Byte(word, kEdgeLeftShift), 0x06);
  EXPECT_EQ(Byte(word, kEdgeRightShift), 0x05);

  // The left edge's upper corner counts as covered when the top edge's start code is not 0, its
  // lower one when the bottom edge's start code is not 0.
  s = {};
  s.topStartCovered = true;
  word = EdgeWordFromSamples(s);
  EXPECT_EQ(Byte(word, kEdgeLeftShift), 0x01);
  EXPECT_EQ(Byte(word, kEdgeRightShift), 0x00);
  s = {};
  s.hiddenBottom = 0x1;  // bottom start code 2
  word = EdgeWordFromSamples(s);
  EXPECT_EQ(Byte(word, kEdgeLeftShift), 0x10);
  // The right edge's corners follow the horizontal edges' end codes, and a wholly covered edge.
  s = {};
  s.topEndCovered = true;
  word = EdgeWordFromSamples(s);
  EXPECT_EQ(Byte(word, kEdgeRightShift), 0x01);
  s = {};
  s.hiddenBottom = 0xF;
  word = EdgeWordFromSamples(s);
  EXPECT_EQ(Byte(word, kEdgeRightShift), 0x10);
  EXPECT_EQ(Byte(word, kEdgeLeftShift), 0x10);
  // Every quarter of every edge hidden: the target is dropped.
  s = {0xF, 0xF, 0xF, 0xF, true, true, true, true};
  EXPECT_EQ(EdgeWordFromSamples(s) & kEdgeAllCovered, kEdgeAllCovered);
}

TEST(SnapEdgeWord, StripsAreOnePixelQuartersOfEachEdge) {
  const Rect box = {-100, 20, 100, 220};  // negative coordinates: arithmetic shifts
  Rect strips[16];
  EdgeStrips(box, strips);
  EXPECT_EQ(strips[0], (Rect{-100, 20, -50, 21}));
  EXPECT_EQ(strips[3], (Rect{50, 20, 100, 21}));
  EXPECT_EQ(strips[4], (Rect{-100, 219, -50, 220}));
  EXPECT_EQ(strips[9], (Rect{-100, 70, -99, 120}));
  EXPECT_EQ(strips[15], (Rect{99, 170, 100, 220}));
  Point corners[4];
  EdgeCorners(box, corners);
  EXPECT_EQ(corners[1].x, 99);
  EXPECT_EQ(corners[3].y, 219);
}

TEST(SnapEdgeWord, CodeOffsets) {
  // Length 200: h = 100.
  EXPECT_EQ(EdgeCodeOffset(0, 200, 10), -10);
  EXPECT_EQ(EdgeCodeOffset(1, 200, 10), 10);
  EXPECT_EQ(EdgeCodeOffset(2, 200, 10), 50);
  EXPECT_EQ(EdgeCodeOffset(6, 200, 10), 100);
  EXPECT_EQ(EdgeCodeOffset(7, 200, 10), 150);
  EXPECT_EQ(EdgeCodeOffset(4, 201, 10), 150);
}

// ---- Searching lines --------------------------------------------------------------------------

SnapDeltas Bound(const Rect& v, const Rect& k = kWork) {
  return {v.left - k.left, v.top - k.top, k.right - v.right, k.bottom - v.bottom};
}

TEST(SnapFind, OuterFindsFacingEdgesOnlyWhereTheyOverlap) {
  const Rect v = {100, 100, 300, 200};
  const Rect target = {305, 50, 500, 400};  // its left edge faces v's right edge
  const uint32_t edge = 0;
  SnapDeltas d = Bound(v);
  FindOuterSnap(&d, v, &target, &edge, 1, 10);
  EXPECT_EQ(d.right, 5);
  // Below v entirely: no vertical overlap, even within the d pixels past the corner.
  const Rect below = {305, 211, 500, 400};
  d = Bound(v);
  FindOuterSnap(&d, v, &below, &edge, 1, 10);
  EXPECT_EQ(d.right, 700);
  const Rect nearCorner = {305, 209, 500, 400};  // 9 pixels past the corner still counts
  d = Bound(v);
  FindOuterSnap(&d, v, &nearCorner, &edge, 1, 10);
  EXPECT_EQ(d.right, 5);
}

TEST(SnapFind, HalfCoveredTopEdgeSnapsOnlyNearItsVisibleHalf) {
  // Top edge covered on its left half: start code 3, end code 0.
  const Rect target = {400, 300, 800, 600};
  const uint32_t edge = 0x03;
  const Rect overLeftHalf = {420, 200, 580, 295};
  SnapDeltas d = Bound(overLeftHalf);
  FindOuterSnap(&d, overLeftHalf, &target, &edge, 1, 10);
  EXPECT_EQ(d.bottom, 505) << "the covered half is no line";
  const Rect overRightHalf = {420, 200, 620, 295};
  d = Bound(overRightHalf);
  FindOuterSnap(&d, overRightHalf, &target, &edge, 1, 10);
  EXPECT_EQ(d.bottom, 5);
  const Rect pastRightCorner = {805, 200, 900, 295};  // within d past the visible corner
  d = Bound(pastRightCorner);
  FindOuterSnap(&d, pastRightCorner, &target, &edge, 1, 10);
  EXPECT_EQ(d.bottom, 5);
  const Rect farPastCorner = {811, 200, 900, 295};
  d = Bound(farPastCorner);
  FindOuterSnap(&d, farPastCorner, &target, &edge, 1, 10);
  EXPECT_EQ(d.bottom, 505);
}

TEST(SnapFind, CoveredEdgesAreSkippedPerEdge) {
  const Rect v = {100, 100, 300, 200};
  const Rect target = {305, 50, 500, 400};
  const uint32_t leftCovered = kEdgeCoveredCode << kEdgeLeftShift;
  SnapDeltas d = Bound(v);
  FindOuterSnap(&d, v, &target, &leftCovered, 1, 10);
  EXPECT_EQ(d.right, 700);
}

TEST(SnapFind, InnerAlignsSameSideEdges) {
  const Rect target = {400, 100, 900, 600};
  const uint32_t edge = 0;
  const Rect v = {404, 200, 704, 400};
  SnapDeltas d = Bound(v);
  FindInnerSnap(&d, v, &target, &edge, 1, 5);
  EXPECT_EQ(d.left, 4);
  EXPECT_EQ(d.top, 100);
  EXPECT_EQ(d.right, 196);
  EXPECT_EQ(d.bottom, 200);
}

TEST(SnapFind, CornerLinesUpTheOtherAxisAfterATouch) {
  const Rect target = {300, 400, 600, 700};
  const uint32_t edge = 0;
  const Rect v = {303, 200, 500, 400};  // bottom touches the target's top
  SnapDeltas d = {50, 50, 50, 0};
  FindCornerSnap(&d, v, &target, &edge, 1, 1);
  EXPECT_EQ(d.left, 3);
  EXPECT_EQ(d.right, 50) << "100 is farther than 50";
  // The corner of a partly covered edge is no line.
  const uint32_t startCovered = 0x01;
  d = {50, 50, 50, 0};
  FindCornerSnap(&d, v, &target, &startCovered, 1, 1);
  EXPECT_EQ(d.left, 50);
}

// ---- Applying a snap --------------------------------------------------------------------------

TEST(SnapApply, MoveWithinReachOnlyAndTiesToRightAndBottom) {
  Rect v = {9, 100, 209, 200};
  SnapDeltas d = {9, 100, 500, 500};
  EXPECT_EQ(ApplySnap(&v, &d, kSnapKindMove, 10, kNoLimits), 1);
  EXPECT_EQ(v, (Rect{0, 100, 200, 200}));
  EXPECT_EQ(d.left, 0);
  EXPECT_EQ(d.right, 509);

  v = {10, 100, 210, 200};
  d = {10, 100, 500, 500};
  EXPECT_EQ(ApplySnap(&v, &d, kSnapKindMove, 10, kNoLimits), 0);
  EXPECT_EQ(v, (Rect{10, 100, 210, 200}));

  v = {100, 100, 200, 200};
  d = {5, 5, 5, -5};
  EXPECT_EQ(ApplySnap(&v, &d, kSnapKindMove, 10, kNoLimits), 1);
  EXPECT_EQ(v, (Rect{105, 95, 205, 195})) << "equal distances: right and bottom lines win";
}

struct SizeCase {
  int32_t kind;
  Rect expected;
};

TEST(SnapApply, EverySizingEdgeMovesOnlyItsOwnSides) {
  // Every line 4 pixels outside the rectangle.
  const SizeCase cases[] = {
      {1, {96, 100, 300, 300}}, {2, {100, 100, 304, 300}}, {3, {100, 96, 300, 300}},
      {4, {96, 96, 300, 300}},  {5, {100, 96, 304, 300}},  {6, {100, 100, 300, 304}},
      {7, {96, 100, 300, 304}}, {8, {100, 100, 304, 304}},
  };
  for (const auto& c : cases) {
    Rect v = {100, 100, 300, 300};
    SnapDeltas d = {4, 4, 4, 4};
    EXPECT_EQ(ApplySnap(&v, &d, c.kind, 10, kNoLimits), 1) << c.kind;
    EXPECT_EQ(v, c.expected) << "kind " << c.kind;
  }
}

TEST(SnapApply, SizingKeepsTrackingSizes) {
  MinMaxInfo mm = {};
  mm.minTrackSize = {200, 150};
  mm.maxTrackSize = {300, 250};
  // Left border pulled inwards onto a line 8 pixels inside: width 196 < 200 stays 200.
  Rect v = {100, 100, 304, 300};
  SnapDeltas d = {-8, 100, 100, 100};
  EXPECT_EQ(ApplySnap(&v, &d, 1, 10, mm), 1);
  EXPECT_EQ(v.left, 104);
  EXPECT_EQ(v.right, 304);
  // Right border pushed outwards past the maximum width.
  v = {100, 100, 396, 300};
  d = {100, 100, 8, 100};
  ApplySnap(&v, &d, 8, 10, mm);
  EXPECT_EQ(v.right, 400);  // width 300 at most
  // Top and bottom likewise.
  v = {100, 100, 300, 254};
  d = {100, -8, 100, 100};
  ApplySnap(&v, &d, 3, 10, mm);
  EXPECT_EQ(v.top, 104);
  v = {100, 100, 300, 346};
  d = {100, 100, 100, 8};
  ApplySnap(&v, &d, 6, 10, mm);
  EXPECT_EQ(v.bottom, 350);
}

TEST(SnapApply, SizeReportsAZeroDeltaAsSnapped) {
  Rect v = {100, 100, 300, 300};
  SnapDeltas d = {0, 100, 100, 100};
  EXPECT_EQ(ApplySnap(&v, &d, 2, 10, kNoLimits), 1);
  EXPECT_EQ(v, (Rect{100, 100, 300, 300}));
  d = {50, 100, 100, 100};
  EXPECT_EQ(ApplySnap(&v, &d, 2, 10, kNoLimits), 0);
}

// ---- One step of the loop ---------------------------------------------------------------------

MoveSizeState Loop(const Rect& start, int32_t pixels = 10) {
  MoveSizeState ms = {};
  ms.SnapPixels = pixels;
  ms.SnapBaseRect = start;
  return ms;
}

SnapStepFacts Move(const Rect& proposed, Point cursor, int32_t wp = 9) {
  SnapStepFacts f = {};
  f.moving = true;
  f.sizeEdge = wp;
  f.proposed = proposed;
  f.cursor = cursor;
  f.grabCursor = cursor;
  f.bound = kWork;
  return f;
}

TEST(SnapStepTest, MoveSnapsWhateverWParamAndReleasesWhenTheCursorMovesBack) {
  for (int32_t wp : {9, 0, 1, 12345}) {
    MoveSizeState ms = Loop({100, 100, 300, 200});
    Rect out = {};
    // Grab at (150, 110): offset (50, 10).
    ASSERT_TRUE(SnapStep(&ms, Move({80, 100, 280, 200}, {130, 110}, wp), &out));
    EXPECT_EQ(ms.SnapStarted, kSnapKindMove);
    EXPECT_EQ(out, (Rect{80, 100, 280, 200}));
    // 6 pixels from the work area's left edge: snaps.
    ASSERT_TRUE(SnapStep(&ms, Move({6, 100, 206, 200}, {56, 110}, wp), &out));
    EXPECT_EQ(out, (Rect{0, 100, 200, 200})) << "wParam " << wp;
    // The system proposes from the snapped position; the cursor says 30 pixels: released at once.
    ASSERT_TRUE(SnapStep(&ms, Move({24, 100, 224, 200}, {80, 110}, wp), &out));
    EXPECT_EQ(out, (Rect{30, 100, 230, 200}));
  }
}

TEST(SnapStepTest, MoveReBasesWhenTheSizeChanges) {
  MoveSizeState ms = Loop({100, 100, 300, 200});
  Rect out;
  ASSERT_TRUE(SnapStep(&ms, Move({100, 100, 300, 200}, {150, 110}), &out));
  // The window changed its size during the move (say it restored from maximised).
  ASSERT_TRUE(SnapStep(&ms, Move({200, 100, 350, 180}, {260, 105}), &out));
  EXPECT_EQ(out, (Rect{200, 100, 350, 180}));
  EXPECT_EQ(ms.GrabOffset[0], 60);
  EXPECT_EQ(ms.GrabOffset[1], 5);
  EXPECT_EQ(ms.SnapBaseRect, (Rect{200, 100, 350, 180}));
  ASSERT_TRUE(SnapStep(&ms, Move({0, 0, 150, 80}, {300, 305}), &out));
  EXPECT_EQ(out, (Rect{240, 300, 390, 380}));
}

TEST(SnapStepTest, SizingStartsOnlyWithARealChangeAndNeedsAnEdge) {
  MoveSizeState ms = Loop({100, 100, 300, 200});
  SnapStepFacts f = {};
  f.sizeEdge = 8;
  f.proposed = {100, 100, 300, 200};
  f.bound = kWork;
  Rect out = {};
  EXPECT_FALSE(SnapStep(&ms, f, &out));
  EXPECT_EQ(ms.SnapStarted, 0);
  f.proposed = {100, 100, 994, 200};
  ASSERT_TRUE(SnapStep(&ms, f, &out));
  EXPECT_EQ(ms.SnapStarted, 8);
  EXPECT_EQ(out, (Rect{100, 100, 1000, 200}));
  f.sizeEdge = 0;
  EXPECT_FALSE(SnapStep(&ms, f, &out));
  f.sizeEdge = 9;
  EXPECT_FALSE(SnapStep(&ms, f, &out)) << "a WM_SIZING is never a move";
}

TEST(SnapStepTest, InnerSnapUsesHalfTheDistance) {
  const Rect target = {400, 100, 900, 600};
  for (int32_t gap : {4, 5}) {
    MoveSizeState ms = Loop({0, 0, 300, 200});
    ms.EffWndFlag = wnd_flag::kSnapInner;
    ms.SnapRects[0] = target;
    ms.SnapCount = 1;
    ms.SnapStarted = kSnapKindMove;
    ms.GrabOffset[0] = 10;
    ms.GrabOffset[1] = 10;
    const int32_t left = 400 + gap;
    Rect out;
    ASSERT_TRUE(SnapStep(&ms, Move({left, 200, left + 300, 400}, {left + 10, 210}), &out));
    EXPECT_EQ(out.left, gap == 4 ? 400 : 405);
  }
}

TEST(SnapStepTest, RegionInsetsSnapTheVisibleBoxAndAChildBoundCanUndoThem) {
  MoveSizeState ms = Loop({0, 0, 300, 200});
  ms.RgnInset[0] = -5;  // the region box starts 5 pixels inside the window rectangle
  ms.RgnInset[1] = -5;
  ms.RgnInset[2] = 5;
  ms.RgnInset[3] = 5;
  ms.SnapStarted = kSnapKindMove;
  ms.GrabOffset[0] = 10;
  ms.GrabOffset[1] = 10;
  Rect out;
  ASSERT_TRUE(SnapStep(&ms, Move({-2, 50, 298, 250}, {8, 60}), &out));
  EXPECT_EQ(out.left, -5) << "the box, not the window rectangle, meets the edge";
  const Rect parent = {0, 0, 500, 400};
  EXPECT_EQ(SnapChildBound(parent, ms.RgnInset, 0), parent);
  EXPECT_EQ(SnapChildBound(parent, ms.RgnInset, wnd_flag::kNoSnapRgnClient), (Rect{5, 5, 495, 395}));
}

TEST(SnapStepTest, ARectangleThatLeftTheBoundIsWrittenUnsnapped) {
  MoveSizeState ms = Loop({0, 0, 100, 100});
  ms.SnapStarted = kSnapKindMove;
  // Entirely right of the work area, 5 pixels from a target's left edge outside it.
  ms.SnapRects[0] = {1200, 0, 1400, 400};
  ms.SnapCount = 1;
  Rect out;
  ASSERT_TRUE(SnapStep(&ms, Move({1095, 10, 1195, 110}, {1095, 10}), &out));
  EXPECT_EQ(out, (Rect{1095, 10, 1195, 110}));
}

// ---- Properties over generated layouts --------------------------------------------------------

struct Layout {
  Rect bound;
  std::vector<Rect> rects;
  std::vector<uint32_t> edges;
  Rect v;
  int32_t distance;
};

Layout Generate(std::mt19937& rng, bool covered) {
  std::uniform_int_distribution<int32_t> coord(-300, 1300);
  std::uniform_int_distribution<int32_t> size(1, 400);
  std::uniform_int_distribution<int32_t> count(0, 32);
  std::uniform_int_distribution<int32_t> dist(1, 50);
  std::uniform_int_distribution<uint32_t> code(0, 8);
  Layout l;
  l.bound = {0, 0, 1024, 768};
  l.distance = dist(rng);
  const int32_t n = count(rng);
  for (int32_t i = 0; i < n; ++i) {
    const int32_t x = coord(rng);
    const int32_t y = coord(rng);
    l.rects.push_back({x, y, x + size(rng), y + size(rng)});
    uint32_t word = 0;
    for (uint32_t shift : {0u, 8u, 16u, 24u}) {
      const uint32_t start = code(rng);
      const uint32_t end = start == 8 ? 0 : code(rng) & 7;
      word |= (start | end << 4) << shift;
    }
    l.edges.push_back(covered ? kEdgeAllCovered : word);
  }
  const int32_t x = coord(rng) % 900;
  const int32_t y = coord(rng) % 700;
  l.v = {x, y, x + size(rng), y + size(rng)};
  return l;
}

// Brute force: every candidate line of a side in search order, the first of the smallest distance.
int32_t NearestOuter(const Layout& l, int side) {
  const Rect& v = l.v;
  std::vector<int32_t> candidates;
  const SnapDeltas b = Bound(v, l.bound);
  candidates.push_back(side == 0 ? b.left : side == 1 ? b.top : side == 2 ? b.right : b.bottom);
  for (size_t i = 0; i < l.rects.size(); ++i) {
    const Rect& r = l.rects[i];
    const uint32_t e = l.edges[i];
    auto visible = [&](uint32_t shift, int32_t from, int32_t to, int32_t lo, int32_t hi) {
      if (e & (8u << shift)) return false;
      const int32_t len = to - from;
      return from + EdgeCodeOffset((e >> shift) & 0xF, len, l.distance) < hi &&
             lo < to - EdgeCodeOffset((e >> (shift + 4)) & 0xF, len, l.distance);
    };
    if (side == 0 && visible(24, r.top, r.bottom, v.top, v.bottom)) candidates.push_back(v.left - r.right);
    if (side == 1 && visible(8, r.left, r.right, v.left, v.right)) candidates.push_back(v.top - r.bottom);
    if (side == 2 && visible(16, r.top, r.bottom, v.top, v.bottom)) candidates.push_back(r.left - v.right);
    if (side == 3 && visible(0, r.left, r.right, v.left, v.right)) candidates.push_back(r.top - v.bottom);
  }
  int32_t best = candidates[0];
  for (int32_t c : candidates) {
    if (std::abs(c) < std::abs(best)) best = c;
  }
  return best;
}

TEST(SnapProperties, OuterSearchTakesTheFirstNearestLineBoundFirst) {
  std::mt19937 rng(1234);
  for (int round = 0; round < 3000; ++round) {
    const Layout l = Generate(rng, false);
    SnapDeltas d = Bound(l.v, l.bound);
    FindOuterSnap(&d, l.v, l.rects.data(), l.edges.data(), static_cast<int32_t>(l.rects.size()), l.distance);
    const int32_t got[4] = {d.left, d.top, d.right, d.bottom};
    for (int side = 0; side < 4; ++side) {
      ASSERT_EQ(got[side], NearestOuter(l, side)) << "round " << round;
    }
  }
}

TEST(SnapProperties, TiesGoToTheBoundThenToTheHigherWindow) {
  std::mt19937 rng(99);
  std::uniform_int_distribution<int32_t> gap(1, 9);
  for (int round = 0; round < 500; ++round) {
    const int32_t g = gap(rng);
    const Rect v = {300, 300, 500, 400};
    const Rect bound = {300 - g, 0, 1024, 768};  // bound line g pixels left of v
    // Two windows whose right edges lie g pixels inside v's left edge: same distance, other sign.
    const Rect rects[2] = {{100, 250, 300 + g, 450}, {150, 250, 300 + g, 450}};
    const uint32_t edges[2] = {0, 0};
    SnapDeltas d = Bound(v, bound);
    FindOuterSnap(&d, v, rects, edges, 2, 10);
    ASSERT_EQ(d.left, g);
    const Rect lower[2] = {{100, 250, 300 + g, 450}, {150, 250, 300 - g, 450}};
    d = {1000, 1000, 1000, 1000};
    FindOuterSnap(&d, v, lower, edges, 2, 10);
    ASSERT_EQ(d.left, -g) << "the higher window wins";
  }
}

TEST(SnapProperties, MovesShiftByLessThanTheDistanceAndKeepTheSize) {
  std::mt19937 rng(42);
  for (int round = 0; round < 3000; ++round) {
    const Layout l = Generate(rng, false);
    MoveSizeState ms = Loop(l.v, l.distance);
    ms.SnapCount = static_cast<int32_t>(l.rects.size());
    for (size_t i = 0; i < l.rects.size(); ++i) {
      ms.SnapRects[i] = l.rects[i];
      ms.SnapEdges[i] = l.edges[i];
    }
    ms.EffWndFlag = (round & 1) ? wnd_flag::kSnapInner : 0;
    Rect out;
    ASSERT_TRUE(SnapStep(&ms, Move(l.v, {l.v.left, l.v.top}), &out));
    ASSERT_LT(std::abs(out.left - l.v.left), l.distance) << "round " << round;
    ASSERT_LT(std::abs(out.top - l.v.top), l.distance) << "round " << round;
    ASSERT_EQ(out.Width(), l.v.Width());
    ASSERT_EQ(out.Height(), l.v.Height());
  }
}

TEST(SnapProperties, SizingNeverEndsBelowTheMinimumOrMovesAFixedEdge) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int32_t> kindOf(1, 8);
  std::uniform_int_distribution<int32_t> track(0, 300);
  for (int round = 0; round < 3000; ++round) {
    const Layout l = Generate(rng, false);
    MoveSizeState ms = Loop({-5000, -5000, -4000, -4000}, l.distance);
    ms.SnapCount = static_cast<int32_t>(l.rects.size());
    for (size_t i = 0; i < l.rects.size(); ++i) {
      ms.SnapRects[i] = l.rects[i];
      ms.SnapEdges[i] = l.edges[i];
    }
    ms.MinMaxCopy.minTrackSize = {track(rng), track(rng)};
    const int32_t kind = kindOf(rng);
    SnapStepFacts f = {};
    f.sizeEdge = kind;
    f.proposed = l.v;
    f.bound = l.bound;
    Rect out;
    ASSERT_TRUE(SnapStep(&ms, f, &out));
    const int32_t minW = ms.MinMaxCopy.minTrackSize.x;
    const int32_t minH = ms.MinMaxCopy.minTrackSize.y;
    if (l.v.Width() >= minW) {
      ASSERT_GE(out.Width(), minW) << "round " << round << " kind " << kind;
    }
    if (l.v.Height() >= minH) {
      ASSERT_GE(out.Height(), minH) << "round " << round << " kind " << kind;
    }
    const bool left = kind == 1 || kind == 4 || kind == 7;
    const bool right = kind == 2 || kind == 5 || kind == 8;
    const bool top = kind >= 3 && kind <= 5;
    const bool bottom = kind >= 6;
    ASSERT_TRUE(left || out.left == l.v.left);
    ASSERT_TRUE(right || out.right == l.v.right);
    ASSERT_TRUE(top || out.top == l.v.top);
    ASSERT_TRUE(bottom || out.bottom == l.v.bottom);
  }
}

TEST(SnapProperties, WithEveryTargetCoveredOnlyTheBoundSnaps) {
  std::mt19937 rng(5);
  for (int round = 0; round < 2000; ++round) {
    const Layout l = Generate(rng, true);
    MoveSizeState with = Loop(l.v, l.distance);
    with.SnapCount = static_cast<int32_t>(l.rects.size());
    for (size_t i = 0; i < l.rects.size(); ++i) {
      with.SnapRects[i] = l.rects[i];
      with.SnapEdges[i] = l.edges[i];
    }
    with.EffWndFlag = wnd_flag::kSnapInner;
    MoveSizeState without = Loop(l.v, l.distance);
    without.EffWndFlag = wnd_flag::kSnapInner;
    Rect a;
    Rect b;
    ASSERT_TRUE(SnapStep(&with, Move(l.v, {l.v.left, l.v.top}), &a));
    ASSERT_TRUE(SnapStep(&without, Move(l.v, {l.v.left, l.v.top}), &b));
    ASSERT_EQ(a, b) << "round " << round;
  }
}

}  // namespace
}  // namespace qorv
