// The main window of qorv: starts everything when it is created (settings, table, tray, hook
// thread, hotkeys), dispatches the hooks' notifications, the hotkeys, the tray, the timers and the
// settings program's "QorvWnd" broadcasts, and removes every hook and hotkey before it ends (window
// closed, "qorv /quit", or logging off).
#include "host/texts_win.h"
#include "host/qorv_win.h"

#include "common/flags.h"
#include "host/actions_win.h"
#include "host/companion_win.h"
#include "host/elevation_win.h"
#include "host/hook_thread_win.h"
#include "host/hooks_wanted.h"
#include "host/hooks_win.h"
#include "host/host_win.h"
#include "host/hotkey_dispatch_win.h"
#include "host/hotkeys_win.h"
#include "host/layered_left_win.h"
#include "host/reports_win.h"
#include "host/test_witness_win.h"
#include "host/tray_icon_win.h"
#include "host/tray_win.h"
#include "host/wheel_reports_win.h"
#include "settings/ini_win.h"
#include "settings/settings_win.h"

namespace qorv {

Host g_host;
LibraryApi g_lib;

namespace {

constexpr UINT_PTR kTimerFast = 1;  // size tooltip, temporary translucency
constexpr UINT kFastMs = 250;
bool g_fastTimerOn;

// The fast timer runs only while it has work: a size tooltip to hide once the reports stop, or a
// temporarily translucent window to make opaque once the cursor leaves it.
void UpdateFastTimer(HWND hwnd) {
  const bool wanted = !g_host.stopping && (SizeTipShown() || ActionsFollowingCursor());
  if (wanted == g_fastTimerOn) return;
  g_fastTimerOn = wanted;
  if (wanted) {
    SetTimer(hwnd, kTimerFast, kFastMs, nullptr);
  } else {
    KillTimer(hwnd, kTimerFast);
  }
}

constexpr UINT_PTR kTimerHealth = 2;  // hook watch, windows kept at the bottom
constexpr UINT kHealthMs = 2000;

// wParam of the settings program's "QorvWnd" broadcast.
constexpr WPARAM kEditBegin = 1;
constexpr WPARAM kEditSaved = 2;
constexpr WPARAM kEditCancelled = 3;
constexpr WPARAM kMapSaved = 4;

// Reads "Qorv.ini" next to the executable; a missing or unreadable file gives the defaults.
void ReadSettings() {
  wchar_t path[MAX_PATH];
  IniPath(path, MAX_PATH, kSettingsFileName);
  IniText text = IniLoad(path);
  SettingsFromText(text, g_host.record);
  IniFree(text);
  g_host.conversionOn = (g_host.record.MouseBtn.btnFlag & btn_flag::kStartAtLaunch) != 0;
  g_host.debugOn = (DebugFlag() & debug_flag::kStartBlocking) != 0;
}

void CALLBACK ForegroundEvent(HWINEVENTHOOK, DWORD, HWND hwnd, LONG idObject, LONG, DWORD, DWORD) {
  if (idObject != OBJID_WINDOW || hwnd == nullptr) return;
  ActionsForegroundChanged(hwnd);
  CheckForegroundElevation(hwnd);
  // The debug hook for the foreground window's thread only follows the foreground.
  if (g_host.debugOn && !g_host.paused && (DebugFlag() & debug_flag::kForegroundOnly) != 0) HooksApply();
}

// The settings program's thread while it edits: if it ends without telling how editing ended
// (killed, crashed), editing counts as cancelled. A thread that cannot be opened is not watched.
void WatchEditor(DWORD threadId) {
  if (g_host.editorThread != nullptr) CloseHandle(g_host.editorThread);
  g_host.editorThread = threadId != 0 ? OpenThread(SYNCHRONIZE, FALSE, threadId) : nullptr;
}

void OnSettingsBroadcast(WPARAM wp, LPARAM lp);

// Called from the health timer. A timer message comes only when no posted message waits, so an
// ending "saved" or "cancelled" posted before the thread ended has been handled before this.
void CheckEditorAlive() {
  if (g_host.editorThread == nullptr || WaitForSingleObject(g_host.editorThread, 0) != WAIT_OBJECT_0) return;
  OnSettingsBroadcast(kEditCancelled, 0);
}

void OnSettingsBroadcast(WPARAM wp, LPARAM lp) {
  switch (wp) {
    case kEditBegin:
      g_host.editing = true;
      WatchEditor(static_cast<DWORD>(lp));
      ReleaseHotkeys();
      break;
    case kEditSaved:
      WatchEditor(0);
      g_host.editing = false;
      ReadSettings();
      HandOverFlags();
      g_host.reportedHotkeys = 0;  // a new set: its problems are told anew
      HooksApply(hooks_apply::kRestartConversion);
      RegisterHotkeys();
      ApplyTray();
      ApplyDiagnostics();
      break;
    case kEditCancelled:
      WatchEditor(0);
      g_host.editing = false;
      RegisterHotkeys();
      break;
    case kMapSaved:
      PublishTable();
      break;
    default:
      break;
  }
}

void Start(HWND hwnd) {
  g_host.hwnd = hwnd;
  g_host.taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  g_host.settingsMsg = RegisterWindowMessageW(L"QorvWnd");
  g_host.testDropWatch = TestWitnessStart();
  AllowLowerIntegrityMessages(hwnd);
  g_host.selfElevated = ElevationOfProcess(GetCurrentProcessId()) == ElevationState::Elevated;
  g_host.folderProtected = ProgramFolderProtected();
  ReadSettings();
  PublishTable();
  ApplyTray();
  LayeredLeftRetry();  // windows that an earlier copy left layered
  ActionsAdoptTemporary();
  if (!HooksStart()) Tell(HostText(IDS_HOOK_THREAD_FAILED).c_str(), true);
  RegisterHotkeys();
  CompanionStart();
  ApplyDiagnostics();
  g_host.foregroundHook = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, ForegroundEvent, 0,
                                          0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
  UpdateFastTimer(hwnd);
  SetTimer(hwnd, kTimerHealth, kHealthMs, nullptr);
}

// Everything that other programs would otherwise keep of us; at session end without the library's
// passes over every window.
void Stop(HWND hwnd, StopCause cause = StopCause::Exit) {
  if (g_host.stopping) return;
  const StopPlan plan = DecideStop(cause);
  g_host.sessionEnding = !plan.restorePasses;
  KillTimer(hwnd, kTimerFast);
  g_fastTimerOn = false;
  KillTimer(hwnd, kTimerHealth);
  if (g_host.foregroundHook != nullptr) UnhookWinEvent(g_host.foregroundHook);
  g_host.foregroundHook = nullptr;
  HotkeysRelease(hwnd);
  RemovePropW(hwnd, kPropHotkeysHeld);
  HooksStop();
  CompanionStop(g_host.sessionEnding);
  if (plan.undoOwnChanges) ActionsRestoreAll();
  SizeTipHide();
  DiagnosticsShow(g_host.instance, false);
  TrayRemove(hwnd);
  WatchEditor(0);
}

void OnCommand(HWND hwnd, WORD id) {
  switch (id) {
    case kCmdSettings:
      StartSettingsProgram();
      break;
    case kCmdPause:
      SetPaused(!g_host.paused);
      break;
    case kCmdAutoStart:
      if (!AutoStartSet(!AutoStartPresent())) Tell(HostText(IDS_AUTOSTART_FAILED).c_str(), true);
      break;
    case kCmdRestartAdmin:
      RestartAsAdministrator();
      break;
    case kCmdExit:
      DestroyWindow(hwnd);
      break;
    default:
      break;
  }
}

void OnTimer(WPARAM id) {
  if (id == kTimerFast) {
    SizeTipIdle();
    POINT pt;
    if (GetCursorPos(&pt)) ActionsCursorAt(pt.x, pt.y);
  } else if (id == kTimerHealth) {
    HooksCheckHealth();
    CheckEditorAlive();
    TrayRetry();
    ActionsKeepBottom();
    LayeredLeftRetry();
  }
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      Start(hwnd);
      return 0;
    case WM_HOTKEY:
    case kMouseHotkey:
      RunHotkey(static_cast<int>(wp));
      return 0;
    case kGetMsgNotify:
      OnGetMsgReport(wp, lp);
      UpdateFastTimer(hwnd);
      return 0;
    case kMouseNotify:
      OnMouseReport(wp, lp);
      UpdateFastTimer(hwnd);
      return 0;
    case kCallWndNotify:
      OnCallWndReport(wp, lp);
      UpdateFastTimer(hwnd);
      return 0;
    case kLLMouseNotify:
      OnLLMouseReport(wp, lp);
      return 0;
    case kHookThreadReply:
      HooksOnReply(wp, lp);
      return 0;
    case kCompanionHello:
      CompanionOnHello(reinterpret_cast<HWND>(wp));
      return 0;
    case kCompanionEnded:
      CompanionOnEnded();
      return 0;
    case kTrayCallback:
      OnTrayCallback(lp);
      return 0;
    case WM_TIMER:
      OnTimer(wp);
      if (wp == kTimerFast) UpdateFastTimer(hwnd);
      return 0;
    case WM_COMMAND:
      OnCommand(hwnd, LOWORD(wp));
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION: {
      // The process may be ended right after this message without WM_DESTROY: what qorv itself
      // changed is undone first, then the window goes, so that nothing more is handled on the way
      // out. The library's passes over every window are skipped: those windows are being closed.
      const StopCause cause = wp ? StopCause::SessionEnds : StopCause::SessionContinues;
      if (DecideStop(cause).stop) {
        Stop(hwnd, cause);
        DestroyWindow(hwnd);
      }
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      Stop(hwnd);
      PostQuitMessage(0);
      return 0;
    default:
      if (msg == g_host.settingsMsg && g_host.settingsMsg != 0) {
        OnSettingsBroadcast(wp, lp);
        return 0;
      }
      if (msg == g_host.testDropWatch && g_host.testDropWatch != 0) {
        HookThreadDropWatch();
        return 0;
      }
      if (msg == g_host.taskbarCreated && g_host.taskbarCreated != 0) {
        ApplyTray();  // the shell restarted: put the icon back
        return 0;
      }
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace qorv
