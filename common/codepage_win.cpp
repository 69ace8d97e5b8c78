#include <windows.h>

#include "common/codepage.h"

namespace qorv {

const char* TextCharNext(const char* p) { return CharNextA(p); }

bool TextEqualNoCase(const char* a, const char* b, size_t length) {
  if (length == 0) return true;
  if (length > 0x7FFFFFFF) return false;
  const int n = static_cast<int>(length);
  return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a, n, b, n) == CSTR_EQUAL;
}

}  // namespace qorv
