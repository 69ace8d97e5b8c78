// A stand-in for the window manager's library, for the snapping tests: it reports the extended
// frame bounds of Windows 10 and 11 (invisible borders left, right and bottom) for the test windows
// whose name starts with "f", twice those for names starting with "g" (a window at twice the
// scale), and the plain window rectangle for every other window.
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
  const int border = wcsstr(title, L":f") != nullptr   ? snapapp::kBorder
                     : wcsstr(title, L":g") != nullptr ? snapapp::kScaledBorder
                                                       : 0;
  bounds->left += border;
  bounds->right -= border;
  bounds->bottom -= border;
  return S_OK;
}
