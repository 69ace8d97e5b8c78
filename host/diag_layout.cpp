#include "host/diag_layout.h"

#include <cstdint>

namespace qorv {

namespace {

int ScaleBetween(int value, int fromDpi, int toDpi) {
  if (fromDpi <= 0) fromDpi = kDesignDpi;
  if (toDpi <= 0) toDpi = kDesignDpi;
  const int64_t product = static_cast<int64_t>(value) * toDpi;
  const int64_t half = fromDpi / 2;
  return static_cast<int>(product >= 0 ? (product + half) / fromDpi : -((-product + half) / fromDpi));
}

}  // namespace

int ScaleToDpi(int value, int dpi) { return ScaleBetween(value, kDesignDpi, dpi); }

DiagSize DiagWindowSize(int dpi) { return {ScaleToDpi(480, dpi), ScaleToDpi(300, dpi)}; }

int FontHeightAt(int height, int fromDpi, int dpi) {
  const int scaled = ScaleBetween(height, fromDpi, dpi);
  if (scaled != 0) return scaled;
  return height < 0 ? -1 : 1;
}

}  // namespace qorv
