// Feeds arbitrary bytes as a published per-window table to the matcher that every hooked process
// runs on another process's data. The first byte chooses the window's facts; the rest is the block,
// copied into a buffer of exactly its size so that any read past it is caught.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/codepage.h"
#include "hooklib/perwindow.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

constexpr char kPath[] = "C:\\Program Files\\\x83\x41pp\\Prog.EXE";
constexpr char kClass[] = "Edit";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t choice = data[0];
  std::vector<uint8_t> block(data + 1, data + size);
  qorv::WindowFacts facts = {};
  if ((choice & 1) != 0) {
    facts.path = kPath;
    facts.pathLength = static_cast<uint32_t>(std::strlen(kPath));
    facts.nameOffset = (choice & 2) != 0 ? 22 : facts.pathLength + 5;  // also an offset past the end
  }
  facts.isChild = (choice & 4) != 0;
  facts.controlId = (choice & 8) != 0 ? -1 : choice >> 4;
  if ((choice & 0x10) != 0) {
    facts.className = kClass;
    facts.classLength = 4;
  }
  const uint8_t* start = block.empty() ? nullptr : block.data();
  const qorv::MapMatch first = qorv::MapTableMatch(start, block.size(), facts, qorv::TextEqualNoCase);
  const qorv::MapMatch again = qorv::MapTableMatch(start, block.size(), facts, qorv::AsciiEqualNoCase);
  // The table comes from another process: a match is a row of it, never anything made up.
  if (first.entryFlag == 0) Check(first.wheelFlag == 0 && first.wndFlag == 0);
  // Without double-byte names in the table both comparisons agree on ASCII-only facts.
  if (facts.path == nullptr) Check(first.entryFlag == again.entryFlag);
  return 0;
}
