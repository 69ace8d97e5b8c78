// A stand-in for the window manager's library, for the snapping tests: it reports the extended
// frame bounds of Windows 10 and 11 (invisible borders left, right and bottom) for the test windows
// whose name starts with "f", and the plain window rectangle for every other window.
#include <windows.h>

#include <cwchar>

#include "tests/wine/snap_protocol.h"

extern "C" __declspec(dllexport) HRESULT WINAPI
    DwmGetWindowAttribute(HWND hwnd, DWORD attribute, PVOID value, DWORD size) {
  if (attribute != 9 || value == nullptr || size != sizeof(RECT)) return E_INVALIDARG;
  RECT* bounds = static_cast<RECT*>(value);
  if (!GetWindowRect(hwnd, bounds)) return E_HANDLE;
  wchar_t title[256];
  GetWindowTextW(hwnd, title, 256);
  if (wcsstr(title, L":f") != nullptr) {
    bounds->left += snapapp::kBorder;
    bounds->right -= snapapp::kBorder;
    bounds->bottom -= snapapp::kBorder;
  }
  return S_OK;
}
