#include "settings/file_win.h"

#include <cwchar>

namespace qorv {
namespace {

bool WriteAll(HANDLE file, const char* bytes, size_t length) {
  while (length > 0) {
    const DWORD chunk = length > 0x10000000 ? 0x10000000 : static_cast<DWORD>(length);
    DWORD written = 0;
    if (!WriteFile(file, bytes, chunk, &written, nullptr) || written == 0) return false;
    bytes += written;
    length -= written;
  }
  return FlushFileBuffers(file) != FALSE;
}

bool WriteInPlace(const wchar_t* path, const char* bytes, size_t length) {
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool ok = WriteAll(file, bytes, length);
  CloseHandle(file);
  return ok;
}

}  // namespace

bool FileExists(const wchar_t* path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

bool FileHoldsBytes(const wchar_t* path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return FileExists(path);
  return data.nFileSizeHigh != 0 || data.nFileSizeLow != 0;
}

ReadResult ReadSmallFile(const wchar_t* path, size_t maxBytes, std::string& out) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) ? ReadResult::kMissing
                                                                              : ReadResult::kUnreadable;
  }
  DWORD high = 0;
  const DWORD size = GetFileSize(file, &high);
  if ((size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) || high != 0 || size == 0 || size >= maxBytes) {
    CloseHandle(file);
    return ReadResult::kUnreadable;
  }
  out.assign(size, '\0');
  DWORD read = 0;
  const BOOL ok = ReadFile(file, &out[0], size, &read, nullptr);
  CloseHandle(file);
  if (!ok) {
    out.clear();
    return ReadResult::kUnreadable;
  }
  out.resize(read);
  return ReadResult::kRead;
}

bool ReplaceFileContents(const wchar_t* path, const char* bytes, size_t length) {
  wchar_t folder[MAX_PATH];
  const size_t pathLength = wcslen(path);
  if (pathLength >= MAX_PATH) return false;
  wcscpy(folder, path);
  wchar_t* cut = folder + pathLength;
  while (cut > folder && cut[-1] != L'\\' && cut[-1] != L'/' && cut[-1] != L':') --cut;
  if (cut == folder) {
    wcscpy(folder, L".");
  } else {
    *cut = L'\0';
  }

  wchar_t temp[MAX_PATH];
  if (GetTempFileNameW(folder, L"qv", 0, temp) == 0) return WriteInPlace(path, bytes, length);
  HANDLE file = CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DeleteFileW(temp);
    return WriteInPlace(path, bytes, length);
  }
  const bool written = WriteAll(file, bytes, length);
  CloseHandle(file);
  if (!written) {
    // A full disk: the old file stays whole.
    DeleteFileW(temp);
    return false;
  }
  if (MoveFileExW(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  DeleteFileW(temp);
  return WriteInPlace(path, bytes, length);
}

}  // namespace qorv
