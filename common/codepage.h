// The two things that text scanning needs from the system's 8-bit code page. The Windows builds
// answer with CharNextA and CompareStringA (codepage_win.cpp); the native build steps code page 932
// the same way and folds ASCII letters (codepage_cp932.cpp), so that tests can cover trail bytes that
// look like "|", "[", "]" or the backslash.
#pragma once
#include <cstddef>

namespace qorv {

// The next character of a NUL-terminated 8-bit text; at the terminator, the same pointer.
const char* TextCharNext(const char* p);
// Two 8-bit names of the same length in bytes compared without regard to letter case.
bool TextEqualNoCase(const char* a, const char* b, size_t length);

}  // namespace qorv
