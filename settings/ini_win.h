// The file side of the INI text: where the files are, reading, writing, and values in UTF-16.
#pragma once
#include <windows.h>

#include "settings/ini.h"

namespace qorv {

// Resolves a settings file name next to the executable (see IniPath in ini_win.cpp); returns the
// number of characters written.
size_t IniPath(wchar_t* buffer, size_t capacity, const wchar_t* name);
// Reads a file of 1 to 65,535 bytes into a new text; null when it is missing, empty, too large or
// cannot be read.
IniText IniLoad(const wchar_t* path);
// Sets key to a UTF-16 value converted to the system code page.
IniText IniSetString(const char* section, const char* key, const wchar_t* value, IniText text);
// Writes the text (without its NUL) so that the old file is replaced in one step; returns the number
// of bytes written, 0 when nothing could be written.
DWORD IniWrite(const wchar_t* path, const char* text);

}  // namespace qorv
