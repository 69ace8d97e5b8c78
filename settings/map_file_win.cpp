#include "settings/map_file_win.h"

#include <cwchar>

#include "common/map_table.h"
#include "settings/file_win.h"
#include "settings/ini_win.h"

namespace qorv {
namespace {

bool HasSeparator(const wchar_t* name) { return wcspbrk(name, L"\\/:") != nullptr; }

std::wstring ToWide(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int length = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0 || static_cast<size_t>(length) > kMapMaxTextChars) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

std::string ToNarrow(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::string();
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), &narrow[0], length,
                      nullptr, nullptr);
  return narrow;
}

}  // namespace

bool MapListRow::Checked() const { return (EntryFlag & entry_flag::kUseWheel) != 0; }

std::wstring MapListRow::IdText() const {
  if ((EntryFlag & entry_flag::kMatchId) == 0 && WndId == 0) return std::wstring();
  wchar_t text[16];
  swprintf(text, 16, L"%d", static_cast<int>(WndId));
  return text;
}

std::wstring MapPath(const wchar_t* fileName) {
  if (HasSeparator(fileName)) return fileName;
  wchar_t own[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, own, MAX_PATH);
  if (length >= MAX_PATH) length = 0;
  std::wstring path(own, length);
  const size_t cut = path.find_last_of(L"\\/:");
  path.resize(cut == std::wstring::npos ? 0 : cut + 1);
  path += fileName;
  return path.size() < MAX_PATH ? path : std::wstring();
}

int MapRead(const wchar_t* fileName, std::vector<MapEntry>& entries) {
  const std::wstring path = MapPath(fileName);
  std::string bytes;
  if (path.empty() || ReadSmallFile(path.c_str(), kMapMaxFileBytes, bytes) != ReadResult::kRead) return 0;
  entries = MapParse(bytes.data(), bytes.size());
  return static_cast<int>(entries.size());
}

int MapLoad(std::vector<MapListRow>& list, const wchar_t* untitledText) {
  return MapLoadFrom(MapPath(kMapFileName).c_str(), MapPath(kMapInitFileName).c_str(), list, untitledText);
}

int MapLoadFrom(const wchar_t* flagPath, const wchar_t* initPath, std::vector<MapListRow>& list,
                const wchar_t* untitledText) {
  std::vector<MapEntry> entries;
  if (MapRead(flagPath, entries) == 0 && MapRead(initPath, entries) == 0) return 0;
  // The initial table becomes the user's file the first time; an existing file is never replaced.
  CopyFileW(initPath, flagPath, TRUE);
  for (const MapEntry& entry : entries) {
    MapListRow row;
    row.EntryFlag = entry.EntryFlag;
    row.EntryWheelFlag = entry.EntryWheelFlag;
    row.EntryWndFlag = entry.EntryWndFlag;
    row.WndId = entry.WndId;
    row.Title = ToWide(entry.Title);
    if (row.Title.empty() && untitledText != nullptr) row.Title = untitledText;
    row.FileName = ToWide(entry.FileName);
    row.ClassName = ToWide(entry.ClassName);
    list.push_back(row);
  }
  return static_cast<int>(entries.size());
}

int MapWrite(const wchar_t* fileName, const std::vector<MapListRow>& list) {
  const std::wstring path = MapPath(fileName);
  if (path.empty()) return 0;
  if (list.empty()) {
    DeleteFileW(path.c_str());
    return 0;
  }
  std::vector<MapEntry> rows;
  rows.reserve(list.size());
  for (const MapListRow& row : list) {
    MapEntry entry;
    entry.EntryFlag = row.EntryFlag;
    entry.EntryWheelFlag = row.EntryWheelFlag;
    entry.EntryWndFlag = row.EntryWndFlag;
    entry.WndId = row.WndId;
    entry.Title = ToNarrow(row.Title);
    entry.FileName = ToNarrow(row.FileName);
    entry.ClassName = ToNarrow(row.ClassName);
    rows.push_back(entry);
  }
  const std::string text = MapFormat(rows);
  if (!ReplaceFileContents(path.c_str(), text.data(), text.size())) return 0;
  return static_cast<int>(list.size());
}

}  // namespace qorv
