// The window page (dialog 115): translucency while moving and sizing, frame dragging, the size
// display, snapping and its tuning switches, and the wheel's front and translucency functions.
// While a level's thumb is dragged the settings window itself shows that level.
// The common-controls header needs <windows.h> before it.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <new>

#include "common/layered_win.h"
#include "pelisk/app_win.h"
#include "pelisk/pages/page_text_win.h"
#include "pelisk/pages/pages_win.h"
#include "pelisk/pages/window_page.h"
#include "pelisk/resource.h"
#include "pelisk/ui_helpers_win.h"

namespace qorv {
namespace {

namespace wp = window_page;
static_assert(wp::kMoveTranslucent == IDC_WN_MOVE_LAYER && wp::kSizeTranslucent == IDC_WN_SIZE_LAYER &&
                  wp::kNoDirectX == IDC_WN_DIRECTX && wp::kLevelCaption == IDC_WN_LEVEL_LABEL &&
                  wp::kMoveLevel == IDC_WN_LEVEL && wp::kMoveLevelLabel == IDC_WN_LEVEL_VALUE &&
                  wp::kFrameDrag == IDC_WN_FRAMEDRAG && wp::kShowSize == IDC_WN_SHOWSIZE && wp::kSnap == IDC_WN_SNAP &&
                  wp::kSnapCaption == IDC_WN_SNAP_LABEL && wp::kSnapPixels == IDC_WN_SNAP_PIXELS &&
                  wp::kSnapArrows == IDC_WN_SNAP_SPIN && wp::kSnapInner == IDC_WN_SNAP_INSIDE &&
                  wp::kSnapHide == IDC_WN_SNAPHIDE && wp::kSnapRgn == IDC_WN_SNAPRGN &&
                  wp::kNoSnapLay == IDC_WN_NOSNAPLAY && wp::kNoSnapChildWnd == IDC_WN_NOSNAPCHILD &&
                  wp::kNoSnapRgnClient == IDC_WN_NOSNAPRGNCLIENT && wp::kWheelFront == IDC_WN_WHEEL_FRONT &&
                  wp::kWheelTranslucent == IDC_WN_WHEEL_LAYER && wp::kTempTranslucent == IDC_WN_TEMP_LAYER &&
                  wp::kInitialCaption == IDC_WN_INIT_LABEL && wp::kInitialLevel == IDC_WN_INIT_LEVEL &&
                  wp::kInitialLevelLabel == IDC_WN_INIT_VALUE,
              "window page ids as in the resources");

// Controls whose enabled state the page decides.
constexpr int kRuledControls[] = {
    wp::kTempTranslucent, wp::kNoDirectX,         wp::kWheelTranslucent, wp::kMoveTranslucent, wp::kSizeTranslucent,
    wp::kInitialCaption,  wp::kInitialLevelLabel, wp::kInitialLevel,     wp::kLevelCaption,    wp::kMoveLevelLabel,
    wp::kMoveLevel,       wp::kSnapPixels,        wp::kSnapArrows,       wp::kSnapInner,       wp::kNoSnapRgnClient,
};

constexpr UINT_PTR kLevelBarSubclass = 1;

struct WindowPage {
  HWND preview;  // the settings window while it shows a level, otherwise null
  PreviewState previewState;
  WindowPageState opened;  // as the page opened
};

WindowPage* PageOf(HWND page) { return reinterpret_cast<WindowPage*>(GetWindowLongPtrW(page, DWLP_USER)); }

// Carries out a step of the preview machine.
void Preview(HWND page, PreviewEvent e, int level) {
  WindowPage* p = PageOf(page);
  if (p == nullptr) return;
  HWND window = p->preview != nullptr ? p->preview : GetAncestor(page, GA_ROOT);
  const bool layered = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
  switch (PreviewStep(p->previewState, e, layered)) {
    case PreviewAction::SetAlpha:
      p->preview = window;
      SetLayeredAttributes(window, 0, LevelPreviewAlpha(level), LWA_ALPHA);
      break;
    case PreviewAction::Restore:
      SetLayeredAttributes(p->preview, 0, 255, 0);
      p->preview = nullptr;
      break;
    case PreviewAction::None:
      break;
  }
}

// The level bars lose the capture when a drag is broken off (another window takes it, the
// settings window is deactivated); the page hears of it only here.
LRESULT CALLBACK LevelBarProc(HWND bar, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg == WM_CAPTURECHANGED) Preview(GetParent(bar), PreviewEvent::CaptureLost, 0);
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(bar, LevelBarProc, kLevelBarSubclass);
  return DefSubclassProc(bar, msg, wp, lp);
}

// The position of a level bar; kLevelUnread when there is no bar or it cannot tell.
int LevelOf(HWND bar) {
  SCROLLINFO si = {sizeof(si), SIF_POS, 0, 0, 0, 0, 0};
  return bar != nullptr && GetScrollInfo(bar, SB_CTL, &si) ? si.nPos : kLevelUnread;
}

WindowPageState ReadPage(HWND page) {
  const WindowPage* p = PageOf(page);
  WindowPageState s = p != nullptr ? p->opened : WindowPageOpen(g_settings.MainFlag, g_settings.WndFlag);
  for (int i = 0; i < kWindowPageCheckCount; ++i) {
    SetChecked(s.words, kWindowPageChecks[i], IsDlgButtonChecked(page, kWindowPageChecks[i].id) == BST_CHECKED);
  }
  s.initialLevel = LevelOf(GetDlgItem(page, wp::kInitialLevel));
  s.moveLevel = LevelOf(GetDlgItem(page, wp::kMoveLevel));
  BOOL ok = FALSE;
  const UINT pixels = GetDlgItemInt(page, wp::kSnapPixels, &ok, FALSE);
  s.snapPixels = ok ? pixels : 0;
  return s;
}

// trigger: 0 when the page opens, else the clicked box.
void ApplyEnables(HWND page, const WindowPageState& s, int trigger) {
  for (int id : kRuledControls) {
    if (WindowPageRuleApplies(id, trigger)) EnableWindow(GetDlgItem(page, id), WindowPageEnabled(s, id, g_layeredApiMask));
  }
}

void ShowLevel(HWND page, int labelId, int level) {
  char16_t text[16];
  LevelLabel(level, text, 16);
  SetDlgItemText16(page, labelId, text);
}

void InitLevelBar(HWND page, int barId, int labelId, int position, int label) {
  HWND bar = GetDlgItem(page, barId);
  SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, wp::kLevelMin, wp::kLevelMax, 1, position, 0};
  SetScrollInfo(bar, SB_CTL, &si, TRUE);
  ShowLevel(page, labelId, label);
  SetWindowSubclass(bar, LevelBarProc, kLevelBarSubclass, 0);
}

void InitPage(HWND page) {
  WindowPage* p = new (std::nothrow) WindowPage();
  const WindowPageState s = WindowPageOpen(g_settings.MainFlag, g_settings.WndFlag);
  if (p != nullptr) p->opened = s;
  SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<LONG_PTR>(p));
  for (int i = 0; i < kWindowPageCheckCount; ++i) {
    CheckDlgButton(page, kWindowPageChecks[i].id,
                   IsChecked(s.words, kWindowPageChecks[i]) ? BST_CHECKED : BST_UNCHECKED);
  }
  for (int i = 0; i < kWindowPageTuningCount; ++i) {
    if ((s.tuningShown & kWindowPageTuning[i].bit) != 0)
      ShowWindow(GetDlgItem(page, kWindowPageTuning[i].id), SW_SHOWNA);
  }
  InitLevelBar(page, wp::kInitialLevel, wp::kInitialLevelLabel, s.initialLevel, s.initialLabel);
  InitLevelBar(page, wp::kMoveLevel, wp::kMoveLevelLabel, s.moveLevel, s.moveLabel);
  SendDlgItemMessageW(page, wp::kSnapPixels, EM_LIMITTEXT, wp::kSnapDigits, 0);
  SCROLLINFO si = {
      sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, wp::kSnapMin, wp::kSnapMax, 1, static_cast<int>(s.snapPixels), 0};
  SetScrollInfo(GetDlgItem(page, wp::kSnapArrows), SB_CTL, &si, TRUE);
  SetDlgItemInt(page, wp::kSnapPixels, s.snapPixels, FALSE);
  ApplyEnables(page, s, 0);
}

void OnLevelScroll(HWND page, HWND bar, int code) {
  const int level = StepScrollBar(bar, code);
  if (code == SB_THUMBTRACK) Preview(page, PreviewEvent::ThumbTrack, level);
  if (code == SB_THUMBPOSITION) Preview(page, PreviewEvent::ThumbRelease, level);
  if (code == SB_ENDSCROLL) Preview(page, PreviewEvent::EndScroll, level);
  ShowLevel(page, GetDlgCtrlID(bar) == wp::kInitialLevel ? wp::kInitialLevelLabel : wp::kMoveLevelLabel, level);
}

void OnSnapArrows(HWND page, int code) {
  BOOL ok = FALSE;
  const UINT number = GetDlgItemInt(page, wp::kSnapPixels, &ok, FALSE);
  SetDlgItemInt(page, wp::kSnapPixels, SnapStep(ok ? number : 0, code), FALSE);
}

INT_PTR OnCommand(HWND page, WPARAM wp, LPARAM lp) {
  const int id = LOWORD(wp);
  if (lp == 0 && (id == IDOK || id == IDCANCEL)) {
    if (id == IDOK) WindowPageStore(ReadPage(page), g_settings.MainFlag, g_settings.WndFlag);
    return SetDialogResult(page, 1);
  }
  if (HIWORD(wp) == BN_CLICKED && FindCheck(kWindowPageChecks, kWindowPageCheckCount, id) != nullptr) {
    ApplyEnables(page, ReadPage(page), id);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

INT_PTR CALLBACK WindowPageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      InitPage(page);
      return TRUE;
    case WM_COMMAND:
      return OnCommand(page, wp, lp);
    case WM_HSCROLL: {
      HWND bar = reinterpret_cast<HWND>(lp);
      if (bar != nullptr && (bar == GetDlgItem(page, wp::kInitialLevel) || bar == GetDlgItem(page, wp::kMoveLevel))) {
        OnLevelScroll(page, bar, LOWORD(wp));
        return TRUE;
      }
      return FALSE;
    }
    case WM_VSCROLL:
      if (reinterpret_cast<HWND>(lp) == GetDlgItem(page, wp::kSnapArrows)) {
        OnSnapArrows(page, LOWORD(wp));
        return TRUE;
      }
      return FALSE;
    case WM_RBUTTONDBLCLK:
      RevealHiddenControl(page, MousePoint(lp), 0);
      return TRUE;
    case WM_DESTROY:
      // The page may go while a thumb is held (the settings window closes mid-drag).
      Preview(page, PreviewEvent::PageDestroyed, 0);
      return FALSE;
    case WM_NCDESTROY:
      delete PageOf(page);
      SetWindowLongPtrW(page, DWLP_USER, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace qorv
