// Visible frames: which box a window is snapped by, and snapping steps of a window whose rectangle
// has invisible borders.
#include "hooklib/frame_bounds.h"

#include <gtest/gtest.h>

#include "hooklib/snap.h"

namespace qorv {

inline bool operator==(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& os, const Rect& r) {
  return os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

namespace {

const Rect kWindow = {100, 100, 500, 400};
// The borders of Windows 10 and 11: none at the top, seven pixels on the other sides.
const Rect kFrame = {107, 100, 493, 393};

TEST(FrameBoundsTest, VisibleBoxPerCase) {
  const Rect region = {110, 100, 500, 400};  // a region starting 10 pixels in
  const Rect apart = {600, 100, 700, 400};
  struct Case {
    const char* what;
    const Rect* region;
    Rect frame;
    bool withFrame;
    Rect box;
  } cases[] = {
      {"neither", nullptr, {}, false, kWindow},
      {"invisible borders", nullptr, kFrame, true, kFrame},
      {"bounds equal to the rectangle", nullptr, kWindow, true, kWindow},
      {"bounds larger than the rectangle (other display scale)", nullptr, {80, 80, 600, 480}, true, kWindow},
      {"bounds partly outside", nullptr, {99, 100, 493, 393}, true, kWindow},
      {"insets beyond any border", nullptr, {100, 100, 460, 400}, true, kWindow},
      {"the largest border", nullptr, {132, 100, 468, 368}, true, {132, 100, 468, 368}},
      {"empty bounds", nullptr, {200, 200, 200, 300}, true, kWindow},
      {"region box and frame: both cut", &region, kFrame, true, {110, 100, 493, 393}},
      {"region box alone", &region, {}, false, region},
      {"region box apart from the window", &apart, kFrame, true, kFrame},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VisibleBox(kWindow, c.region, c.withFrame ? &c.frame : nullptr), c.box) << c.what;
  }
}

TEST(FrameBoundsTest, InsetsAndTrackingSizes) {
  int32_t inset[4];
  BoxInsets(kWindow, kFrame, inset);
  EXPECT_EQ(inset[0], -7);
  EXPECT_EQ(inset[1], 0);
  EXPECT_EQ(inset[2], 7);
  EXPECT_EQ(inset[3], 7);
  MinMaxInfo mm = {};
  mm.minTrackSize = {300, 0};
  mm.maxTrackSize = {600, 500};
  const MinMaxInfo v = VisibleMinMax(mm, inset);
  EXPECT_EQ(v.minTrackSize.x, 286);
  EXPECT_EQ(v.minTrackSize.y, 0) << "no limit stays no limit";
  EXPECT_EQ(v.maxTrackSize.x, 586);
  EXPECT_EQ(v.maxTrackSize.y, 493);
}

MoveSizeState LoopWithBorders(const Rect& start) {
  MoveSizeState ms = {};
  ms.SnapPixels = 10;
  ms.SnapBaseRect = start;
  BoxInsets(start, {start.left + 7, start.top, start.right - 7, start.bottom - 7}, ms.RgnInset);
  return ms;
}

SnapStepFacts Step(bool moving, int32_t edge, const Rect& proposed, Point cursor) {
  SnapStepFacts f = {};
  f.moving = moving;
  f.sizeEdge = edge;
  f.proposed = proposed;
  f.cursor = cursor;
  f.grabCursor = cursor;
  f.bound = {0, 0, 1000, 800};
  return f;
}

// Visible edges meet the work area and the visible edges of targets, with and without borders.
TEST(FrameBoundsTest, MovingWindowWithBordersMeetsByItsVisibleEdges) {
  struct Case {
    const char* what;
    Rect target;  // stored target box; empty = none
    Rect proposed;
    Rect out;
  } cases[] = {
      {"work area left", {}, {-3, 100, 397, 400}, {-7, 100, 393, 400}},
      {"work area bottom", {}, {300, 405, 700, 805}, {300, 407, 700, 807}},
      {"target with borders: its visible left", {607, 100, 893, 393}, {212, 100, 612, 400}, {214, 100, 614, 400}},
      {"target without borders", {600, 100, 900, 400}, {203, 100, 603, 400}, {207, 100, 607, 400}},
  };
  for (const Case& c : cases) {
    MoveSizeState ms = LoopWithBorders({200, 100, 600, 400});
    if (c.target.right > c.target.left) {
      ms.SnapRects[0] = c.target;
      ms.SnapCount = 1;
    }
    Rect out = {};
    const Point grab = {c.proposed.left + 50, c.proposed.top + 10};
    ASSERT_TRUE(SnapStep(&ms, Step(true, 9, c.proposed, grab), &out)) << c.what;
    EXPECT_EQ(out, c.out) << c.what;
  }
}

TEST(FrameBoundsTest, SizingIntoALineKeepsTheWindowsTrackingSizes) {
  MoveSizeState ms = LoopWithBorders({200, 100, 600, 400});
  ms.MinMaxCopy.minTrackSize = {300, 100};
  ms.MinMaxCopy.maxTrackSize = {420, 600};
  ms.SnapRects[0] = {616, 0, 1000, 800};  // a line 3 pixels beyond the maximum width
  ms.SnapCount = 1;
  Rect out = {};
  ASSERT_TRUE(SnapStep(&ms, Step(false, 2, {200, 100, 619, 400}, {619, 200}), &out));
  EXPECT_EQ(out.right - out.left, 420) << "the window, not its visible box, is at most 420 wide";
  ms = LoopWithBorders({200, 100, 600, 400});
  ms.MinMaxCopy.minTrackSize = {300, 100};
  ms.SnapRects[0] = {0, 0, 310, 800};  // a line that would leave the window 297 wide
  ms.SnapCount = 1;
  ASSERT_TRUE(SnapStep(&ms, Step(false, 1, {297, 100, 600, 400}, {297, 200}), &out));
  EXPECT_EQ(out.right - out.left, 300);
}

}  // namespace
}  // namespace qorv
