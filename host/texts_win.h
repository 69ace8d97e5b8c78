// The texts that qorv.exe shows, from its string table in the user's language.
#pragma once
#include <windows.h>

#include <string>

#include "common/ui_language_win.h"
#include "host/resource.h"

namespace qorv {

inline std::wstring HostText(UINT id) {
  wchar_t text[256];
  const int n = LoadUiString(GetModuleHandleW(nullptr), id, text, 256);
  return std::wstring(text, static_cast<size_t>(n));
}

}  // namespace qorv
