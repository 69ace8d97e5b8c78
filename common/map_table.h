// The per-window table as the main program publishes it for the hook library: a named read-only
// mapping "QorvMapFlag" + "0x%X" of the desktop window + " %u" of a number that the low 16 bits of
// ExtraFlag carry. Little-endian; offsets count from the start of the block.
#pragma once
#include <cstddef>
#include <cstdint>

namespace qorv {

// EntryFlag bits of a per-window table row.
namespace entry_flag {
constexpr uint32_t kUseWheel = 0x00000001;    // use EntryWheelFlag (the row's check box)
constexpr uint32_t kUseWnd = 0x00000002;      // use EntryWndFlag
constexpr uint32_t kMalformed = 0x00000004;   // made from a line without the field structure
constexpr uint32_t kMatchId = 0x00000010;     // match by WndId
constexpr uint32_t kMatchFile = 0x00000020;   // match by FileName
constexpr uint32_t kMatchClass = 0x00000040;  // match by ClassName
constexpr uint32_t kMatchBits = kMatchId | kMatchFile | kMatchClass;
constexpr uint32_t kNewEntry = 0x00010000;    // in memory only: a row not yet confirmed in the editor
}  // namespace entry_flag

struct SharedMapHeader {
  uint32_t unused;
  int32_t count;  // entries that follow; 0 or less means none
};

struct SharedMapEntry {
  uint32_t EntryFlag;       // non-zero to take part; returned by the lookup
  uint32_t EntryWheelFlag;
  uint32_t EntryWndFlag;
  int32_t WndId;            // -1: any window; else a child window must have this control id
  uint32_t FileNameOffset;  // from the start of the block
  uint32_t FileNameLength;  // bytes; 0: any process
  uint32_t PathMode;        // non-zero: compare with the whole executable path; 0: its file name
  uint32_t ClassNameOffset;
  uint32_t ClassNameLength;  // bytes; 0: any class
};

static_assert(sizeof(SharedMapHeader) == 8, "header is 8 bytes");
static_assert(sizeof(SharedMapEntry) == 36, "entries are 36 bytes");
static_assert(offsetof(SharedMapEntry, WndId) == 12, "WndId at 12");
static_assert(offsetof(SharedMapEntry, FileNameOffset) == 16, "FileName offset at 16");
static_assert(offsetof(SharedMapEntry, PathMode) == 24, "path mode at 24");
static_assert(offsetof(SharedMapEntry, ClassNameLength) == 32, "ClassName length at 32");

constexpr char kMapTablePrefix[] = "QorvMapFlag";
// Characters a mapping name takes at most, with its terminating null.
constexpr int kMapTableNameCount = 33;

// Writes the ASCII text at out and returns the end (no terminating null). For any character type, so
// that the hook library needs no formatting library.
template <typename Char>
Char* AppendAscii(Char* out, const char* text) {
  while (*text != '\0') *out++ = static_cast<Char>(*text++);
  return out;
}

// Writes value in radix 2 to 16 (upper-case digits) at out, null-terminated; returns the null.
template <typename Char>
Char* AppendNumber(Char* out, uint32_t value, uint32_t radix) {
  Char digits[32];
  int n = 0;
  do {
    digits[n++] = static_cast<Char>("0123456789ABCDEF"[value % radix]);
    value /= radix;
  } while (value != 0);
  while (n > 0) *out++ = digits[--n];
  *out = static_cast<Char>('\0');
  return out;
}

// Fills name (kMapTableNameCount characters) with the published table's mapping name: the prefix,
// "0x" and the desktop window in upper-case hex, a blank and the number in decimal. Returns the
// terminating null.
template <typename Char>
Char* MapTableName(Char* name, uint32_t desktop, uint32_t number) {
  Char* p = AppendNumber(AppendAscii(AppendAscii(name, kMapTablePrefix), "0x"), desktop, 16);
  *p++ = static_cast<Char>(' ');
  return AppendNumber(p, number, 10);
}

}  // namespace qorv
