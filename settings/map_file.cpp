#include "settings/map_file.h"

#include <cstdio>
#include <cstring>

#include "common/codepage.h"
#include "common/map_table.h"
#include "settings/ini.h"

namespace qorv {
namespace {

constexpr int kFieldsBeforeClass = 7;

bool IsLineEnd(char c) { return c == '\r' || c == '\n' || c == '\0'; }

// One line of the text: [begin, end) with end at CR, LF or NUL.
struct Line {
  const char* begin;
  const char* end;
};

// Splits the text into its non-empty lines, comments included.
std::vector<Line> SplitLines(const std::string& text) {
  std::vector<Line> lines;
  const char* p = text.c_str();
  for (;;) {
    while (*p == '\r' || *p == '\n') ++p;
    if (*p == '\0') break;
    const char* begin = p;
    while (!IsLineEnd(*p)) p = TextCharNext(p);
    lines.push_back({begin, p});
  }
  return lines;
}

MapEntry ParseLine(const Line& line) {
  // Fields 1 to 7 each end at "|" or at the line end; a field ending at the line end leaves every
  // later field absent.
  std::string fields[kFieldsBeforeClass];
  int separators = 0;
  const char* p = line.begin;
  for (int i = 0; i < kFieldsBeforeClass; ++i) {
    const char* start = p;
    while (p < line.end && *p != '|') p = TextCharNext(p);
    if (p > line.end) p = line.end;  // a lone lead byte at the line end
    fields[i].assign(start, p);
    if (p >= line.end) break;
    ++separators;
    ++p;  // behind the "|"
  }

  MapEntry entry;
  if (separators < kFieldsBeforeClass) {
    entry.EntryFlag = entry_flag::kMalformed;
    entry.ClassName.assign(line.begin, line.end);
    return entry;
  }
  entry.EntryFlag = IniParseHex(fields[0].c_str());
  entry.EntryWheelFlag = IniParseHex(fields[1].c_str());
  entry.EntryWndFlag = IniParseHex(fields[2].c_str());
  entry.Title = fields[3];
  entry.WndId = IniParseInt(fields[4].c_str());
  entry.FileName = fields[5];
  const int32_t classLength = IniParseInt(fields[6].c_str());
  const ptrdiff_t rest = line.end - p;
  if (classLength == 0) {
    entry.ClassName.assign(p, line.end);
  } else if (classLength > 0 && classLength <= rest) {
    // Exactly that many bytes; anything after them on the line is ignored.
    entry.ClassName.assign(p, static_cast<size_t>(classLength));
  }
  // A negative length or one reaching past the line gives an empty class name.
  return entry;
}

void AppendHex(std::string& out, const char* format, uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof(buffer), format, value);
  out += buffer;
}

// Titles and file names sit between separators: a "|" or a line end inside would shift every later
// field of the row, so they are written as blanks.
std::string FieldText(const std::string& text) {
  std::string out = text;
  for (size_t i = 0; i < out.size();) {
    const char* p = out.c_str() + i;
    if (*p == '|' || *p == '\r' || *p == '\n') out[i] = ' ';
    i = static_cast<size_t>(TextCharNext(p) - out.c_str());
    if (i == static_cast<size_t>(p - out.c_str())) break;
  }
  return out;
}

// Bytes before the first CR or LF that is a character of its own (not the trail byte of one).
size_t LineLength(const std::string& text) {
  const char* begin = text.c_str();
  const char* p = begin;
  while (!IsLineEnd(*p)) p = TextCharNext(p);
  return static_cast<size_t>(p - begin);
}

}  // namespace

std::vector<MapEntry> MapParse(const char* text, size_t length) {
  std::vector<MapEntry> entries;
  if (text == nullptr || length == 0) return entries;
  const std::string copy(text, strnlen(text, length));
  for (const Line& line : SplitLines(copy)) {
    if (*line.begin == ';' || *line.begin == '!') continue;
    entries.push_back(ParseLine(line));
  }
  return entries;
}

std::string MapFormat(const std::vector<MapEntry>& rows) {
  std::string out;
  for (const MapEntry& row : rows) {
    if (row.EntryFlag == 0) {
      out += "0";
    } else {
      AppendHex(out, "0x%04X", row.EntryFlag);
    }
    if (row.EntryWheelFlag == 0) {
      out += "|0";
    } else {
      AppendHex(out, "|0x%08X", row.EntryWheelFlag);
    }
    if (row.EntryWndFlag == 0) {
      out += "|0|";
    } else {
      AppendHex(out, "|0x%08X|", row.EntryWndFlag);
    }
    if (row.Title.size() <= kMapMaxTitleBytes) out += FieldText(row.Title);
    char number[24];
    std::snprintf(number, sizeof(number), "|%d|", static_cast<int>(row.WndId));
    out += number;
    out += FieldText(row.FileName);
    std::string className = row.ClassName;
    // A class name ends at its line: what follows a line end could not be read back.
    className.resize(LineLength(className));
    if (!className.empty()) {
      std::snprintf(number, sizeof(number), "|%zu|", className.size());
      out += number;
      out += className;
    } else {
      out += "||";
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace qorv
