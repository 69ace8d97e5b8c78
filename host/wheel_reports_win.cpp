#include "host/wheel_reports_win.h"

#include <cwchar>

#include "common/flags.h"
#include "host/actions_win.h"
#include "host/events.h"
#include "host/host_win.h"
#include "host/reports_win.h"
#include "host/tray_win.h"
#include "host/volume.h"

namespace qorv {

namespace {

constexpr UINT kHitTestTimeoutMs = 20;

HWND RootAt(int x, int y) {
  HWND hwnd = WindowFromPoint(POINT{x, y});
  return hwnd != nullptr ? GetAncestor(hwnd, GA_ROOT) : nullptr;
}

bool IsDesktopAt(int x, int y) {
  HWND root = RootAt(x, y);
  if (root == nullptr) return false;
  wchar_t name[16];
  if (GetClassNameW(root, name, 16) == 0) return false;
  return wcscmp(name, L"Progman") == 0 || wcscmp(name, L"WorkerW") == 0;
}

bool OverCaption(HWND root, int x, int y) {
  DWORD_PTR hit = 0;
  if (!SendMessageTimeoutW(root, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, kHitTestTimeoutMs, &hit)) {
    return false;
  }
  return hit == HTCAPTION || hit == HTSYSMENU || hit == HTMINBUTTON || hit == HTMAXBUTTON || hit == HTCLOSE ||
         hit == HTHELP;
}

void OnWheelReport(WPARAM wp, LPARAM lp) {
  const WheelReport report = DecodeWheelReport(wp, lp);
  if (!report.valid) return;
  const uint32_t mainFlag = MainFlag();
  const POINT pt = {report.x, report.y};
  WheelFacts facts = {};
  RECT icon;
  facts.overTrayIcon =
      (mainFlag & main_flag::kTrayVolume) != 0 && TrayIconRect(g_host.hwnd, icon) && PtInRect(&icon, pt);
  facts.overDesktop = (mainFlag & main_flag::kDesktopVolume) != 0 && IsDesktopAt(pt.x, pt.y);
  HWND root = nullptr;
  if (WheelNeedsCaption(mainFlag)) {
    root = RootAt(pt.x, pt.y);
    facts.overCaption = root != nullptr && root != g_host.hwnd && OverCaption(root, pt.x, pt.y);
  }
  const WheelDecision decision = DecideWheelReport(report, mainFlag, facts);
  if (decision.volumeSteps != 0) VolumeStep(g_host.volume, decision.volumeSteps);
  if (decision.bringToFront && GetForegroundWindow() != root && !SetForegroundWindow(root)) {
    // Windows refuses the activation to a program in the background: the window comes up at least.
    SetWindowPos(root, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
  }
  if (decision.makeTranslucent) {
    ActionsTemporaryTranslucent(root,
                                LevelToAlpha(mainFlag, main_flag::kInitialLevelMask, main_flag::kInitialLevelShift));
  }
}

}  // namespace

void OnGetMsgReport(WPARAM wp, LPARAM lp) {
  if ((DebugFlag() & debug_flag::kShowGetMsgHook) != 0) DiagnosticsAdd(DiagSource::GetMsg, wp, lp);
  OnWheelReport(wp, lp);
}

void OnMouseReport(WPARAM wp, LPARAM lp) {
  if ((DebugFlag() & debug_flag::kShowMouseHook) != 0) DiagnosticsAdd(DiagSource::Mouse, wp, lp);
  int x = 0;
  int y = 0;
  UnpackPoint(lp, x, y);
  ActionsCursorAt(x, y);
}

void OnCallWndReport(WPARAM wp, LPARAM lp) {
  if ((wp & 0xFFFF) == WM_NCACTIVATE) ActionsForegroundChanged(reinterpret_cast<HWND>(lp));
  SizeTipReport(g_host.hwnd, wp, lp);
}

void OnLLMouseReport(WPARAM wp, LPARAM lp) {
  if ((DebugFlag() & debug_flag::kShowLLMouseReports) != 0) DiagnosticsAdd(DiagSource::LLMouse, wp, lp);
}

void ApplyDiagnostics() {
  const uint32_t bits = debug_flag::kShowGetMsgHook | debug_flag::kShowMouseHook | debug_flag::kShowLLMouseReports;
  DiagnosticsShow(g_host.instance, (DebugFlag() & bits) != 0);
}

}  // namespace qorv
