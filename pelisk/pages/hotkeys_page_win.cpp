// The hotkeys page (dialog 111): the thirteen hotkeys of the main program's actions. On OK it
// checks them for duplicates and for whether the system takes them, and lets the user go back.
#include <windows.h>

#include "common/winsearch_win.h"
#include "pelisk/app_win.h"
#include "pelisk/keyctl_win.h"
#include "pelisk/pages/hotkeys_page.h"
#include "pelisk/pages/page_text_win.h"
#include "pelisk/pages/pages_win.h"
#include "pelisk/resource.h"
#include "pelisk/ui_helpers_win.h"

namespace qorv {
namespace {

static_assert(kHotkeyPageCount == kPageHotkeyCount, "one control per page hotkey");

void InitPage(HWND page) {
  const bool limited = g_settings.KeyLimit != 0;
  for (int i = 0; i < kHotkeyPageCount; ++i) {
    HWND control = GetDlgItem(page, kHotkeyPageControls[i]);
    ConfigureKeyControl(control, limited);
    SendMessageW(control, KWM_SETVALUE, g_settings.HotkeyTable[i], 0);
  }
}

bool TryRegister(void* context, int id, uint32_t hotkey) {
  return HotkeyRegisters(static_cast<HWND>(context), id, hotkey);
}

// Reads the controls into the table (kept even when the user goes back) and runs the checks;
// 2 keeps the page open with the focus on the offending control.
LONG_PTR OnOk(HWND page) {
  uint32_t* table = g_settings.HotkeyTable;
  for (int i = 0; i < kHotkeyPageCount; ++i) {
    table[i] = static_cast<uint32_t>(SendDlgItemMessageW(page, kHotkeyPageControls[i], KWM_GETVALUE, 0, 0));
  }
  const int duplicate = HotkeyDuplicate(table);
  if (duplicate >= 0 && AskToFix(page, IDS_DUPLICATE_HOTKEY)) {
    SetFocus(GetDlgItem(page, kHotkeyPageControls[duplicate]));
    return 2;
  }
  const int failed = HotkeyFirstUnregistrable(table, &TryRegister, page);
  if (failed >= 0 && AskToFix(page, IDS_REGISTER_FAILED)) {
    SetFocus(GetDlgItem(page, kHotkeyPageControls[failed]));
    return 2;
  }
  return 1;
}

}  // namespace

INT_PTR CALLBACK HotkeysPageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      InitPage(page);
      return TRUE;
    case WM_COMMAND:
      if (lp == 0 && LOWORD(wp) == IDOK) return SetDialogResult(page, OnOk(page));
      if (lp == 0 && LOWORD(wp) == IDCANCEL) return SetDialogResult(page, 1);
      return FALSE;
    case WM_RBUTTONDBLCLK:
      RevealHiddenControl(page, MousePoint(lp), kChildNoHitTest);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace qorv
