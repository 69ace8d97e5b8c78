#include "common/winsearch_win.h"

namespace qorv {
namespace {

wchar_t Lower(wchar_t c) {
  return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(CharLowerW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(c)))));
}

}  // namespace

int CaseInsensitiveCompareW(const wchar_t* a, const wchar_t* b) {
  if (a == nullptr || b == nullptr) return a == b ? 0 : 1;
  for (; *a != L'\0' && *b != L'\0'; ++a, ++b) {
    const int diff = static_cast<int>(Lower(*a)) - static_cast<int>(Lower(*b));
    if (diff != 0) return diff;
  }
  return 0;
}

HWND TopLevelOf(HWND hwnd) {
  while (hwnd != nullptr && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) != 0) {
    HWND parent = GetParent(hwnd);
    if (parent == nullptr) break;
    hwnd = parent;
  }
  return hwnd;
}

}  // namespace qorv
