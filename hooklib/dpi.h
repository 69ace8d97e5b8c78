// Coordinates across DPI contexts, as plain code. A program that is not aware of a monitor's scale
// sees that monitor's pixels scaled about the monitor's top-left corner; the window manager's frame
// bounds are always in physical pixels. The glue (dpi_win.cpp) finds the scales.
#pragma once
#include <cstdint>

#include "common/geometry.h"

namespace qorv {

// v mapped from one scale to another: toOrigin + (v - fromOrigin) * toScale / fromScale, rounded to
// the nearest pixel (halves away from the origin). A scale is a DPI or a length in pixels; a
// fromScale of 0 maps by the origins alone.
int32_t MapCoordinate(int32_t v, int32_t fromOrigin, int32_t toOrigin, int32_t fromScale, int32_t toScale);

// A rectangle in physical pixels (a window's frame bounds) in the units of the program that sees
// the window's first and last pixel at programFirst and programLast where the system shows them at
// physicalFirst and physicalLast. Each side is mapped from the window's corner nearest to it.
Rect MapPhysicalRect(const Rect& r, Point physicalFirst, Point physicalLast, Point programFirst, Point programLast);

}  // namespace qorv
