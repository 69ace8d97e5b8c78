// Decisions behind the controls that the pages share: scroll-bar stepping, list-column texts,
// line-feed lists, list moves and centring. ui_helpers_win.h applies them to windows.
#pragma once
#include <cstddef>
#include <cstdint>

#include "common/geometry.h"

namespace qorv {

// Scroll codes as the system numbers them.
enum ScrollCode : int {
  kScrollLineLeft = 0,
  kScrollLineRight = 1,
  kScrollPageLeft = 2,
  kScrollPageRight = 3,
  kScrollThumbPosition = 4,
  kScrollThumbTrack = 5,
  kScrollLeft = 6,
  kScrollRight = 7,
  kScrollEnd = 8,
};

// New position of a scroll bar for a scroll code: the highest position is max - (page - 1) for a
// page of 2 or more; lines and pages clamp to min .. highest; the thumb track gives the track
// position; other codes keep the position.
int StepScrollPosition(int code, int minimum, int maximum, int page, int position, int trackPosition);

// Decimal number of a wide text: blanks and tabs, an optional sign, digits; saturates at the 32-bit
// limits; no digits gives 0.
int32_t ParseWideInt(const char16_t* text);

// One item of a list held as one string with line feeds between the items. Returns the start of the
// next item, or null at the end of the text or at an empty item (which ends the list).
const char16_t* NextListItem(const char16_t* text, size_t* length);

struct ListColumnSpec {
  const char16_t* name;
  size_t nameLength;
  int width;   // 100 when the line gives none
  int format;  // list-view column format, 0 when the line gives none
};
// Lines of "name;width;format": the name ends at ";" or a line feed; a width follows the first ";"
// only when a digit comes next; a format follows a second ";". Returns the number of columns.
size_t ParseListColumns(const char16_t* text, ListColumnSpec* out, size_t capacity);

// Where MoveListItem inserts the copy of row index moved by step (-1 or +1) in a list of count
// rows (counting the row itself), or -1 when nothing moves: the first row moved up. The last row
// moved down is inserted at the end and so comes back in its place.
int ListMoveInsertPosition(int index, int step, int count);

// Top-left corner that centres a size over a rectangle (halves truncated toward zero).
Point CenterIn(const Rect& area, int32_t width, int32_t height);

}  // namespace qorv
