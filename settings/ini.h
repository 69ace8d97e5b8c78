// INI files held as one NUL-terminated 8-bit text in the system code page. Lookups scan the text;
// every set or delete edits exactly one line or one value, so lines the program does not own
// (other sections, other keys, comments, stray lines) are never touched.
//
// An IniText is owned by whoever holds the pointer. Every set may return a different pointer and
// has then already released the old one. A null text is valid everywhere: readers return their
// defaults, writers start from an empty text. This file has no window-system calls; the file side
// (IniPath, IniLoad, IniSetString with a UTF-16 value, IniWrite) is in ini_win.h.
#pragma once
#include <cstddef>
#include <cstdint>

namespace qorv {

using IniText = char*;

// Files of 0 bytes or of this many bytes or more are not read at all.
constexpr size_t kIniMaxFileBytes = 65536;

// A new text holding a copy of length bytes and a NUL (embedded NULs end the text early). Null on
// allocation failure.
IniText IniFromBytes(const char* bytes, size_t length);
void IniFree(IniText text);

// Scans lines from *cursor for the header "[name]". On a match sets *cursor to the start of the
// line after the header and returns it; otherwise sets *cursor to the terminating NUL and returns null.
char* IniFindSection(const char* name, char** cursor);
// Scans the lines of the current section from *cursor for the key line "name=". On a match returns
// the first character of the value and sets *cursor to the start of the next line; otherwise returns
// null and sets *cursor to the insertion point for a new key of this section.
char* IniFindKey(const char* name, char** cursor);

int32_t IniGetInt(const char* section, const char* key, int32_t defaultValue, const char* text);
uint32_t IniGetHex(const char* section, const char* key, uint32_t defaultValue, const char* text);
// Reads up to count hexadecimal values from one key line; missing values take their defaults.
// Returns how many values the line held (0 when the key is missing).
uint32_t IniGetHexList(const char* section, const char* key, const uint32_t* defaults, uint32_t* out,
                       uint32_t count, const char* text);

// Sets key to an 8-bit value (null counts as empty). Returns the text to use from now on. When a
// new text cannot be allocated nothing is lost: the old text comes back unchanged (null when the
// caller started from null).
IniText IniSetBytes(const char* section, const char* key, const char* value, IniText text);
IniText IniSetInt(const char* section, const char* key, int32_t value, IniText text);
// "0" for 0, otherwise "0x%08X".
IniText IniSetHex(const char* section, const char* key, uint32_t value, IniText text);
// Removes the key's line in place; 1 if a line was removed, else 0.
int IniDeleteKey(const char* section, const char* key, IniText text);

// The number rules, also used by the per-window table reader. Decimal: blanks and tabs, one optional
// sign, digits, saturating at INT32_MAX / INT32_MIN; no digits gives 0. Hexadecimal: blanks and tabs,
// an optional "0x"/"0X", at most 8 hex digits; no digits gives 0.
int32_t IniParseInt(const char* p);
uint32_t IniParseHex(const char* p);

}  // namespace qorv
