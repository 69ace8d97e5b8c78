// Plain decisions of the scroll-target search and of the file-list and edit conveniences.
#pragma once
#include <cstdint>

#include "common/geometry.h"

namespace qorv {

// The rectangle around the reference window in which a scroll-bar control counts as beside it:
// widened at the bottom for a horizontal bar, at the right for a vertical one.
Rect ScrollSearchRect(const Rect& reference, uint32_t direction, int32_t cxVScroll, int32_t cyHScroll);
// Both rectangles overlap (half-open).
bool RectsOverlap(const Rect& a, const Rect& b);
// Whether a further candidate replaces the control found so far: the one whose span along the bar
// contains the cursor wins.
bool PreferCandidate(const Rect& found, const Rect& candidate, bool verticalBar, Point cursor);

struct Selection {
  int32_t start;
  int32_t end;
};
// The rename box's next selection: mode 1 the name, 2 the extension, 0 the next of name, extension,
// all. dot: index of the last full stop or -1; length: characters of the text.
Selection RenameSelection(int32_t mode, int32_t dot, int32_t length, Selection current);

}  // namespace qorv
