#include "host/published_block.h"

#include <cstring>

#include "common/codepage.h"
#include "common/map_table.h"

namespace qorv {
namespace {

bool IsFullPath(const std::string& name) {
  for (const char* p = name.c_str(); *p != '\0';) {
    if (*p == '\\' || *p == '/' || *p == ':') return true;
    const char* next = TextCharNext(p);
    if (next == p) break;
    p = next;
  }
  return false;
}

}  // namespace

std::vector<uint8_t> PublishedBlockBuild(const std::vector<MapEntry>& rows) {
  std::vector<const MapEntry*> used;
  for (const MapEntry& row : rows) {
    if ((row.EntryFlag & (entry_flag::kUseWheel | entry_flag::kUseWnd)) != 0) used.push_back(&row);
  }
  const size_t textsStart = sizeof(SharedMapHeader) + used.size() * sizeof(SharedMapEntry);
  std::vector<uint8_t> block(textsStart);
  SharedMapHeader header = {0, static_cast<int32_t>(used.size())};
  std::memcpy(block.data(), &header, sizeof(header));

  auto appendText = [&block](const std::string& text) {
    const auto offset = static_cast<uint32_t>(block.size());
    block.insert(block.end(), text.begin(), text.end());
    return offset;
  };
  for (size_t i = 0; i < used.size(); ++i) {
    const MapEntry& row = *used[i];
    SharedMapEntry entry = {};
    entry.EntryFlag = row.EntryFlag & ~entry_flag::kNewEntry;
    entry.EntryWheelFlag = row.EntryWheelFlag;
    entry.EntryWndFlag = row.EntryWndFlag;
    entry.WndId = (row.EntryFlag & entry_flag::kMatchId) != 0 ? row.WndId : -1;
    if ((row.EntryFlag & entry_flag::kMatchFile) != 0 && !row.FileName.empty()) {
      entry.FileNameOffset = appendText(row.FileName);
      entry.FileNameLength = static_cast<uint32_t>(row.FileName.size());
      entry.PathMode = IsFullPath(row.FileName) ? 1 : 0;
    }
    if ((row.EntryFlag & entry_flag::kMatchClass) != 0 && !row.ClassName.empty()) {
      entry.ClassNameOffset = appendText(row.ClassName);
      entry.ClassNameLength = static_cast<uint32_t>(row.ClassName.size());
    }
    std::memcpy(block.data() + sizeof(SharedMapHeader) + i * sizeof(SharedMapEntry), &entry, sizeof(entry));
  }
  return block;
}

}  // namespace qorv
