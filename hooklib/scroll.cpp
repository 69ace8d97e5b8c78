#include "hooklib/scroll.h"

#include "hooklib/wheel.h"

namespace qorv {

Rect ScrollSearchRect(const Rect& reference, uint32_t direction, int32_t cxVScroll, int32_t cyHScroll) {
  Rect r = reference;
  if (direction == kDirHorz && cyHScroll != 0) {
    if (r.bottom - 2 * cyHScroll > r.top) r.top = r.bottom - 2 * cyHScroll;
    r.bottom += cyHScroll;
  } else if (direction == kDirVert && cxVScroll != 0) {
    if (r.right - cxVScroll > r.left) r.left = r.right - cxVScroll;
    r.right += cxVScroll;
  }
  return r;
}

bool RectsOverlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool PreferCandidate(const Rect& found, const Rect& candidate, bool verticalBar, Point cursor) {
  if (verticalBar) {
    if (cursor.y >= found.top && cursor.y <= found.bottom) return false;
    return candidate.top < cursor.y && cursor.y < candidate.bottom;
  }
  if (cursor.x >= found.left && cursor.x <= found.right) return false;
  return candidate.left < cursor.x && cursor.x < candidate.right;
}

Selection RenameSelection(int32_t mode, int32_t dot, int32_t length, Selection current) {
  const Selection all = {0, length};
  if (dot < 0) return all;
  const Selection name = {0, dot};
  const Selection extension = {dot + 1, length};
  switch (mode) {
    case 1:
      return name;
    case 2:
      return extension;
    case 0:
      if (current.start == extension.start && current.end == extension.end) return all;
      if (current.start == name.start && current.end == name.end) return extension;
      return name;
    default:
      return all;
  }
}

}  // namespace qorv
