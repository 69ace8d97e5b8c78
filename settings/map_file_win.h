// "MapFlag.ini" and "MapInit.ini" on disk, and the rows of the per-window list in UTF-16.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "settings/map_file.h"

namespace qorv {

constexpr wchar_t kMapFileName[] = L"MapFlag.ini";
constexpr wchar_t kMapInitFileName[] = L"MapInit.ini";
// Longest converted text of a row; one that needs more becomes empty.
constexpr size_t kMapMaxTextChars = 128;

// One row of the per-window list as the page shows it.
struct MapListRow {
  uint32_t EntryFlag = 0;
  uint32_t EntryWheelFlag = 0;
  uint32_t EntryWndFlag = 0;
  int32_t WndId = -1;
  std::wstring Title;
  std::wstring FileName;
  std::wstring ClassName;

  bool Checked() const;
  // The id column: WndId when the row matches by id or the id is not 0, else empty.
  std::wstring IdText() const;
};

// A bare name (no backslash, colon or slash) resolved next to the executable.
std::wstring MapPath(const wchar_t* fileName);
// Reads a table file; the number of rows, 0 when it is missing, empty, too large or holds no row.
int MapRead(const wchar_t* fileName, std::vector<MapEntry>& entries);
// Reads "MapFlag.ini", else "MapInit.ini" (then copied to "MapFlag.ini" unless one exists), into list;
// rows without a title get untitledText. Returns the number of rows.
int MapLoad(std::vector<MapListRow>& list, const wchar_t* untitledText);
// MapLoad with the two files named by full paths.
int MapLoadFrom(const wchar_t* flagPath, const wchar_t* initPath, std::vector<MapListRow>& list,
                const wchar_t* untitledText);
// Writes the rows in order (replacing the file in one step); an empty list deletes the file.
// Returns the number of rows written, 0 for an empty list or when the file could not be written.
int MapWrite(const wchar_t* fileName, const std::vector<MapListRow>& list);

}  // namespace qorv
