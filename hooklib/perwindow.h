// Matching a window against the published per-window table, as plain code. The table comes from
// another process, so every offset and length is checked against the size of the mapped block
// before anything is read: a malformed table means no match, never a read outside the block.
#pragma once
#include <cstddef>
#include <cstdint>

namespace qorv {

// Equal-length 8-bit texts compared byte by byte, each byte lowered as a single character.
using ByteCompareFn = bool (*)(const char* a, const char* b, size_t length);
bool AsciiEqualNoCase(const char* a, const char* b, size_t length);

// What the lookup knows of the window.
struct WindowFacts {
  const char* path;      // executable path of its process, 8-bit; may be null
  uint32_t pathLength;   // 0: any file name matches
  uint32_t nameOffset;   // start of the file-name part in path
  bool isChild;          // has WS_CHILD
  int32_t controlId;
  const char* className;
  uint32_t classLength;
};

struct MapMatch {
  uint32_t entryFlag;  // 0: no row matched
  uint32_t wheelFlag;
  uint32_t wndFlag;
};

// The first row of the block that matches; rows with EntryFlag 0 never match.
MapMatch MapTableMatch(const uint8_t* block, size_t blockSize, const WindowFacts& facts, ByteCompareFn equal);

// Bytes of the module-path mapping; the path inside is bounded by them.
constexpr uint32_t kModulePathBytes = 260;

// The executable path of another process's window: asked of the system first, which answers across
// integrity levels and without a wait, then through the exchange with that process's own hook
// (where the system cannot tell: older systems, processes that refuse even a limited query).
// Sources, each writing at most size - 1 characters and a terminator and returning the length, 0
// when it cannot tell:
//   uint32_t FromSystem(char* buffer, uint32_t size)
//   uint32_t FromExchange(char* buffer, uint32_t size)
template <typename Sources>
uint32_t FetchModulePath(Sources& sources, char* buffer, uint32_t size) {
  const uint32_t length = sources.FromSystem(buffer, size);
  return length != 0 ? length : sources.FromExchange(buffer, size);
}

}  // namespace qorv
