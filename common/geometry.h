// Plain geometry types laid out like the Win32 RECT, POINT and MINMAXINFO, for code that does not
// include <windows.h>.
#pragma once
#include <cstdint>

namespace qorv {

// Packs a point as the low and high word of an lParam, as window messages carry it.
constexpr uint32_t PackPoint(int32_t x, int32_t y) {
  return (static_cast<uint32_t>(y) << 16) | (static_cast<uint32_t>(x) & 0xFFFFu);
}

struct Point {
  int32_t x;
  int32_t y;
};

// Half-open like RECT: right and bottom lie just outside.
struct Rect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;

  constexpr int32_t Width() const { return right - left; }
  constexpr int32_t Height() const { return bottom - top; }
};

struct MinMaxInfo {
  Point reserved;
  Point maxSize;
  Point maxPosition;
  Point minTrackSize;
  Point maxTrackSize;
};

static_assert(sizeof(Rect) == 16, "Rect is laid out like RECT");
static_assert(sizeof(MinMaxInfo) == 40, "MinMaxInfo is laid out like MINMAXINFO");

}  // namespace qorv
