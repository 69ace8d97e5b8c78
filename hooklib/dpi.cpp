#include "hooklib/dpi.h"

namespace qorv {

int32_t MapCoordinate(int32_t v, int32_t fromOrigin, int32_t toOrigin, int32_t fromScale, int32_t toScale) {
  if (fromScale == 0) return toOrigin + (v - fromOrigin);
  const int64_t scaled = static_cast<int64_t>(v - fromOrigin) * toScale;
  int64_t quotient = scaled / fromScale;
  const int64_t remainder = scaled % fromScale;
  // Halves away from the origin: the remainder has the sign of scaled.
  if (2 * (remainder < 0 ? -remainder : remainder) >= (fromScale < 0 ? -fromScale : fromScale)) {
    quotient += (scaled < 0) != (fromScale < 0) ? -1 : 1;
  }
  return toOrigin + static_cast<int32_t>(quotient);
}

Rect MapPhysicalRect(const Rect& r, Point physicalFirst, Point physicalLast, Point programFirst, Point programLast) {
  const int32_t fromX = physicalLast.x - physicalFirst.x;
  const int32_t toX = programLast.x - programFirst.x;
  const int32_t fromY = physicalLast.y - physicalFirst.y;
  const int32_t toY = programLast.y - programFirst.y;
  // Each side from the window's pixel nearest to it, so that the few pixels of an inset keep their
  // share of the scale; right and bottom by their last pixel inside.
  return {MapCoordinate(r.left, physicalFirst.x, programFirst.x, fromX, toX),
          MapCoordinate(r.top, physicalFirst.y, programFirst.y, fromY, toY),
          MapCoordinate(r.right - 1, physicalLast.x, programLast.x, fromX, toX) + 1,
          MapCoordinate(r.bottom - 1, physicalLast.y, programLast.y, fromY, toY) + 1};
}

}  // namespace qorv
