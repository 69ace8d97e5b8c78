// Plain geometry types laid out like the Win32 RECT, POINT and MINMAXINFO, for code that does not
// include <windows.h>.
#pragma once
#include <cstdint>

namespace qorv {

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
