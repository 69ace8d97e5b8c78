#include "hooklib/perwindow.h"

#include <cstring>

#include "common/map_table.h"

namespace qorv {
namespace {

// The text [offset, offset + length) lies inside the block.
bool InBlock(uint32_t offset, uint32_t length, size_t blockSize) {
  return offset <= blockSize && length <= blockSize - offset;
}

}  // namespace

bool AsciiEqualNoCase(const char* a, const char* b, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

MapMatch MapTableMatch(const uint8_t* block, size_t blockSize, const WindowFacts& facts, ByteCompareFn equal) {
  MapMatch none = {0, 0, 0};
  if (block == nullptr || blockSize < sizeof(SharedMapHeader)) return none;
  SharedMapHeader header;
  std::memcpy(&header, block, sizeof(header));
  if (header.count <= 0) return none;
  const size_t fit = (blockSize - sizeof(SharedMapHeader)) / sizeof(SharedMapEntry);
  const size_t count = static_cast<size_t>(header.count) < fit ? static_cast<size_t>(header.count) : fit;
  const uint32_t nameLength = facts.pathLength >= facts.nameOffset ? facts.pathLength - facts.nameOffset : 0;

  for (size_t i = 0; i < count; ++i) {
    SharedMapEntry e;
    std::memcpy(&e, block + sizeof(SharedMapHeader) + i * sizeof(SharedMapEntry), sizeof(e));
    if (e.WndId != -1 && facts.isChild && e.WndId != facts.controlId) continue;
    if (e.EntryFlag == 0) continue;
    if (e.FileNameLength != 0 && facts.pathLength != 0 && facts.path != nullptr) {
      if (!InBlock(e.FileNameOffset, e.FileNameLength, blockSize)) continue;
      const char* text = reinterpret_cast<const char*>(block) + e.FileNameOffset;
      if (e.PathMode != 0) {
        if (facts.pathLength != e.FileNameLength || !equal(facts.path, text, e.FileNameLength)) continue;
      } else {
        if (nameLength != e.FileNameLength || !equal(facts.path + facts.nameOffset, text, e.FileNameLength)) continue;
      }
    }
    if (e.ClassNameLength != 0) {
      if (!InBlock(e.ClassNameOffset, e.ClassNameLength, blockSize)) continue;
      if (facts.className == nullptr || facts.classLength != e.ClassNameLength ||
          !equal(facts.className, reinterpret_cast<const char*>(block) + e.ClassNameOffset, e.ClassNameLength)) {
        continue;
      }
    }
    return {e.EntryFlag, e.EntryWheelFlag, e.EntryWndFlag};
  }
  return none;
}

}  // namespace qorv
