// The hook library bound at run time: its file beside the program and the exports the main program
// calls. The 32-bit companion binds its own library the same way.
#pragma once
#include <windows.h>

#include "hooklib/vantel.h"

namespace qorv {

struct LibraryApi {
  HMODULE module = nullptr;
  SetHookFlagFn setHookFlag = nullptr;
  SetHookFn setHookGetMsg = nullptr;
  SetHookFn setHookCallWnd = nullptr;
  SetHookFn setHookMouse = nullptr;
  UnHookFn unHookGetMsg = nullptr;
  UnHookFn unHookCallWnd = nullptr;
  UnHookFn unHookMouse = nullptr;
  SetHookLLMouseFn setHookLLMouse = nullptr;
  UnHookFn unHookLLMouse = nullptr;
  SetHookDebugFn setHookDebug = nullptr;
  UnHookFn unHookDebug = nullptr;
};

// A file beside the executable; false when the path does not fit into MAX_PATH characters.
bool PathBesideExe(const wchar_t* name, wchar_t* path);

// Loads the library from a full path and binds every export; false (and the module freed) when
// the file is missing or an export is.
bool LibraryLoad(const wchar_t* path, LibraryApi& api);

}  // namespace qorv
