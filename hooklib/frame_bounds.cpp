#include "hooklib/frame_bounds.h"

namespace qorv {

namespace {

bool Intersect(const Rect& a, const Rect& b, Rect* out) {
  const Rect r = {a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
                  a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
  if (r.left >= r.right || r.top >= r.bottom) return false;
  *out = r;
  return true;
}

int32_t Shrunk(int32_t size, int32_t by) {
  if (size <= 0) return size;
  const int32_t result = size - by;
  return result > 1 ? result : 1;
}

}  // namespace

bool PlausibleFrame(const Rect& window, const Rect& frame) {
  if (frame.left >= frame.right || frame.top >= frame.bottom) return false;
  const int32_t insets[4] = {frame.left - window.left, frame.top - window.top, window.right - frame.right,
                             window.bottom - frame.bottom};
  for (int32_t inset : insets) {
    if (inset < 0 || inset > kMaxFrameInset) return false;
  }
  return true;
}

Rect VisibleBox(const Rect& window, const Rect* regionBox, const Rect* frame) {
  Rect box = window;
  Rect cut;
  if (regionBox != nullptr && Intersect(*regionBox, window, &cut)) box = cut;
  if (frame != nullptr && PlausibleFrame(window, *frame) && Intersect(box, *frame, &cut)) box = cut;
  return box;
}

void BoxInsets(const Rect& window, const Rect& box, int32_t inset[4]) {
  inset[0] = window.left - box.left;
  inset[1] = window.top - box.top;
  inset[2] = window.right - box.right;
  inset[3] = window.bottom - box.bottom;
}

MinMaxInfo VisibleMinMax(const MinMaxInfo& minmax, const int32_t inset[4]) {
  // The box is narrower than the window by (right inset - left inset) and lower by (bottom - top).
  const int32_t narrower = inset[2] - inset[0];
  const int32_t lower = inset[3] - inset[1];
  MinMaxInfo result = minmax;
  result.minTrackSize = {Shrunk(minmax.minTrackSize.x, narrower), Shrunk(minmax.minTrackSize.y, lower)};
  result.maxTrackSize = {Shrunk(minmax.maxTrackSize.x, narrower), Shrunk(minmax.maxTrackSize.y, lower)};
  return result;
}

}  // namespace qorv
