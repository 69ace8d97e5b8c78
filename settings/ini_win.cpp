#include "settings/ini_win.h"

#include <cstring>
#include <cwchar>
#include <string>

#include "common/winsearch_win.h"
#include "settings/file_win.h"

namespace qorv {
namespace {

size_t CopyBounded(wchar_t* buffer, size_t capacity, const wchar_t* text, size_t length) {
  if (capacity == 0) return 0;
  if (length > capacity - 1) length = capacity - 1;
  wmemcpy(buffer, text, length);
  buffer[length] = L'\0';
  return length;
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/' || c == L':'; }

// The extension test of a settings file name: the characters after the last '.' (for a name
// without one, after its first character) compared with "ini", stopping at the shorter end.
bool HasIniExtension(const wchar_t* name) {
  const wchar_t* dot = wcsrchr(name, L'.');
  const wchar_t* extension = dot != nullptr ? dot + 1 : (name[0] != L'\0' ? name + 1 : name);
  return CaseInsensitiveCompareW(extension, L"ini") == 0;
}

}  // namespace

size_t IniPath(wchar_t* buffer, size_t capacity, const wchar_t* name) {
  if (buffer == nullptr || capacity == 0) return 0;
  if (name != nullptr && HasIniExtension(name)) {
    const size_t nameLength = wcslen(name);
    for (size_t i = 0; i < nameLength; ++i) {
      if (IsSeparator(name[i])) return CopyBounded(buffer, capacity, name, nameLength);
    }
  }
  wchar_t own[MAX_PATH];
  DWORD ownLength = GetModuleFileNameW(nullptr, own, MAX_PATH);
  if (ownLength >= MAX_PATH) ownLength = 0;
  own[ownLength] = L'\0';
  size_t fileStart = ownLength;
  while (fileStart > 0 && !IsSeparator(own[fileStart - 1])) --fileStart;

  std::wstring result;
  if (name != nullptr && HasIniExtension(name)) {
    result.assign(own, fileStart);
    result += name;
  } else {
    // The program's own name with the extension "ini".
    result.assign(own, ownLength);
    const size_t dot = result.find_last_of(L'.');
    if (dot == std::wstring::npos || dot < fileStart) {
      result += L".ini";
    } else {
      result.resize(dot + 1);
      result += L"ini";
    }
  }
  return CopyBounded(buffer, capacity, result.c_str(), result.size());
}

IniText IniLoad(const wchar_t* path) {
  std::string bytes;
  if (path == nullptr || ReadSmallFile(path, kIniMaxFileBytes, bytes) != ReadResult::kRead) return nullptr;
  return IniFromBytes(bytes.data(), bytes.size());
}

IniText IniSetString(const char* section, const char* key, const wchar_t* value, IniText text) {
  std::string narrow;
  if (value != nullptr && value[0] != L'\0') {
    const int length = WideCharToMultiByte(CP_ACP, 0, value, -1, nullptr, 0, nullptr, nullptr);
    if (length > 1) {
      narrow.assign(static_cast<size_t>(length), '\0');
      WideCharToMultiByte(CP_ACP, 0, value, -1, &narrow[0], length, nullptr, nullptr);
      narrow.resize(static_cast<size_t>(length - 1));
    }
  }
  return IniSetBytes(section, key, narrow.c_str(), text);
}

DWORD IniWrite(const wchar_t* path, const char* text) {
  if (path == nullptr) return 0;
  const size_t length = text != nullptr ? std::strlen(text) : 0;
  if (length > 0xFFFFFFFFu) return 0;
  if (!ReplaceFileContents(path, text != nullptr ? text : "", length)) return 0;
  return static_cast<DWORD>(length);
}

}  // namespace qorv
