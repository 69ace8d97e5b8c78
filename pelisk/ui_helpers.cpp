#include "pelisk/ui_helpers.h"

#include <cstdint>

namespace qorv {

int StepScrollPosition(int code, int minimum, int maximum, int page, int position, int trackPosition) {
  const int highest = page >= 2 ? maximum - (page - 1) : maximum;
  auto clamp = [&](long long p) {
    if (p < minimum) return minimum;
    if (p > highest) return highest < minimum ? minimum : highest;
    return static_cast<int>(p);
  };
  switch (code) {
    case kScrollLineLeft:
      return clamp(static_cast<long long>(position) - 1);
    case kScrollLineRight:
      return clamp(static_cast<long long>(position) + 1);
    case kScrollPageLeft:
      return clamp(static_cast<long long>(position) - page);
    case kScrollPageRight:
      return clamp(static_cast<long long>(position) + page);
    case kScrollThumbTrack:
      return trackPosition;
    case kScrollLeft:
      return minimum;
    case kScrollRight:
      return highest;
    default:
      return position;
  }
}

int32_t ParseWideInt(const char16_t* text) {
  if (text == nullptr) return 0;
  const char16_t* p = text;
  while (*p == u' ' || *p == u'\t') ++p;
  bool negative = false;
  if (*p == u'-' || *p == u'+') {
    negative = *p == u'-';
    ++p;
  }
  int64_t value = 0;
  for (; *p >= u'0' && *p <= u'9'; ++p) {
    value = value * 10 + (*p - u'0');
    if (value > INT64_C(0x80000000)) value = INT64_C(0x80000000);
  }
  if (negative) return static_cast<int32_t>(-value);
  return value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

const char16_t* NextListItem(const char16_t* text, size_t* length) {
  if (text == nullptr || *text == 0 || *text == u'\n') return nullptr;
  const char16_t* p = text;
  while (*p != 0 && *p != u'\n') ++p;
  *length = static_cast<size_t>(p - text);
  return p;
}

size_t ParseListColumns(const char16_t* text, ListColumnSpec* out, size_t capacity) {
  if (text == nullptr) return 0;
  size_t count = 0;
  const char16_t* p = text;
  while (*p != 0 && count < capacity) {
    ListColumnSpec column = {p, 0, 100, 0};
    while (*p != 0 && *p != u';' && *p != u'\n') ++p;
    column.nameLength = static_cast<size_t>(p - column.name);
    if (*p == u';') {
      ++p;
      if (*p >= u'0' && *p <= u'9') column.width = ParseWideInt(p);
      while (*p != 0 && *p != u';' && *p != u'\n') ++p;
      if (*p == u';') {
        ++p;
        column.format = ParseWideInt(p);
        while (*p != 0 && *p != u'\n') ++p;
      }
    }
    out[count++] = column;
    if (*p == u'\n') ++p;
  }
  return count;
}

int ListMoveInsertPosition(int index, int step, int count) {
  if (index < 0 || index >= count) return -1;
  int target = index + step + (step > 0 ? 1 : 0);
  if (target < 0) target = 0;
  if (target > count) target = count;
  // Inserting the copy right before the row itself moves nothing. The last row moved down is
  // inserted after itself, at the end: it comes back in its place.
  if (target == index) return -1;
  return target;
}

Point CenterIn(const Rect& area, int32_t width, int32_t height) {
  return {area.left + (area.Width() - width) / 2, area.top + (area.Height() - height) / 2};
}

}  // namespace qorv
