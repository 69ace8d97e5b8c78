#include "hooklib/scroll.h"

#include <gtest/gtest.h>

#include "hooklib/wheel.h"

namespace qorv {
namespace {

TEST(ScrollSearch, RectangleWidensOnTheBarSide) {
  const Rect window = {100, 100, 300, 400};
  const Rect v = ScrollSearchRect(window, kDirVert, 17, 17);
  EXPECT_EQ(v.left, 283);
  EXPECT_EQ(v.right, 317);
  EXPECT_EQ(v.top, 100);
  const Rect h = ScrollSearchRect(window, kDirHorz, 17, 17);
  EXPECT_EQ(h.top, 366);
  EXPECT_EQ(h.bottom, 417);
  // A window narrower than the bar keeps its left edge.
  const Rect narrow = ScrollSearchRect({0, 0, 10, 10}, kDirVert, 17, 17);
  EXPECT_EQ(narrow.left, 0);
  EXPECT_EQ(narrow.right, 27);
}

TEST(ScrollSearch, OverlapIsHalfOpen) {
  EXPECT_TRUE(RectsOverlap({0, 0, 10, 10}, {9, 9, 20, 20}));
  EXPECT_FALSE(RectsOverlap({0, 0, 10, 10}, {10, 0, 20, 10}));
  EXPECT_FALSE(RectsOverlap({0, 0, 10, 10}, {0, 10, 10, 20}));
  EXPECT_TRUE(RectsOverlap({-20, -20, 0, 0}, {-1, -1, 5, 5}));  // negative monitor coordinates
}

TEST(ScrollSearch, BarWhoseSpanHoldsTheCursorWins) {
  const Rect upper = {300, 0, 317, 200};
  const Rect lower = {300, 200, 317, 400};
  EXPECT_TRUE(PreferCandidate(upper, lower, true, {305, 250}));
  EXPECT_FALSE(PreferCandidate(lower, upper, true, {305, 250}));
  EXPECT_FALSE(PreferCandidate(upper, lower, true, {305, 200}));  // the found one includes its bottom edge
  EXPECT_FALSE(PreferCandidate(upper, lower, true, {305, 500}));  // neither: keep the first
  EXPECT_TRUE(PreferCandidate({0, 300, 100, 317}, {100, 300, 200, 317}, false, {150, 305}));
}

TEST(RenameSelection, CyclesNameExtensionAll) {
  // "report.txt": dot at 6, 10 characters.
  Selection s = {0, 10};
  s = RenameSelection(0, 6, 10, s);
  EXPECT_EQ(s.start, 0);
  EXPECT_EQ(s.end, 6);
  s = RenameSelection(0, 6, 10, s);
  EXPECT_EQ(s.start, 7);
  EXPECT_EQ(s.end, 10);
  s = RenameSelection(0, 6, 10, s);
  EXPECT_EQ(s.start, 0);
  EXPECT_EQ(s.end, 10);
  s = RenameSelection(0, 6, 10, s);
  EXPECT_EQ(s.end, 6);
  // No full stop: every press selects all; modes 1 and 2 pick their part.
  EXPECT_EQ(RenameSelection(0, -1, 4, {0, 4}).end, 4);
  EXPECT_EQ(RenameSelection(1, 6, 10, {3, 3}).end, 6);
  EXPECT_EQ(RenameSelection(2, 6, 10, {3, 3}).start, 7);
  EXPECT_EQ(RenameSelection(7, 6, 10, {3, 3}).end, 10);
}

}  // namespace
}  // namespace qorv
