// Stepping through 8-bit text in the system code page without taking a trail byte of a
// double-byte character for a separator. The Windows builds step with CharNextA; native code and
// tests step code page 932 (Shift-JIS) the same way.
#pragma once
#include <cstdint>

namespace qorv {

// Returns the next character of a NUL-terminated 8-bit string; at the terminator, the same pointer.
using CharNextFn = const char* (*)(const char*);

// Shift-JIS lead bytes: 0x81-0x9F and 0xE0-0xFC. A lead byte followed by the terminator counts alone.
constexpr bool IsCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
const char* Cp932CharNext(const char* p);

// Offset just behind the last backslash, colon or slash of path, or 0 when it has none.
uint32_t FileNameOffset(const char* path, CharNextFn next);

}  // namespace qorv
