// File access shared by the settings files: reading a whole small file, and replacing a file so
// that a crash or a full disk never leaves it half written.
#pragma once
#include <windows.h>

#include <string>

namespace qorv {

enum class ReadResult { kRead, kMissing, kUnreadable };

// Reads a whole file of 1 to maxBytes - 1 bytes (read sharing allowed). kUnreadable: it exists but
// is empty, too large, locked or cannot be read.
ReadResult ReadSmallFile(const wchar_t* path, size_t maxBytes, std::string& out);
// Writes the bytes to a temporary file in the same folder and moves it over path in one step. Only
// when no temporary file can be made or the move is refused does it write the file in place.
// Returns false when nothing was written (the old file then stays as it was).
bool ReplaceFileContents(const wchar_t* path, const char* bytes, size_t length);
bool FileExists(const wchar_t* path);
// Whether path exists and is not empty (or its size cannot be told): what such a file holds is lost
// when a file it could not be read from is written over.
bool FileHoldsBytes(const wchar_t* path);

}  // namespace qorv
