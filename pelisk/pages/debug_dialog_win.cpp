// Debug settings dialog (dialog 106): which kinds of other programs' hooks to block, the reports
// to show, and the hotkey that switches the blocking. Modeless; it ends the program's message loop
// with 1 (OK) or 2 (Cancel).
#include <initializer_list>

#include "pelisk/app_win.h"
#include "pelisk/keyctl_win.h"
#include "pelisk/pages/debug_dialog.h"
#include "pelisk/pages/pages_win.h"
#include "pelisk/resource.h"
#include "pelisk/ui_helpers_win.h"

namespace qorv {

namespace {

constexpr int kDebugHotkeyId = 14;

void InitDialog(HWND dialog) {
  HICON icon =
      static_cast<HICON>(LoadImageW(g_instance, MAKEINTRESOURCEW(IDI_MAIN), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
  if (icon != nullptr) SetClassLongPtrW(dialog, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
  if (g_platformId < 2) {
    for (int id : {IDC_DB_FORWND, IDC_DB_STARTUP, IDC_DB_HOTKEY}) EnableWindow(GetDlgItem(dialog, id), FALSE);
    for (int id = IDC_DB_HOOK_FIRST; id <= IDC_DB_HOOK_LAST; ++id) EnableWindow(GetDlgItem(dialog, id), FALSE);
  }
  const uint32_t flags = g_settings.HotkeyTable[kHotkeyDebugFlag];
  for (const DebugCheckBox& box : kDebugCheckBoxes) {
    if ((flags & box.mask) != 0) CheckDlgButton(dialog, box.id, BST_CHECKED);
  }
  HWND hotkey = GetDlgItem(dialog, IDC_DB_HOTKEY);
  ConfigureKeyControl(hotkey, g_settings.KeyLimit != 0);
  SendMessageW(hotkey, KWM_SETVALUE, g_settings.HotkeyTable[kHotkeyDbgHook], 0);
}

// OK: false when the user chose to go back and fix the hotkey.
bool Accept(HWND dialog) {
  uint32_t flags = 0;
  for (const DebugCheckBox& box : kDebugCheckBoxes) {
    if (IsDlgButtonChecked(dialog, box.id) == BST_CHECKED) flags |= box.mask;
  }
  HWND control = GetDlgItem(dialog, IDC_DB_HOTKEY);
  const uint32_t hotkey = static_cast<uint32_t>(SendMessageW(control, KWM_GETVALUE, 0, 0));
  if ((hotkey & hotkey::kVkMask) != 0) {
    if (DebugHotkeyDuplicate(hotkey, g_settings.HotkeyTable) >= 0 && AskToFix(dialog, IDS_DUPLICATE_HOTKEY)) {
      SetFocus(control);
      return false;
    }
    if (!HotkeyRegisters(dialog, kDebugHotkeyId, hotkey) && AskToFix(dialog, IDS_REGISTER_FAILED)) {
      SetFocus(control);
      return false;
    }
  }
  g_settings.HotkeyTable[kHotkeyDebugFlag] = flags;
  g_settings.HotkeyTable[kHotkeyDbgHook] = hotkey;
  return true;
}

}  // namespace

INT_PTR CALLBACK DebugDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      InitDialog(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        if (Accept(dialog)) {
          DestroyWindow(dialog);
          PostQuitMessage(1);
        }
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        DestroyWindow(dialog);
        PostQuitMessage(2);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace qorv
