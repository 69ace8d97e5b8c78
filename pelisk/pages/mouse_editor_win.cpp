// Mouse-button conversion editor (dialog 123): the converted button, the condition boxes and the key
// to produce. The key control also takes mouse buttons (double click over it) and wheel turns
// (Shift + wheel over it).
#include <windows.h>

#include "common/flags.h"
#include "common/ui_language_win.h"
#include "pelisk/app_win.h"
#include "pelisk/keyctl_win.h"
#include "pelisk/pages/mouse_page.h"
#include "pelisk/pages/mouse_win.h"
#include "pelisk/resource.h"
#include "pelisk/ui_helpers_win.h"

namespace qorv {
namespace {

static_assert(IDC_BE_LEFT == 1207 && IDC_BE_RIGHT == 1208 && IDC_BE_MIDDLE == 1209 && IDC_BE_X1 == 1212 &&
                  IDC_BE_X2 == 1213 && IDC_BE_SHIFT == 1214 && IDC_BE_CTRL == 1215 && IDC_BE_ALT == 1216 &&
                  IDC_BE_WIN == 1217 && IDC_BE_ENABLED == 1092 && IDC_BE_SUPPRESS == 1088 && IDC_BE_REPORT == 1089 &&
                  IDC_BE_MSG == 1090,
              "condition boxes agree with the resources");

ButtonPair* PairOf(HWND dialog) { return reinterpret_cast<ButtonPair*>(GetWindowLongPtrW(dialog, GWLP_USERDATA)); }

bool OverKeyControl(HWND dialog, POINT screenPoint) {
  RECT rect;
  return GetWindowRect(GetDlgItem(dialog, IDC_BE_KEY), &rect) && PtInRect(&rect, screenPoint);
}

void SetKey(HWND dialog, uint32_t key) {
  if (key != 0) SendDlgItemMessageW(dialog, IDC_BE_KEY, KWM_SETVALUE, key, 0);
}

void InitEditor(HWND dialog, const ButtonPair& pair) {
  HWND combo = GetDlgItem(dialog, IDC_BE_BUTTON);
  FillComboFromString(combo, IDS_BUTTON_NAMES);
  CenterOverParent(dialog);
  HWND key = GetDlgItem(dialog, IDC_BE_KEY);
  wchar_t none[16];
  LoadText(IDS_NONE, none, 16);
  SendMessageW(key, KWM_SETEMPTYTEXT, 0, reinterpret_cast<LPARAM>(none));
  SendMessageW(key, KWM_SETFLAGS, 0x1000, KWS_MODIFIERMENU | KWS_WHEELSCAN);
  // An index without a name selects nothing; OK then keeps it.
  SendMessageW(combo, CB_SETCURSEL, mousepage::ButtonIndex(pair.condition), 0);
  for (const mousepage::ConditionBox& box : mousepage::kConditionBoxes) {
    CheckDlgButton(dialog, box.control, (pair.condition & box.bit) != 0 ? BST_CHECKED : BST_UNCHECKED);
  }
  SendMessageW(key, KWM_SETVALUE, pair.key, 0);
  if ((pair.condition & btn_cond::kReport) != 0) ShowWindow(GetDlgItem(dialog, IDC_BE_REPORT), SW_SHOWNA);
  if ((pair.condition & btn_cond::kPostMessages) != 0) ShowWindow(GetDlgItem(dialog, IDC_BE_MSG), SW_SHOWNA);
}

void AcceptEditor(HWND dialog, ButtonPair& pair) {
  uint32_t checked = 0;
  for (const mousepage::ConditionBox& box : mousepage::kConditionBoxes) {
    if (IsDlgButtonChecked(dialog, box.control) == BST_CHECKED) checked |= box.bit;
  }
  const int selection = static_cast<int>(SendDlgItemMessageW(dialog, IDC_BE_BUTTON, CB_GETCURSEL, 0, 0));
  pair.condition = mousepage::EditorCondition(pair.condition, selection, checked);
  pair.key = static_cast<uint32_t>(SendDlgItemMessageW(dialog, IDC_BE_KEY, KWM_GETVALUE, 0, 0));
}

bool OnDoubleClick(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
  POINT pt = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  POINT screen = pt;
  ClientToScreen(dialog, &screen);
  if (OverKeyControl(dialog, screen)) {
    mousepage::MouseAction action = mousepage::MouseAction::kLeftDouble;
    if (message == WM_RBUTTONDBLCLK) action = mousepage::MouseAction::kRightDouble;
    if (message == WM_MBUTTONDBLCLK) action = mousepage::MouseAction::kMiddleDouble;
    if (message == WM_XBUTTONDBLCLK) action = mousepage::MouseAction::kXDouble;
    SetKey(dialog, mousepage::KeyFromDoubleClick(action, GET_XBUTTON_WPARAM(wp)));
    return true;
  }
  if (message == WM_RBUTTONDBLCLK) RevealHiddenControl(dialog, pt, 0);
  return true;
}

INT_PTR CALLBACK ButtonEditorProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, GWLP_USERDATA, lp);
    InitEditor(dialog, *reinterpret_cast<ButtonPair*>(lp));
    return TRUE;
  }
  ButtonPair* pair = PairOf(dialog);
  if (pair == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDOK:
          AcceptEditor(dialog, *pair);
          EndDialog(dialog, 1);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 2);
          return TRUE;
        case IDC_BE_ENABLED:
          EnableWindow(GetDlgItem(dialog, IDC_BE_KEY), IsDlgButtonChecked(dialog, IDC_BE_ENABLED) == BST_CHECKED);
          return TRUE;
        case IDC_BE_NOTE:
          if (HIWORD(wp) == STN_DBLCLK) {
            for (const mousepage::ConditionBox& box : mousepage::kConditionBoxes) {
              if ((box.bit & mousepage::kConditionCheckBits) != 0) CheckDlgButton(dialog, box.control, BST_UNCHECKED);
            }
          }
          return TRUE;
        default:
          return FALSE;
      }
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDBLCLK:
      return OnDoubleClick(dialog, message, wp, lp) ? TRUE : FALSE;
    case WM_MOUSEWHEEL: {
      POINT screen = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      if (!OverKeyControl(dialog, screen)) return FALSE;
      const bool shift = (GET_KEYSTATE_WPARAM(wp) & MK_SHIFT) != 0;
      SetKey(dialog, mousepage::KeyFromWheel(GET_WHEEL_DELTA_WPARAM(wp), shift));
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR RunButtonEditor(HWND owner, ButtonPair& pair) {
  ButtonPair edited = pair;
  const DLGTEMPLATE* dialogTemplate = UiDialogTemplate(g_instance, IDD_BUTTON_EDITOR);
  if (dialogTemplate == nullptr) return 2;
  const INT_PTR result =
      DialogBoxIndirectParamW(g_instance, dialogTemplate, owner, ButtonEditorProc, reinterpret_cast<LPARAM>(&edited));
  if (result != 1) return 2;
  pair = edited;
  return 1;
}

}  // namespace qorv
