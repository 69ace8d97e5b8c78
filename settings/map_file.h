// The per-window table file ("MapFlag.ini", "MapInit.ini"): one row per line, eight fields with
// seven "|" between them, the class name last with its byte length before it so that it may contain
// "|". Plain code: the file side and the UTF-16 conversions are in map_file_win.h.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qorv {

// One row of the table, texts 8-bit in the system code page.
struct MapEntry {
  uint32_t EntryFlag = 0;
  uint32_t EntryWheelFlag = 0;
  uint32_t EntryWndFlag = 0;
  std::string Title;
  int32_t WndId = -1;
  std::string FileName;
  std::string ClassName;
};

// Files of 0 bytes or this many or more are not read.
constexpr size_t kMapMaxFileBytes = 65536;
// Longest 8-bit title that is written; a longer one is written empty.
constexpr size_t kMapMaxTitleBytes = 127;

// Parses a file's text (stops at the first NUL or at length). Lines beginning with ";" or "!" are
// comments; blank lines are skipped. An empty result means the text held no row.
std::vector<MapEntry> MapParse(const char* text, size_t length);
// The file text for rows, in order, each line ending in CR LF.
std::string MapFormat(const std::vector<MapEntry>& rows);

}  // namespace qorv
