// The wheel page (dialog 114): WheelFlag's wheel forwarding, scroll conversion and precise
// scrolling. The controls hold the page's state; wheel_page.h decides.
#include <windows.h>

#include "pelisk/app_win.h"
#include "pelisk/pages/page_text_win.h"
#include "pelisk/pages/pages_win.h"
#include "pelisk/pages/wheel_page.h"
#include "pelisk/resource.h"
#include "pelisk/ui_helpers_win.h"

namespace qorv {
namespace {

namespace wp = wheel_page;
static_assert(wp::kVertScroll == IDC_WH_VCONVERT && wp::kDetectVert == IDC_WH_VBAR &&
                  wp::kShiftHorz == IDC_WH_HCONVERT && wp::kDetectHorz == IDC_WH_HBAR &&
                  wp::kSearchBars == IDC_WH_SEARCH && wp::kPrecise == IDC_WH_PRECISE && wp::kForward == IDC_WH_UNDER &&
                  wp::kActivate == IDC_WH_ACTIVATE && wp::kMdiActivate == IDC_WH_MDI &&
                  wp::kCtrlPage == IDC_WH_CTRLPAGE && wp::kVertCount == IDC_WH_VAMOUNT &&
                  wp::kHorzCount == IDC_WH_HAMOUNT && wp::kPreciseTime == IDC_WH_RECOVER &&
                  wp::kPreciseTimeLabel == IDC_WH_RECOVER_VALUE,
              "wheel page ids as in the resources");

int ComboSelection(HWND page, int id) {
  const LRESULT sel = SendDlgItemMessageW(page, id, CB_GETCURSEL, 0, 0);
  return sel == CB_ERR ? -1 : static_cast<int>(sel);
}

int ComboCount(HWND page, int id) {
  const LRESULT count = SendDlgItemMessageW(page, id, CB_GETCOUNT, 0, 0);
  return count == CB_ERR ? 0 : static_cast<int>(count);
}

WheelPageState ReadPage(HWND page) {
  WheelPageState s = {};
  for (int i = 0; i < kWheelPageCheckCount; ++i) {
    SetChecked(s.words, kWheelPageChecks[i], IsDlgButtonChecked(page, kWheelPageChecks[i].id) == BST_CHECKED);
  }
  s.ctrlPageShown = IsWindowVisible(GetDlgItem(page, wp::kCtrlPage)) != FALSE;
  s.vertItems = ComboCount(page, wp::kVertCount);
  s.horzItems = ComboCount(page, wp::kHorzCount);
  s.vertIndex = ComboSelection(page, wp::kVertCount);
  s.horzIndex = ComboSelection(page, wp::kHorzCount);
  s.preciseTime = static_cast<uint32_t>(GetScrollPos(GetDlgItem(page, wp::kPreciseTime), SB_CTL));
  return s;
}

void ShowPreciseTime(HWND page, uint32_t position) {
  char16_t text[16];
  PreciseTimeLabel(position, text, 16);
  SetDlgItemText16(page, wp::kPreciseTimeLabel, text);
}

// Boxes, list selections and the one enable rule; the tuning switch's visibility is left alone.
void ApplyPage(HWND page, const WheelPageState& s) {
  for (int i = 0; i < kWheelPageCheckCount; ++i) {
    CheckDlgButton(page, kWheelPageChecks[i].id, IsChecked(s.words, kWheelPageChecks[i]) ? BST_CHECKED : BST_UNCHECKED);
  }
  SendDlgItemMessageW(page, wp::kVertCount, CB_SETCURSEL, static_cast<WPARAM>(s.vertIndex), 0);
  SendDlgItemMessageW(page, wp::kHorzCount, CB_SETCURSEL, static_cast<WPARAM>(s.horzIndex), 0);
  EnableWindow(GetDlgItem(page, wp::kSearchBars), WheelPageSearchEnabled(s));
}

void InitPage(HWND page) {
  const int vertItems = FillComboFromString(GetDlgItem(page, wp::kVertCount), wp::kVertItems);
  const int horzItems = FillComboFromString(GetDlgItem(page, wp::kHorzCount), wp::kHorzItems);
  const WheelPageState s = WheelPageOpen(g_settings.WheelFlag, vertItems, horzItems);
  ApplyPage(page, s);
  if (s.ctrlPageShown) ShowWindow(GetDlgItem(page, wp::kCtrlPage), SW_SHOWNA);
  SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS,  0, static_cast<int>(wp::kPreciseTimeMax),
                   1,          static_cast<int>(s.preciseTime), 0};
  SetScrollInfo(GetDlgItem(page, wp::kPreciseTime), SB_CTL, &si, TRUE);
  ShowPreciseTime(page, s.preciseTime);
}

INT_PTR OnCommand(HWND page, WPARAM wp, LPARAM lp) {
  const int id = LOWORD(wp);
  const int code = HIWORD(wp);
  if (lp == 0 && (id == IDOK || id == IDCANCEL)) {
    if (id == IDOK) g_settings.WheelFlag = WheelPageFlag(ReadPage(page));
    return SetDialogResult(page, 1);
  }
  if (code == BN_CLICKED &&
      (id == wp::kVertScroll || id == wp::kDetectVert || id == wp::kShiftHorz || id == wp::kDetectHorz)) {
    WheelPageState s = ReadPage(page);
    WheelPageClick(s, id, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
    ApplyPage(page, s);
    return TRUE;
  }
  if (code == CBN_SELCHANGE && (id == wp::kVertCount || id == wp::kHorzCount)) {
    WheelPageState s = ReadPage(page);
    WheelPageSelect(s, id);
    ApplyPage(page, s);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

INT_PTR CALLBACK WheelPageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      InitPage(page);
      return TRUE;
    case WM_COMMAND:
      return OnCommand(page, wp, lp);
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lp) == GetDlgItem(page, wheel_page::kPreciseTime)) {
        ShowPreciseTime(page, static_cast<uint32_t>(StepScrollBar(reinterpret_cast<HWND>(lp), LOWORD(wp))));
        return TRUE;
      }
      return FALSE;
    case WM_RBUTTONDBLCLK:
      RevealHiddenControl(page, MousePoint(lp), 0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace qorv
