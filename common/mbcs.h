// Stepping through 8-bit text in the system code page without taking a trail byte of a
// double-byte character for a separator. The Windows builds step with CharNextA; native code and
// tests step code page 932 (Shift-JIS) the same way.
#pragma once
#include <cstddef>
#include <cstdint>

namespace qorv {

// Returns the next character of a NUL-terminated 8-bit string; at the terminator, the same pointer.
using CharNextFn = const char* (*)(const char*);

// Shift-JIS lead bytes: 0x81-0x9F and 0xE0-0xFC. A lead byte followed by the terminator counts alone.
constexpr bool IsCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
const char* Cp932CharNext(const char* p);

// Two names of `length` bytes compared character by character without regard to letter case: a
// double-byte character (isLead on its first byte, with a second byte inside the length) compares
// whole and exactly, so that a trail byte is never case-folded; a single byte is compared after
// lower. The one comparison of program files and class names in both programs.
using LeadByteFn = bool (*)(unsigned char);
using LowerByteFn = unsigned char (*)(unsigned char);
bool MbcsEqualNoCase(const char* a, const char* b, size_t length, LeadByteFn isLead, LowerByteFn lower);

// Offset just behind the last backslash, colon or slash of path, or 0 when it has none.
uint32_t FileNameOffset(const char* path, CharNextFn next);

}  // namespace qorv
