// Sizes of the diagnostics window "Qorv 診断" on a monitor of a given DPI: designed at 96 DPI and
// scaled, as Windows scales everything else, when the window opens and when it moves to a monitor
// of another scale. Plain code.
#pragma once

namespace qorv {

constexpr int kDesignDpi = 96;

// value (in pixels at 96 DPI) at dpi, rounded to the nearest pixel, halves away from zero; a DPI
// that is not positive counts as 96.
int ScaleToDpi(int value, int dpi);

struct DiagSize {
  int width;
  int height;
};
// The window's outer size when it opens.
DiagSize DiagWindowSize(int dpi);

// A font height (LOGFONT lfHeight, negative for the character height) measured at fromDpi, for
// dpi; never 0, which would ask for the default size.
int FontHeightAt(int height, int fromDpi, int dpi);

}  // namespace qorv
