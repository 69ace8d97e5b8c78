#include "host/library_win.h"

#include <cwchar>

namespace qorv {

namespace {

template <typename T>
bool Bind(HMODULE module, T& fn, const char* name) {
  fn = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return fn != nullptr;
}

}  // namespace

bool PathBesideExe(const wchar_t* name, wchar_t* path) {
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  wchar_t* slash = wcsrchr(path, L'\\');
  if (slash == nullptr || static_cast<size_t>(slash - path) + 1 + wcslen(name) >= MAX_PATH) return false;
  wcscpy(slash + 1, name);
  return true;
}

bool LibraryLoad(const wchar_t* path, LibraryApi& api) {
  LibraryApi bound;
  bound.module = LoadLibraryW(path);
  if (bound.module == nullptr) return false;
  const HMODULE m = bound.module;
  const bool ok = Bind(m, bound.setHookFlag, "SetHookFlag") && Bind(m, bound.setHookGetMsg, "SetHookGetMsg") &&
                  Bind(m, bound.setHookCallWnd, "SetHookCallWnd") && Bind(m, bound.setHookMouse, "SetHookMouse") &&
                  Bind(m, bound.unHookGetMsg, "UnHookGetMsg") && Bind(m, bound.unHookCallWnd, "UnHookCallWnd") &&
                  Bind(m, bound.unHookMouse, "UnHookMouse") && Bind(m, bound.setHookLLMouse, "SetHookLLMouse") &&
                  Bind(m, bound.unHookLLMouse, "UnHookLLMouse") && Bind(m, bound.setHookDebug, "SetHookDebug") &&
                  Bind(m, bound.unHookDebug, "UnHookDebug");
  if (!ok) {
    FreeLibrary(m);
    return false;
  }
  api = bound;
  return true;
}

}  // namespace qorv
