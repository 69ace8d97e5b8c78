// Coordinates across DPI contexts: points of a scaled monitor, and the window manager's frame bounds
// (physical pixels) in the units of a program that sees the monitor scaled.
#include "hooklib/dpi.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "hooklib/frame_bounds.h"

namespace qorv {
namespace {

bool Same(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
std::string Text(const Rect& r) {
  return "{" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + "}";
}

// A point of a monitor scaled about its top-left corner, from one DPI to another and back.
TEST(DpiTest, PointsOfAScaledMonitor) {
  struct Case {
    int32_t v, origin, fromDpi, toDpi, expected;
  };
  const Case cases[] = {
      {100, 0, 96, 144, 150},          // 150 %, primary monitor
      {150, 0, 144, 96, 100},          // and back
      {2020, 1920, 96, 144, 2070},     // a monitor to the right
      {2070, 1920, 144, 96, 2020},     // and back
      {-100, -1280, 96, 120, 195},     // 125 %, a monitor to the left
      {-1280, -1280, 96, 192, -1280},  // the corner itself stays
      {1, 0, 144, 96, 1},              // two thirds round away from the origin
      {-1, 0, 144, 96, -1},            // on both sides
      {3, 0, 96, 144, 5},              // halves too
      {-3, 0, 96, 144, -5},            // on both sides
      {500, 0, 96, 96, 500},           // unscaled
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MapCoordinate(c.v, c.origin, c.origin, c.fromDpi, c.toDpi), c.expected)
        << c.v << " about " << c.origin << " from " << c.fromDpi << " to " << c.toDpi;
  }
  EXPECT_EQ(MapCoordinate(7, 2, 10, 0, 5), 15) << "no scale: the origins alone";
  // Round trips over a whole monitor stay within a pixel.
  for (int32_t dpi : {120, 144, 168, 192}) {
    for (int32_t v = 1920; v < 1920 + 2560; v += 37) {
      const int32_t there = MapCoordinate(v, 1920, 1920, 96, dpi);
      EXPECT_LE(std::abs(MapCoordinate(there, 1920, 1920, dpi, 96) - v), 1) << v << " at " << dpi;
    }
  }
}

// A program not aware of the scale sees a window at 150 % on a monitor whose top-left corner is
// (1920, 0) scaled down; the window manager reports its frame (invisible borders of 11 physical
// pixels left, right and bottom) in physical pixels. Mapped by the window's first and last pixel,
// the frame has the borders of 7 pixels that the program's own units give, and the visible box
// takes it; unmapped it is implausible and the box would be the whole rectangle (gaps when snapping).
TEST(DpiTest, VisibleBoxOfAScaledFrame) {
  struct Case {
    const char* what;
    int32_t dpi;
    Rect program;   // the window's rectangle as the program sees it
    Rect expected;  // its visible box
  };
  const Case cases[] = {
      {"150 %", 144, {2020, 100, 2420, 400}, {2027, 100, 2413, 393}},
      {"125 %", 120, {2020, 100, 2420, 400}, {2027, 100, 2413, 393}},
      {"200 %", 192, {2020, 100, 2420, 400}, {2027, 100, 2413, 393}},
      {"100 %", 96, {2020, 100, 2420, 400}, {2027, 100, 2413, 393}},
  };
  const Point origin = {1920, 0};
  const auto physical = [&](int32_t v, int32_t o, int32_t dpi) { return MapCoordinate(v, o, o, 96, dpi); };
  for (const Case& c : cases) {
    const Rect& p = c.program;
    // The system's picture: the rectangle scaled about the monitor's corner, borders of 7 * scale.
    const Rect window = {physical(p.left, origin.x, c.dpi), physical(p.top, origin.y, c.dpi),
                         physical(p.right, origin.x, c.dpi), physical(p.bottom, origin.y, c.dpi)};
    const int32_t border = MapCoordinate(7, 0, 0, 96, c.dpi);
    const Rect frame = {window.left + border, window.top, window.right - border, window.bottom - border};
    const Point physicalFirst = {physical(p.left, origin.x, c.dpi), physical(p.top, origin.y, c.dpi)};
    const Point physicalLast = {physical(p.right - 1, origin.x, c.dpi), physical(p.bottom - 1, origin.y, c.dpi)};
    const Rect mapped =
        MapPhysicalRect(frame, physicalFirst, physicalLast, {p.left, p.top}, {p.right - 1, p.bottom - 1});
    const Rect box = VisibleBox(p, nullptr, &mapped);
    EXPECT_TRUE(Same(box, c.expected)) << c.what << ": " << Text(box) << " from " << Text(mapped);
    if (c.dpi != 96) {
      EXPECT_TRUE(Same(VisibleBox(p, nullptr, &frame), p)) << c.what << ": an unmapped frame is not this window's";
    }
  }
}

// Where the program sees physical pixels (an aware program, or a monitor at 100 %), the mapping
// changes nothing, wherever the window lies.
TEST(DpiTest, UnscaledFramesStayAsTheyAre) {
  std::mt19937 random(23);
  std::uniform_int_distribution<int32_t> coordinate(-4000, 4000);
  std::uniform_int_distribution<int32_t> size(1, 3000);
  for (int i = 0; i < 2000; ++i) {
    const Point first = {coordinate(random), coordinate(random)};
    const Point last = {first.x + size(random) - 1, first.y + size(random) - 1};
    const Rect frame = {first.x + 7, first.y, last.x + 1 - 7, last.y + 1 - 7};
    const Rect mapped = MapPhysicalRect(frame, first, last, first, last);
    ASSERT_TRUE(Same(mapped, frame)) << Text(frame) << " became " << Text(mapped);
  }
}

}  // namespace
}  // namespace qorv
