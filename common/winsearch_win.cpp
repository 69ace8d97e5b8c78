#include "common/winsearch_win.h"

namespace qorv {
namespace {

wchar_t Lower(wchar_t c) {
  return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(CharLowerW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(c)))));
}

struct ChildSearch {
  HWND container;
  POINT pt;
  HWND excluded;
  UINT flags;
  HWND found;
};

bool PointIn(const RECT& r, POINT pt) { return pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom; }

bool PointInClient(HWND hwnd, POINT pt) {
  RECT client;
  if (!GetClientRect(hwnd, &client)) return false;
  POINT origin = {0, 0};
  ClientToScreen(hwnd, &origin);
  OffsetRect(&client, origin.x, origin.y);
  return PointIn(client, pt);
}

// The point lies in the window's rectangle and, where it has one, in its window region.
bool PointInWindowShape(HWND hwnd, POINT pt) {
  RECT rect;
  if (!GetWindowRect(hwnd, &rect) || !PointIn(rect, pt)) return false;
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (region == nullptr) return true;
  bool inside = true;
  const int kind = GetWindowRgn(hwnd, region);
  if (kind == SIMPLEREGION || kind == COMPLEXREGION) inside = PtInRegion(region, pt.x - rect.left, pt.y - rect.top) != FALSE;
  DeleteObject(region);
  return inside;
}

BOOL CALLBACK ChildTestProc(HWND hwnd, LPARAM lp) {
  ChildSearch& s = *reinterpret_cast<ChildSearch*>(lp);
  if (hwnd == s.excluded) return TRUE;
  const LONG_PTR style = Style(hwnd);
  const LONG_PTR exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  if ((s.flags & kChildVisible) != 0 && (style & WS_VISIBLE) == 0) return TRUE;
  if ((s.flags & kChildEnabled) != 0 && (style & WS_DISABLED) != 0) return TRUE;
  if ((s.flags & kChildSkipTransparent) != 0 && (exStyle & WS_EX_TRANSPARENT) != 0) return TRUE;
  if ((s.flags & kChildSkipClickThrough) != 0 && (exStyle & WS_EX_TRANSPARENT) != 0 &&
      (exStyle & WS_EX_LAYERED) != 0) {
    return TRUE;
  }
  if (!PointInWindowShape(hwnd, s.pt)) return TRUE;
  if (s.container != nullptr) {
    HWND parent = GetParent(hwnd);
    if (s.found == nullptr) {
      if (parent != s.container || !PointInClient(s.container, s.pt)) return TRUE;
    } else if (parent == s.container) {
      return TRUE;  // a sibling of the one found, lower in the z-order
    } else if (!IsChild(s.found, hwnd)) {
      return TRUE;
    } else {
      if (!PointInClient(s.found, s.pt)) return FALSE;
      s.container = s.found;
      if (GetParent(hwnd) != s.container) return TRUE;  // deeper levels come through their own parent
    }
  }
  if ((s.flags & kChildNoHitTest) == 0) {
    DWORD_PTR hit = 0;
    if (!SendMessageTimeoutW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(s.pt.x, s.pt.y), SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &hit)) {
      return FALSE;
    }
    if (static_cast<LRESULT>(hit) <= 0) return TRUE;
  }
  s.found = hwnd;
  return s.container != nullptr ? TRUE : FALSE;
}

}  // namespace

HWND ChildAtPoint(HWND container, POINT pt, HWND excluded, UINT flags) {
  ChildSearch search = {container, pt, excluded, flags, nullptr};
  if (container != nullptr) {
    EnumChildWindows(container, ChildTestProc, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    RECT rect;
    if (GetWindowRect(container, &rect) && PointIn(rect, pt)) return container;
    return nullptr;
  }
  EnumWindows(ChildTestProc, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WindowAtPoint(POINT pt) {
  HWND hwnd = WindowFromPoint(pt);
  if (hwnd == nullptr) return nullptr;
  DWORD_PTR hit = 0;
  if (!SendMessageTimeoutW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y), SMTO_ABORTIFHUNG, kSendTimeoutMs, &hit) ||
      static_cast<LRESULT>(hit) > 0) {
    return hwnd;
  }
  HWND scope = (Style(hwnd) & WS_CHILD) != 0 ? GetParent(hwnd) : hwnd;
  ChildSearch search = {scope, pt, nullptr, kChildVisible | kChildEnabled, nullptr};
  if (scope != nullptr) EnumChildWindows(scope, ChildTestProc, reinterpret_cast<LPARAM>(&search));
  return search.found != nullptr ? search.found : hwnd;
}

int CaseInsensitiveCompareW(const wchar_t* a, const wchar_t* b) {
  if (a == nullptr || b == nullptr) return a == b ? 0 : 1;
  for (; *a != L'\0' && *b != L'\0'; ++a, ++b) {
    const int diff = static_cast<int>(Lower(*a)) - static_cast<int>(Lower(*b));
    if (diff != 0) return diff;
  }
  return 0;
}

HWND TopLevelOf(HWND hwnd) {
  while (hwnd != nullptr && (Style(hwnd) & WS_CHILD) != 0) {
    HWND parent = GetParent(hwnd);
    if (parent == nullptr) break;
    hwnd = parent;
  }
  return hwnd;
}

bool Responsive(HWND hwnd) {
  const DWORD thread = GetWindowThreadProcessId(hwnd, nullptr);
  if (thread == 0) return false;
  if (thread == GetCurrentThreadId()) return true;
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored) != 0;
}

LONG_PTR Style(HWND hwnd) { return GetWindowLongPtrW(hwnd, GWL_STYLE); }

int HitTest(HWND hwnd, POINT pt) {
  return static_cast<int>(DefWindowProcW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
}

int OwnHitTest(HWND hwnd, POINT pt) {
  const LPARAM lp = MAKELPARAM(pt.x, pt.y);
  if (GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId()) {
    return static_cast<int>(SendMessageW(hwnd, WM_NCHITTEST, 0, lp));
  }
  DWORD_PTR hit = 0;
  if (!SendMessageTimeoutW(hwnd, WM_NCHITTEST, 0, lp, SMTO_ABORTIFHUNG, kSendTimeoutMs, &hit)) return HTNOWHERE;
  return static_cast<int>(static_cast<LRESULT>(hit));
}

uint32_t HeldMouseKeys() {
  static const struct {
    int vk;
    uint32_t bit;
  } kKeys[] = {{VK_LBUTTON, MK_LBUTTON}, {VK_RBUTTON, MK_RBUTTON}, {VK_SHIFT, MK_SHIFT},    {VK_CONTROL, MK_CONTROL},
               {VK_MBUTTON, MK_MBUTTON}, {VK_XBUTTON1, MK_XBUTTON1}, {VK_XBUTTON2, MK_XBUTTON2}};
  uint32_t keys = 0;
  for (const auto& k : kKeys) {
    if (GetKeyState(k.vk) < 0) keys |= k.bit;
  }
  return keys;
}

}  // namespace qorv
