// Window page (dialog 115): shows its controls as the resource has them and accepts OK and Cancel without changing
// the settings.
#include "settings/pages/pages_win.h"
#include "settings/ui_helpers_win.h"

namespace qorv {

INT_PTR CALLBACK WindowPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) return SetDialogResult(page, 1);
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace qorv
