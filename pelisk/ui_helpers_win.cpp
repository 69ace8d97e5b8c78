#include "pelisk/ui_helpers_win.h"

#include <commctrl.h>

#include "common/ui_language_win.h"
#include "common/winsearch_win.h"
#include "pelisk/app_win.h"

namespace qorv {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text on Windows");

namespace {

const char16_t* AsU16(const wchar_t* s) { return reinterpret_cast<const char16_t*>(s); }

}  // namespace

int LoadText(UINT stringId, wchar_t* buffer, int capacity) {
  if (buffer == nullptr || capacity <= 0) return 0;
  buffer[0] = 0;
  const int n = LoadUiString(g_instance, stringId, buffer, capacity);
  if (n <= 0) buffer[0] = 0;
  return n > 0 ? n : 0;
}

int FillComboFromString(HWND combo, UINT stringId) {
  wchar_t text[129];
  if (LoadText(stringId, text, 129) == 0) return 0;
  int added = 0;
  const wchar_t* item = text;
  size_t length = 0;
  while (const char16_t* end = NextListItem(AsU16(item), &length)) {
    wchar_t part[129];
    for (size_t i = 0; i < length; ++i) part[i] = item[i];
    part[length] = 0;
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(part));
    ++added;
    if (*end == 0) break;
    item = reinterpret_cast<const wchar_t*>(end) + 1;
  }
  return added;
}

int StepScrollBar(HWND scrollBar, int code) {
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(scrollBar, SB_CTL, &info);
  const int position =
      StepScrollPosition(code, info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos, info.nTrackPos);
  SetScrollPos(scrollBar, SB_CTL, position, TRUE);
  return position;
}

HWND RevealHiddenControl(HWND page, POINT clientPoint, UINT options) {
  POINT screen = clientPoint;
  ClientToScreen(page, &screen);
  HWND found = ChildAtPoint(page, screen, nullptr, options);
  if (found == nullptr || found == page) return nullptr;
  ShowWindow(found, SW_SHOWNA);
  return found;
}

int ListColumnsFromString(HWND list, UINT stringId) {
  wchar_t text[64];
  LoadText(stringId, text, 64);
  ListColumnSpec columns[16];
  const size_t count = ParseListColumns(AsU16(text), columns, 16);
  for (size_t i = 0; i < count; ++i) {
    wchar_t name[64];
    const size_t n = columns[i].nameLength < 63 ? columns[i].nameLength : 63;
    for (size_t j = 0; j < n; ++j) name[j] = static_cast<wchar_t>(columns[i].name[j]);
    name[n] = 0;
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = columns[i].format;
    column.cx = columns[i].width;
    column.pszText = name;
    column.iSubItem = static_cast<int>(i);
    SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  const DWORD styles = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP;
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, styles, styles);
  return static_cast<int>(count);
}

int MoveListItem(HWND list, int index, int subItems, int step) {
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  const int target = ListMoveInsertPosition(index, step, count);
  if (target < 0) return -1;
  wchar_t text[260];
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
  item.iItem = index;
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.pszText = text;
  item.cchTextMax = 260;
  if (!SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  const bool checked = (item.state & LVIS_STATEIMAGEMASK) != INDEXTOSTATEIMAGEMASK(1);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  LVITEMW copy = {};
  copy.mask = LVIF_TEXT | LVIF_PARAM;
  copy.iItem = target;
  copy.pszText = text;
  copy.lParam = item.lParam;
  const int inserted = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&copy)));
  int result = -1;
  if (inserted >= 0) {
    const int old = inserted <= index ? index + 1 : index;
    for (int sub = 1; sub <= subItems; ++sub) {
      wchar_t subText[260] = {};
      LVITEMW get = {};
      get.iSubItem = sub;
      get.pszText = subText;
      get.cchTextMax = 260;
      SendMessageW(list, LVM_GETITEMTEXTW, old, reinterpret_cast<LPARAM>(&get));
      LVITEMW set = {};
      set.iSubItem = sub;
      set.pszText = subText;
      SendMessageW(list, LVM_SETITEMTEXTW, inserted, reinterpret_cast<LPARAM>(&set));
    }
    LVITEMW state = {};
    state.stateMask = LVIS_STATEIMAGEMASK;
    state.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendMessageW(list, LVM_SETITEMSTATE, inserted, reinterpret_cast<LPARAM>(&state));
    // The row's data now belongs to the copy: clear it in the old row before deleting it, so that
    // an owner freeing data on LVN_DELETEITEM does not free it.
    LVITEMW clear = {};
    clear.mask = LVIF_PARAM;
    clear.iItem = old;
    clear.lParam = 0;
    SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&clear));
    SendMessageW(list, LVM_DELETEITEM, old, 0);
    result = inserted > old ? inserted - 1 : inserted;
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  return result;
}

void CenterOverParent(HWND dialog) {
  HWND parent = GetParent(dialog);
  RECT p = {};
  RECT d = {};
  if (parent == nullptr || !GetWindowRect(parent, &p) || !GetWindowRect(dialog, &d)) return;
  const Point at = CenterIn(Rect{p.left, p.top, p.right, p.bottom}, d.right - d.left, d.bottom - d.top);
  MoveWindow(dialog, at.x, at.y, d.right - d.left, d.bottom - d.top, FALSE);
}

POINT CenterOnWorkArea(int width, int height) {
  RECT work = {};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
    work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  const Point at = CenterIn(Rect{work.left, work.top, work.right, work.bottom}, width, height);
  return {at.x, at.y};
}

INT_PTR SetDialogResult(HWND dialog, LONG_PTR result) {
  SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
  return TRUE;
}

bool AskToFix(HWND owner, UINT stringId) {
  wchar_t text[256];
  LoadText(stringId, text, 256);
  return MessageBoxW(owner, text, L" Warning ", MB_ICONWARNING | MB_YESNO) == IDYES;
}

bool HotkeyRegisters(HWND window, int id, uint32_t hotkey) {
  const UINT modifiers = (hotkey & hotkey::kModifierMask) >> 8;
  if (!RegisterHotKey(window, id, modifiers, hotkey & hotkey::kVkMask)) return false;
  UnregisterHotKey(window, id);
  return true;
}

}  // namespace qorv
