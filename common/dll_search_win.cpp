#include "common/dll_search_win.h"

#include <windows.h>

namespace qorv {

void LoadSystemDllsOnly() {
  using SetDirsFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  FARPROC found = kernel != nullptr ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
  auto set = reinterpret_cast<SetDirsFn>(reinterpret_cast<void*>(found));
  if (set != nullptr) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace qorv
