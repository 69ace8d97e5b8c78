#include "hooklib/scroll_win.h"

#include "common/winsearch_win.h"
#include "hooklib/core_win.h"
#include "hooklib/scroll.h"
#include "hooklib/wheel.h"
#include "hooklib/win_util_win.h"

namespace qorv {
namespace {

uint32_t BarDirection(LONG_PTR style, uint32_t filter) {
  if ((style & (SBS_SIZEBOX | SBS_SIZEGRIP)) != 0) return 0;
  const uint32_t direction = (style & SBS_VERT) != 0 ? kDirVert : kDirHorz;
  return (filter == 0 || (filter & direction) != 0) ? direction : 0;
}

// One search of FindScrollBarChild.
struct BarSearch {
  HWND found;
  HWND reference;
  uint32_t direction;
  POINT cursor;
  int cxVScroll;
  int cyHScroll;
};

BOOL CALLBACK BarCandidateProc(HWND child, LPARAM lp) {
  BarSearch& search = *reinterpret_cast<BarSearch*>(lp);
  const LONG_PTR style = Style(child);
  if ((style & WS_DISABLED) != 0 || (style & WS_VISIBLE) == 0) return TRUE;
  HWND candidate = child;
  if (ScrollBarKind(child, search.direction) == 0) {
    if ((style & WS_CHILD) == 0 || NuiScrollBarKind(child, search.direction) == 0) return TRUE;
    candidate = GetParent(child);
  }
  RECT candidateRect;
  RECT referenceRect;
  if (!GetWindowRect(candidate, &candidateRect) || !GetWindowRect(search.reference, &referenceRect)) return TRUE;
  const Rect searchRect = ScrollSearchRect(ToRect(referenceRect), search.direction, search.cxVScroll, search.cyHScroll);
  if (!RectsOverlap(ToRect(candidateRect), searchRect)) return TRUE;
  if (search.found == nullptr) {
    search.found = candidate;
    return TRUE;
  }
  RECT foundRect;
  if (!GetWindowRect(search.found, &foundRect)) return TRUE;
  if (PreferCandidate(ToRect(foundRect), ToRect(candidateRect), (style & SBS_VERT) != 0,
                      {search.cursor.x, search.cursor.y})) {
    search.found = candidate;
  }
  return TRUE;
}

bool SteppableChild(HWND hwnd) {
  const LONG_PTR style = Style(hwnd);
  return (style & WS_CHILD) != 0 && (style & WS_DLGFRAME) == 0 &&
         (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD) == 0;
}

UINT ScanCode(UINT vk) { return MapVirtualKeyW(vk, 0); }

void PostKey(HWND hwnd, UINT message, UINT vk, LPARAM flags) {
  PostMessageW(hwnd, message, vk, static_cast<LPARAM>(ScanCode(vk)) << 16 | flags);
}

// Goes to the parent folder from file list `list`, or back with Alt held. Explorer windows of
// version 6 and later understand Alt+Up and, with Alt already down, Left; elsewhere Backspace goes up.
int GoUp(HWND list, bool alt) {
  HWND top = TopLevelOf(list);
  if (g_osMajorVersion >= 6 &&
      (WindowClassIs(top, L"CabinetWClass", 64) || WindowClassIs(top, L"ExploreWClass", 64))) {
    if (alt) {
      SendKeyCombo(0, VK_LEFT);
    } else {
      SendKeyCombo(1, VK_UP);
    }
    return 2;
  }
  if (alt) {
    PostKey(list, WM_SYSKEYDOWN, VK_LEFT, 0x21000001);
  } else {
    PostKey(list, WM_KEYDOWN, VK_BACK, 1);
  }
  return 1;
}

void KeyEvent(BYTE vk, UINT scanVk, DWORD flags) {
  keybd_event(vk, static_cast<BYTE>(ScanCode(scanVk)), flags, 0);
}

}  // namespace

bool WindowClassIs(HWND hwnd, const wchar_t* name, int bufferChars) {
  wchar_t buffer[260];
  if (hwnd == nullptr || bufferChars > 260) return false;
  const int length = GetClassNameW(hwnd, buffer, bufferChars);
  return length == lstrlenW(name) && CaseInsensitiveCompareW(buffer, name) == 0;
}

uint32_t ScrollBarKind(HWND hwnd, uint32_t filter) {
  if (!WindowClassIs(hwnd, L"ScrollBar", 16)) return 0;
  return BarDirection(Style(hwnd), filter);
}

uint32_t NuiScrollBarKind(HWND hwnd, uint32_t filter) {
  HWND parent = GetParent(hwnd);
  if (!WindowClassIs(parent, L"NUIScrollbar", 16)) return 0;
  return BarDirection(Style(parent), filter);
}

HWND FindScrollableAncestor(HWND hwnd, uint32_t required, uint32_t forbidden) {
  if (hwnd == nullptr || (Style(hwnd) & WS_CHILD) == 0) return nullptr;
  for (HWND parent = GetParent(hwnd); parent != nullptr; parent = GetParent(parent)) {
    const auto style = static_cast<uint32_t>(Style(parent));
    if ((style & forbidden) == 0 && (style & required) == required) return parent;
    if ((style & WS_CHILD) == 0) return nullptr;
  }
  return nullptr;
}

HWND FindScrollBarChild(HWND hwnd, uint32_t direction, POINT cursor) {
  HWND start = hwnd;
  for (int level = 0; level < 2 && SteppableChild(start); ++level) {
    HWND parent = GetParent(start);
    if (parent == nullptr) break;
    start = parent;
  }
  BarSearch search = {nullptr, hwnd, direction, cursor, GetSystemMetrics(SM_CXVSCROLL),
                      GetSystemMetrics(SM_CYHSCROLL)};
  EnumChildWindows(start, BarCandidateProc, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr && start != hwnd) {
    search.reference = start;
    EnumChildWindows(start, BarCandidateProc, reinterpret_cast<LPARAM>(&search));
  }
  return search.found;
}

int RenameSelectHelper(HWND list, HWND edit, int mode) {
  if (!WindowClassIs(edit, L"Edit", 260)) return 0;
  if (!WindowClassIs(list != nullptr ? list : GetParent(edit), L"SysListView32", 260)) return 0;
  DWORD start = 0;
  DWORD end = 0;
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end),
                           SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored)) {
    return 0;
  }
  const int length = GetWindowTextLengthW(edit);
  if (length <= 0) return 0;
  auto* text = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, (static_cast<SIZE_T>(length) + 1) * sizeof(wchar_t)));
  if (text == nullptr) return 0;
  const int read = GetWindowTextW(edit, text, length + 1);
  int dot = -1;
  for (const wchar_t* p = text; *p != L'\0';) {
    if (*p == L'.') dot = static_cast<int>(p - text);
    const wchar_t* next = CharNextW(p);
    if (next == p) break;
    p = next;
  }
  HeapFree(GetProcessHeap(), 0, text);
  if (read <= 0) return 0;
  const Selection next = RenameSelection(mode, dot, read, {static_cast<int32_t>(start), static_cast<int32_t>(end)});
  PostMessageW(edit, EM_SETSEL, static_cast<WPARAM>(next.start), static_cast<LPARAM>(next.end));
  return dot;
}

int EditSelectAll(HWND hwnd) {
  const LONG_PTR style = Style(hwnd);
  if ((style & WS_CHILD) == 0 || (style & WS_VISIBLE) == 0 || (style & WS_DISABLED) != 0) return 0;
  if (!WindowClassIs(hwnd, L"Edit", 16)) return 0;
  if (IsWindowUnicode(hwnd)) {
    const int length = GetWindowTextLengthW(hwnd);
    if (length != 0) PostMessageW(hwnd, EM_SETSEL, 0, length);
    return length;
  }
  const int length = GetWindowTextLengthA(hwnd);
  if (length != 0) PostMessageA(hwnd, EM_SETSEL, 0, length);
  return length;
}

int UpFolderByClick(HWND hwnd) {
  if (WindowClassIs(hwnd, L"SysTreeView32", 64)) {
    PostKey(hwnd, WM_KEYDOWN, VK_BACK, 1);
    return 2;
  }
  if (!WindowClassIs(hwnd, L"SysListView32", 64)) return 0;
  if (!WindowClassIs(GetParent(hwnd), L"SHELLDLL_DefView", 64)) return 0;
  if (WindowClassIs(TopLevelOf(hwnd), L"Progman", 64)) return -1;
  return GoUp(hwnd, GetKeyState(VK_MENU) < 0);
}

int UpFolderByDoubleClick(HWND parent, const NMITEMACTIVATE* notify, int act) {
  if (notify == nullptr || notify->hdr.code != static_cast<UINT>(NM_DBLCLK)) return 0;
  HWND list = notify->hdr.hwndFrom;
  if (!WindowClassIs(list, L"SysListView32", 64) || !WindowClassIs(parent, L"SHELLDLL_DefView", 64)) return 0;
  if (notify->iItem != -1) {
    LVHITTESTINFO hit = {};
    hit.pt = notify->ptAction;
    DWORD_PTR index = 0;
    if (!SendMessageTimeoutW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit), SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &index)) {
      return 0;
    }
    if (static_cast<int>(index) == -1 || (hit.flags & 0x0E) != 0) return 0;
  }
  if (WindowClassIs(TopLevelOf(parent), L"Progman", 64)) return -1;
  if (notify->uKeyFlags >= 2) return 0;
  if (act == 0) return 3;
  return GoUp(list, (notify->uKeyFlags & 1) != 0);
}

void SendKeyCombo(uint32_t modifiers, uint32_t vk) {
  struct Modifier {
    uint32_t bit;
    BYTE vk;
    UINT scanVk;
  };
  static const Modifier kOrder[] = {{4, VK_SHIFT, VK_LSHIFT}, {2, VK_CONTROL, VK_LCONTROL}, {1, VK_MENU, VK_LMENU},
                                    {8, VK_LWIN, VK_LWIN}};
  uint32_t pressed = 0;
  for (const Modifier& m : kOrder) {
    if ((modifiers & m.bit) == 0) continue;
    const bool down = m.bit == 8 ? (GetKeyState(VK_LWIN) < 0 || GetKeyState(VK_RWIN) < 0) : GetKeyState(m.vk) < 0;
    if (down) continue;
    KeyEvent(m.vk, m.scanVk, 0);
    pressed |= m.bit;
  }
  const BYTE key = static_cast<BYTE>(vk & 0xFF);
  KeyEvent(key, key, 0);
  KeyEvent(key, key, KEYEVENTF_KEYUP);
  for (const Modifier& m : kOrder) {
    if ((pressed & m.bit) != 0) KeyEvent(m.vk, m.scanVk, KEYEVENTF_KEYUP);
  }
}

}  // namespace qorv
