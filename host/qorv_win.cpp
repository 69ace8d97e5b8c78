// qorv: the resident main program. It holds the presence mutex, loads the hook library, reads
// "Qorv.ini" and hands the library the flag words, publishes the per-window table, installs the
// hooks with its hidden top-level window as owner, registers the hotkeys of the "HotKey" section and
// carries out their actions, acts on the hooks' notifications, shows a tray icon with a Japanese
// menu, watches that its hooks stay installed, follows the settings program's "QorvWnd" broadcasts,
// and removes every hook and hotkey before it ends (window closed, "qorv /quit", or logging off).
#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

#include <cwchar>

#include "common/flags.h"
#include "hooklib/vantel.h"
#include "host/actions_win.h"
#include "host/events.h"
#include "host/health.h"
#include "host/hotkeys.h"
#include "host/hotkeys_win.h"
#include "host/layered_left_win.h"
#include "host/publish_win.h"
#include "host/reports_win.h"
#include "host/resource.h"
#include "host/texts_win.h"
#include "host/tray_win.h"
#include "host/volume_win.h"
#include "settings/ini_win.h"
#include "settings/settings.h"
#include "settings/settings_win.h"

namespace {

using namespace qorv;

constexpr wchar_t kMainClass[] = L"QorvMainWnd";
constexpr wchar_t kTitle[] = L"Qorv";
constexpr wchar_t kIconBitmapFile[] = L"QorvIcon.bmp";
constexpr UINT kGetMsgNotify = WM_APP + 1;
constexpr UINT kCallWndNotify = WM_APP + 2;
constexpr UINT kMouseNotify = WM_APP + 3;
constexpr UINT kLLMouseNotify = WM_APP + 4;
constexpr UINT kMouseHotkey = WM_APP + 5;  // wParam: hotkey id seen on the low-level mouse hook

constexpr UINT_PTR kTimerFast = 1;  // size tooltip, temporary translucency
constexpr UINT kFastMs = 250;
constexpr UINT_PTR kTimerHealth = 2;  // hook watch, windows kept at the bottom
constexpr UINT kHealthMs = 2000;
constexpr UINT kHitTestTimeoutMs = 20;

// wParam of the settings program's "QorvWnd" broadcast.
constexpr WPARAM kEditBegin = 1;
constexpr WPARAM kEditSaved = 2;
constexpr WPARAM kEditCancelled = 3;
constexpr WPARAM kMapSaved = 4;

// Hook kinds in the failure bits.
constexpr uint32_t kHookGetMsg = 0x01;
constexpr uint32_t kHookCallWnd = 0x02;
constexpr uint32_t kHookMouse = 0x04;
constexpr uint32_t kHookConversion = 0x08;
constexpr uint32_t kHookDebug = 0x10;
constexpr uint32_t kHookWatch = 0x20;

// The names of the hotkeys for the user are strings IDS_HOTKEY_NAME_FIRST + table index.

// Owned kernel handle: closes once, cannot be copied.
class Handle {
 public:
  explicit Handle(HANDLE h = nullptr) : h_(h) {}
  ~Handle() { Reset(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE Get() const { return h_; }
  void Reset(HANDLE h = nullptr) {
    if (h_ != nullptr) CloseHandle(h_);
    h_ = h;
  }

 private:
  HANDLE h_;
};

struct Library {
  HMODULE module = nullptr;
  SetHookFlagFn setHookFlag = nullptr;
  SetHookFn setHookGetMsg = nullptr;
  SetHookFn setHookCallWnd = nullptr;
  SetHookFn setHookMouse = nullptr;
  UnHookFn unHookGetMsg = nullptr;
  UnHookFn unHookCallWnd = nullptr;
  UnHookFn unHookMouse = nullptr;
  SetHookLLMouseFn setHookLLMouse = nullptr;
  UnHookFn unHookLLMouse = nullptr;
  SetHookDebugFn setHookDebug = nullptr;
  UnHookFn unHookDebug = nullptr;
};

struct Host {
  HINSTANCE instance = nullptr;
  HWND hwnd = nullptr;
  UINT settingsMsg = 0;        // registered "QorvWnd"
  UINT taskbarCreated = 0;     // registered "TaskbarCreated"
  SettingsRecord record = {};  // the words of "Qorv.ini" as last read
  uint32_t extraFlag = 0;      // table number and table bit as last handed over
  TablePublisher* publisher = nullptr;
  bool hooksInstalled = false;
  bool paused = false;
  bool editing = false;       // the settings program runs: hotkeys released
  bool conversionOn = false;  // mouse-button conversion wanted
  bool debugOn = false;       // debug hook wanted
  uint32_t failedHooks = 0;
  uint32_t ownedHooks = 0;  // kinds installed by this program: only these are ever removed
  uint32_t reportedHookFailures = 0;
  uint32_t reportedHotkeys = 0;
  uint32_t reinstalls = 0;  // low-level hooks found removed and installed again
  HookWatch watch = {};
  HICON icon = nullptr;
  bool iconOwned = false;
  HWINEVENTHOOK foregroundHook = nullptr;
  ElevationNotice elevation = {};
  bool selfElevated = false;
  CoreAudioVolume volume;
};

Library g_lib;
Host g_host;

template <typename T>
bool Bind(T& fn, const char* name) {
  fn = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(g_lib.module, name)));
  return fn != nullptr;
}

// A file beside the executable; false when the path does not fit.
bool PathBesideExe(const wchar_t* name, wchar_t* path) {
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  wchar_t* slash = wcsrchr(path, L'\\');
  if (slash == nullptr || static_cast<size_t>(slash - path) + 1 + wcslen(name) >= MAX_PATH) return false;
  wcscpy(slash + 1, name);
  return true;
}

bool LoadLibraryBesideExe() {
  wchar_t path[MAX_PATH];
  if (!PathBesideExe(L"vantel.dll", path)) return false;
  g_lib.module = LoadLibraryW(path);
  if (g_lib.module == nullptr) return false;
  return Bind(g_lib.setHookFlag, "SetHookFlag") && Bind(g_lib.setHookGetMsg, "SetHookGetMsg") &&
         Bind(g_lib.setHookCallWnd, "SetHookCallWnd") && Bind(g_lib.setHookMouse, "SetHookMouse") &&
         Bind(g_lib.unHookGetMsg, "UnHookGetMsg") && Bind(g_lib.unHookCallWnd, "UnHookCallWnd") &&
         Bind(g_lib.unHookMouse, "UnHookMouse") && Bind(g_lib.setHookLLMouse, "SetHookLLMouse") &&
         Bind(g_lib.unHookLLMouse, "UnHookLLMouse") && Bind(g_lib.setHookDebug, "SetHookDebug") &&
         Bind(g_lib.unHookDebug, "UnHookDebug");
}

uint32_t MainFlag() { return g_host.record.MainFlag; }
uint32_t DebugFlag() { return g_host.record.HotkeyTable[kHotkeyDebugFlag]; }

// Reads "Qorv.ini" next to the executable; a missing or unreadable file gives the defaults.
void ReadSettings() {
  wchar_t path[MAX_PATH];
  IniPath(path, MAX_PATH, kSettingsFileName);
  IniText text = IniLoad(path);
  SettingsFromText(text, g_host.record);
  IniFree(text);
}

void HandOverFlags() {
  g_lib.setHookFlag(g_host.record.MainFlag, g_host.record.WheelFlag, g_host.record.WndFlag, g_host.extraFlag);
}

// Publishes the per-window table under a new number and hands it over; the old table stays until then.
void PublishTable() {
  const uint32_t extra = g_host.publisher->Publish();
  if (extra == 0) return;  // keep the table in force
  g_host.extraFlag = extra;
  HandOverFlags();
  g_host.publisher->ReleasePrevious();
}

// --- Telling the user -------------------------------------------------------------------------

DWORD WINAPI MessageThread(LPVOID text) {
  MessageBoxW(nullptr, static_cast<wchar_t*>(text), kTitle, MB_ICONWARNING | MB_TOPMOST | MB_SETFOREGROUND);
  HeapFree(GetProcessHeap(), 0, text);
  return 0;
}

// A balloon on the tray icon; without an icon a message box on a thread of its own, so that the
// hooks and hotkeys go on working while it is open.
void Tell(const wchar_t* text, bool warning) {
  if (TrayBalloon(g_host.hwnd, text, warning)) return;
  const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
  void* copy = HeapAlloc(GetProcessHeap(), 0, bytes);
  if (copy == nullptr) return;
  memcpy(copy, text, bytes);
  HANDLE thread = CreateThread(nullptr, 0, MessageThread, copy, 0, nullptr);
  if (thread == nullptr) {
    HeapFree(GetProcessHeap(), 0, copy);
    return;
  }
  CloseHandle(thread);
}

void UpdateTip() {
  wchar_t tip[128];
  if (g_host.paused) {
    wcscpy(tip, HostText(IDS_TIP_PAUSED).c_str());
  } else if (g_host.failedHooks != 0) {
    wcscpy(tip, HostText(IDS_TIP_HOOKS_MISSING).c_str());
  } else if (g_host.reinstalls != 0) {
    swprintf(tip, 128, HostText(IDS_TIP_REINSTALLED).c_str(), g_host.reinstalls);
  } else {
    wcscpy(tip, HostText(IDS_TIP_RUNNING).c_str());
  }
  TraySetTip(g_host.hwnd, tip);
}

void ReportHookFailures() {
  const uint32_t fresh = g_host.failedHooks & ~g_host.reportedHookFailures;
  g_host.reportedHookFailures |= g_host.failedHooks;
  UpdateTip();
  if (fresh == 0) return;
  static const struct {
    uint32_t bit;
    UINT name;
  } kNames[] = {{kHookGetMsg, IDS_HOOK_GETMSG}, {kHookCallWnd, IDS_HOOK_CALLWND},
                {kHookMouse, IDS_HOOK_MOUSE},   {kHookConversion, IDS_HOOK_CONVERSION},
                {kHookDebug, IDS_HOOK_DEBUG},   {kHookWatch, IDS_HOOK_WATCH}};
  wchar_t text[256];
  wcsncpy(text, HostText(IDS_HOOKS_FAILED).c_str(), 255);
  text[255] = 0;
  for (const auto& n : kNames) {
    const std::wstring name = HostText(n.name);
    if ((fresh & n.bit) == 0 || wcslen(text) + name.size() + 2 >= 256) continue;
    wcscat(text, L" ");
    wcscat(text, name.c_str());
  }
  Tell(text, true);
}

// --- Hooks ------------------------------------------------------------------------------------

void SetFailed(uint32_t bit, bool failed) {
  if (failed) {
    g_host.failedHooks |= bit;
  } else {
    g_host.failedHooks &= ~bit;
    g_host.reportedHookFailures &= ~bit;
  }
}

// Records an install's outcome: the removal exports remove whatever is installed, so a kind that
// another program holds (the install said -1) must never be removed by us.
void Installed(uint32_t bit, bool ok) {
  SetFailed(bit, !ok);
  if (ok) {
    g_host.ownedHooks |= bit;
  } else {
    g_host.ownedHooks &= ~bit;
  }
}

void Remove(uint32_t bit, UnHookFn unhook) {
  if ((g_host.ownedHooks & bit) == 0) return;
  if (unhook() == 1) g_host.ownedHooks &= ~bit;
}

DWORD DebugThread() {
  if ((DebugFlag() & debug_flag::kForegroundOnly) == 0) return 0;
  HWND front = GetForegroundWindow();
  return front != nullptr ? GetWindowThreadProcessId(front, nullptr) : 0;
}

void ApplyConversion() {
  const bool want = g_host.conversionOn && g_host.hooksInstalled;
  if (want) {
    Installed(kHookConversion, g_lib.setHookLLMouse(g_host.hwnd, kLLMouseNotify, &g_host.record.MouseBtn, 0) == 1);
  } else {
    Remove(kHookConversion, g_lib.unHookLLMouse);
    SetFailed(kHookConversion, false);
  }
}

void ApplyDebug() {
  const bool want = g_host.debugOn && g_host.hooksInstalled;
  if (want) {
    const DWORD owner = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(g_host.hwnd));
    const int result = g_lib.setHookDebug(owner, DebugFlag() & debug_flag::kHookKindMask, DebugThread());
    Installed(kHookDebug, result == 1 || result == 2);
  } else {
    Remove(kHookDebug, g_lib.unHookDebug);
    SetFailed(kHookDebug, false);
  }
}

// The program's own low-level mouse hook runs while a mouse hotkey is held or the conversion runs
// (as the witness that low-level hooks are still called).
void ApplyMouseWatch() {
  const uint32_t* words = g_host.record.HotkeyTable;
  const bool hotkeys = !g_host.editing && AnyMouseHotkey(words, kHotkeyActionCount);
  const bool conversion = g_host.conversionOn && g_host.hooksInstalled;
  if (!hotkeys && !conversion) {
    MouseWatchRemove();
    SetFailed(kHookWatch, false);
    return;
  }
  static const uint32_t kNone[1] = {0};
  const bool fresh = !MouseWatchInstalled();
  const bool ok = hotkeys ? MouseWatchInstall(g_host.hwnd, kMouseHotkey, words, kHotkeyActionCount)
                          : MouseWatchInstall(g_host.hwnd, kMouseHotkey, kNone, 0);
  SetFailed(kHookWatch, !ok);
  POINT pt;
  if (ok && fresh && GetCursorPos(&pt)) {
    // A new hook is watched from here: where the cursor is now is no move it has missed.
    g_host.watch = {MouseWatchEvents(), pt.x, pt.y, 0};
  }
}

void InstallHooks() {
  HandOverFlags();
  Installed(kHookGetMsg, g_lib.setHookGetMsg(g_host.hwnd, kGetMsgNotify, 0) == 1);
  Installed(kHookCallWnd, g_lib.setHookCallWnd(g_host.hwnd, kCallWndNotify, 0) == 1);
  Installed(kHookMouse, g_lib.setHookMouse(g_host.hwnd, kMouseNotify, 0) == 1);
  g_host.hooksInstalled = true;
  ApplyConversion();
  ApplyDebug();
  ApplyMouseWatch();
  ReportHookFailures();
}

// Removes every hook; the message hook's removal first restores rolled-up and translucent windows,
// and what the hotkeys did to other windows is undone too.
void RemoveHooks() {
  if (!g_host.hooksInstalled) return;
  g_host.hooksInstalled = false;
  Remove(kHookDebug, g_lib.unHookDebug);
  Remove(kHookConversion, g_lib.unHookLLMouse);
  Remove(kHookMouse, g_lib.unHookMouse);
  Remove(kHookCallWnd, g_lib.unHookCallWnd);
  Remove(kHookGetMsg, g_lib.unHookGetMsg);
  ActionsRestoreAll();
  g_host.failedHooks &= kHookWatch;
  ApplyMouseWatch();
}

void SetPaused(bool paused) {
  if (paused == g_host.paused) return;
  g_host.paused = paused;
  if (paused) {
    RemoveHooks();
  } else {
    InstallHooks();
  }
  UpdateTip();
}

// Windows removes a low-level hook whose thread once answers too slowly, without telling anyone.
void CheckHookHealth() {
  if (!MouseWatchInstalled()) return;
  POINT pt;
  if (!GetCursorPos(&pt)) return;
  if (HookWatchStep(g_host.watch, MouseWatchEvents(), pt.x, pt.y) != HookHealth::Lost) return;
  MouseWatchRemove();
  ApplyMouseWatch();
  if (g_host.conversionOn && g_host.hooksInstalled) {
    // The conversion's hook suffers from the same stalls: it is started afresh too.
    Remove(kHookConversion, g_lib.unHookLLMouse);
    ApplyConversion();
  }
  ++g_host.reinstalls;
  if (g_host.reinstalls == 1) Tell(HostText(IDS_HOOK_REINSTALLED).c_str(), false);
  UpdateTip();
}

// --- Hotkeys ----------------------------------------------------------------------------------

void RegisterHotkeys() {
  const uint32_t failed = HotkeysRegister(g_host.hwnd, g_host.record.HotkeyTable, kHotkeyActionCount);
  ApplyMouseWatch();
  const uint32_t fresh = failed & ~g_host.reportedHotkeys;
  g_host.reportedHotkeys |= failed;
  if (fresh == 0) return;
  wchar_t text[256];
  wcsncpy(text, HostText(IDS_HOTKEYS_FAILED).c_str(), 255);
  text[255] = 0;
  for (int id = 0; id < kHotkeyActionCount; ++id) {
    const std::wstring name = HostText(IDS_HOTKEY_NAME_FIRST + id);
    if ((fresh & (1u << id)) == 0 || wcslen(text) + name.size() + 2 >= 256) continue;
    wcscat(text, L" ");
    wcscat(text, name.c_str());
  }
  Tell(text, true);
}

void ReleaseHotkeys() {
  HotkeysRelease(g_host.hwnd);
  ApplyMouseWatch();
}

void StartSettingsProgram() {
  wchar_t path[MAX_PATH];
  if (!PathBesideExe(L"pelisk.exe", path) || GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
    Tell(HostText(IDS_NO_SETTINGS_PROGRAM).c_str(), true);
    return;
  }
  wchar_t dir[MAX_PATH];
  wcscpy(dir, path);
  *wcsrchr(dir, L'\\') = 0;
  ShellExecuteW(nullptr, L"open", path, nullptr, dir, SW_SHOWNORMAL);
}

void RunHotkey(int id) {
  const HotkeyAction action = HotkeyActionOf(id);
  HWND target = nullptr;
  switch (action) {
    case HotkeyAction::None:
      return;
    case HotkeyAction::Prop:
      StartSettingsProgram();
      return;
    case HotkeyAction::Pause:
      SetPaused(!g_host.paused);
      return;
    case HotkeyAction::VolUp:
    case HotkeyAction::VolDown:
      VolumeStep(g_host.volume, action == HotkeyAction::VolUp ? 1 : -1);
      return;
    case HotkeyAction::VolMute:
      VolumeToggleMute(g_host.volume);
      return;
    case HotkeyAction::MouseBtn:
      g_host.conversionOn = !g_host.conversionOn;
      ApplyConversion();
      ApplyMouseWatch();
      ReportHookFailures();
      return;
    case HotkeyAction::DbgHook:
      g_host.debugOn = !g_host.debugOn;
      ApplyDebug();
      ReportHookFailures();
      return;
    default:
      break;
  }
  target = ActionTarget(g_host.hwnd);
  if (target == nullptr) return;
  switch (action) {
    case HotkeyAction::LayTop:
      ActionToggleTranslucent(target,
                              LevelToAlpha(MainFlag(), main_flag::kInitialLevelMask, main_flag::kInitialLevelShift));
      break;
    case HotkeyAction::WndTop:
      ActionToggleTopmost(target);
      break;
    case HotkeyAction::WndBtm:
      ActionToggleBottom(target);
      break;
    case HotkeyAction::PrioHigh:
    case HotkeyAction::PrioLow:
      ActionStepPriority(target, action == HotkeyAction::PrioHigh);
      break;
    case HotkeyAction::WndMin:
      ActionMinimize(target);
      break;
    case HotkeyAction::WndMax:
      ActionMaximizeOrRestore(target);
      break;
    case HotkeyAction::WndClose:
      ActionClose(target);
      break;
    default:
      break;
  }
}

// --- Elevation --------------------------------------------------------------------------------

ElevationState ElevationOfProcess(DWORD pid) {
  HANDLE process =
      pid == GetCurrentProcessId() ? GetCurrentProcess() : OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (process == nullptr)
    return GetLastError() == ERROR_ACCESS_DENIED ? ElevationState::Elevated : ElevationState::Unknown;
  ElevationState result = ElevationState::Unknown;
  HANDLE token = nullptr;
  if (OpenProcessToken(process, TOKEN_QUERY, &token)) {
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    if (GetTokenInformation(token, TokenElevation, &elevation, sizeof(elevation), &size)) {
      result = elevation.TokenIsElevated != 0 ? ElevationState::Elevated : ElevationState::Normal;
    }
    CloseHandle(token);
  } else if (GetLastError() == ERROR_ACCESS_DENIED) {
    result = ElevationState::Elevated;  // a program that is not elevated may not look into it
  }
  if (process != GetCurrentProcess()) CloseHandle(process);
  return result;
}

void CheckForegroundElevation(HWND front) {
  if (front == nullptr || g_host.elevation.warned || g_host.selfElevated) return;
  DWORD pid = 0;
  GetWindowThreadProcessId(front, &pid);
  if (pid == 0 || !ElevationNoticeStep(g_host.elevation, false, ElevationOfProcess(pid))) return;
  Tell(HostText(IDS_ELEVATED_NOTICE).c_str(), false);
}

void RestartAsAdministrator() {
  wchar_t path[MAX_PATH];
  if (GetModuleFileNameW(nullptr, path, MAX_PATH) == 0) return;
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof(info);
  info.lpVerb = L"runas";
  info.lpFile = path;
  info.lpParameters = L"/takeover";
  info.nShow = SW_SHOWNORMAL;
  ShellExecuteExW(&info);  // the new copy ends this one once it runs
}

void CALLBACK ForegroundEvent(HWINEVENTHOOK, DWORD, HWND hwnd, LONG idObject, LONG, DWORD, DWORD) {
  if (idObject != OBJID_WINDOW || hwnd == nullptr) return;
  ActionsForegroundChanged(hwnd);
  CheckForegroundElevation(hwnd);
  if (g_host.debugOn && g_host.hooksInstalled && (DebugFlag() & debug_flag::kForegroundOnly) != 0) ApplyDebug();
}

// --- Notifications ----------------------------------------------------------------------------

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

void ApplyDiagnostics() {
  const uint32_t bits = debug_flag::kShowGetMsgHook | debug_flag::kShowMouseHook | debug_flag::kShowLLMouseReports;
  DiagnosticsShow(g_host.instance, (DebugFlag() & bits) != 0);
}

// --- Tray -------------------------------------------------------------------------------------

// The icon: from the bitmap file beside the program when asked and present, else the program's own.
HICON LoadTrayIcon(bool& owned) {
  owned = false;
  wchar_t path[MAX_PATH];
  if ((MainFlag() & main_flag::kIconBitmapFile) != 0 && PathBesideExe(kIconBitmapFile, path)) {
    const int cx = GetSystemMetrics(SM_CXSMICON);
    const int cy = GetSystemMetrics(SM_CYSMICON);
    HBITMAP color = static_cast<HBITMAP>(LoadImageW(nullptr, path, IMAGE_BITMAP, cx, cy, LR_LOADFROMFILE));
    if (color != nullptr) {
      HBITMAP mask = CreateBitmap(cx, cy, 1, 1, nullptr);
      ICONINFO info = {};
      info.fIcon = TRUE;
      info.hbmColor = color;
      info.hbmMask = mask;
      HICON icon = mask != nullptr ? CreateIconIndirect(&info) : nullptr;
      if (mask != nullptr) DeleteObject(mask);
      DeleteObject(color);
      if (icon != nullptr) {
        owned = true;
        return icon;
      }
    }
  }
  return static_cast<HICON>(LoadImageW(g_host.instance, MAKEINTRESOURCEW(kIconMain), IMAGE_ICON,
                                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

void ApplyTray() {
  TrayRemove(g_host.hwnd);
  if (g_host.iconOwned && g_host.icon != nullptr) DestroyIcon(g_host.icon);
  g_host.icon = nullptr;
  if ((MainFlag() & main_flag::kNoTrayIcon) != 0) return;
  g_host.icon = LoadTrayIcon(g_host.iconOwned);
  TrayShow(g_host.hwnd, g_host.icon, L"Qorv");
  UpdateTip();
}

void OnTray(LPARAM lp) {
  switch (lp) {
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
      TrayShowMenu(g_host.hwnd, {g_host.paused, AutoStartPresent(), g_host.elevation.warned && !g_host.selfElevated});
      break;
    case WM_LBUTTONDBLCLK:
      StartSettingsProgram();
      break;
    case WM_MBUTTONUP:
      if ((MainFlag() & main_flag::kWheelClickSuspend) != 0) SetPaused(!g_host.paused);
      break;
    default:
      break;
  }
}

// --- Settings program broadcasts ----------------------------------------------------------------

void OnSettingsBroadcast(WPARAM wp) {
  switch (wp) {
    case kEditBegin:
      g_host.editing = true;
      ReleaseHotkeys();
      break;
    case kEditSaved:
      g_host.editing = false;
      ReadSettings();
      HandOverFlags();
      g_host.conversionOn = (g_host.record.MouseBtn.btnFlag & btn_flag::kStartAtLaunch) != 0;
      g_host.debugOn = (DebugFlag() & debug_flag::kStartBlocking) != 0;
      if (g_host.hooksInstalled) {
        ApplyConversion();
        ApplyDebug();
      }
      g_host.reportedHotkeys = 0;  // a new set: its problems are told anew
      RegisterHotkeys();
      ApplyTray();
      ApplyDiagnostics();
      ReportHookFailures();
      break;
    case kEditCancelled:
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
  g_host.selfElevated = ElevationOfProcess(GetCurrentProcessId()) == ElevationState::Elevated;
  ReadSettings();
  g_host.conversionOn = (g_host.record.MouseBtn.btnFlag & btn_flag::kStartAtLaunch) != 0;
  g_host.debugOn = (DebugFlag() & debug_flag::kStartBlocking) != 0;
  PublishTable();
  ApplyTray();
  LayeredLeftRetry();  // windows that an earlier copy left layered
  InstallHooks();
  RegisterHotkeys();
  ApplyDiagnostics();
  g_host.foregroundHook = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, ForegroundEvent, 0,
                                          0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
  SetTimer(hwnd, kTimerFast, kFastMs, nullptr);
  SetTimer(hwnd, kTimerHealth, kHealthMs, nullptr);
}

// Everything that other programs would otherwise keep of us.
void Stop(HWND hwnd) {
  KillTimer(hwnd, kTimerFast);
  KillTimer(hwnd, kTimerHealth);
  if (g_host.foregroundHook != nullptr) UnhookWinEvent(g_host.foregroundHook);
  g_host.foregroundHook = nullptr;
  HotkeysRelease(hwnd);
  RemovePropW(hwnd, kPropHotkeysHeld);
  g_host.editing = true;  // no mouse hotkeys any more
  RemoveHooks();
  MouseWatchRemove();
  SizeTipHide();
  DiagnosticsShow(g_host.instance, false);
  TrayRemove(hwnd);
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      Start(hwnd);
      return 0;
    case WM_HOTKEY:
      RunHotkey(static_cast<int>(wp));
      return 0;
    case kMouseHotkey:
      RunHotkey(static_cast<int>(wp));
      return 0;
    case kGetMsgNotify:
      if ((DebugFlag() & debug_flag::kShowGetMsgHook) != 0) DiagnosticsAdd(DiagSource::GetMsg, wp, lp);
      OnWheelReport(wp, lp);
      return 0;
    case kMouseNotify: {
      if ((DebugFlag() & debug_flag::kShowMouseHook) != 0) DiagnosticsAdd(DiagSource::Mouse, wp, lp);
      int x = 0;
      int y = 0;
      UnpackPoint(lp, x, y);
      ActionsCursorAt(x, y);
      return 0;
    }
    case kCallWndNotify:
      if ((wp & 0xFFFF) == WM_NCACTIVATE) ActionsForegroundChanged(reinterpret_cast<HWND>(lp));
      SizeTipReport(hwnd, wp, lp);
      return 0;
    case kLLMouseNotify:
      if ((DebugFlag() & debug_flag::kShowLLMouseReports) != 0) DiagnosticsAdd(DiagSource::LLMouse, wp, lp);
      return 0;
    case kTrayCallback:
      OnTray(lp);
      return 0;
    case WM_TIMER:
      if (wp == kTimerFast) {
        SizeTipIdle();
        POINT pt;
        if (GetCursorPos(&pt)) ActionsCursorAt(pt.x, pt.y);
      } else if (wp == kTimerHealth) {
        CheckHookHealth();
        ActionsKeepBottom();
        LayeredLeftRetry();
      }
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wp)) {
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
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // The process may be ended right after this message without WM_DESTROY.
      if (wp) Stop(hwnd);
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      Stop(hwnd);
      PostQuitMessage(0);
      return 0;
    default:
      if (msg == g_host.settingsMsg && g_host.settingsMsg != 0) {
        OnSettingsBroadcast(wp);
        return 0;
      }
      if (msg == g_host.taskbarCreated && g_host.taskbarCreated != 0) {
        ApplyTray();  // the shell restarted: put the icon back
        return 0;
      }
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

bool HasArgument(const wchar_t* cmdLine, const wchar_t* word) { return wcsstr(cmdLine, word) != nullptr; }

// Ends a running copy and waits until it has removed its hooks and gone; false when none runs.
bool EndRunningCopy() {
  HWND running = FindWindowW(kMainClass, kTitle);
  if (running == nullptr) return false;
  DWORD pid = 0;
  GetWindowThreadProcessId(running, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  PostMessageW(running, WM_CLOSE, 0, 0);
  if (process != nullptr) {
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
  }
  return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int) {
  // Ends the running copy and returns once it has gone (0), or 1 when none runs.
  if (HasArgument(cmdLine, L"/quit")) return EndRunningCopy() ? 0 : 1;
  // Started again with other rights ("restart as administrator"): the copy running now makes way.
  if (HasArgument(cmdLine, L"/takeover")) EndRunningCopy();

  // One copy per desktop: the presence mutex also tells the settings program that we run.
  wchar_t mutexName[64];
  swprintf(mutexName, 64, L"QorvWnd %d", static_cast<int>(reinterpret_cast<INT_PTR>(GetDesktopWindow())));
  Handle presence(CreateMutexW(nullptr, FALSE, mutexName));
  if (presence.Get() != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) return 0;

  if (!LoadLibraryBesideExe()) {
    MessageBoxW(nullptr, HostText(IDS_NO_LIBRARY).c_str(), kTitle, MB_ICONERROR);
    return 2;
  }
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

  TablePublisher publisher;
  g_host.publisher = &publisher;
  g_host.instance = instance;

  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = MainWndProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconMain));
  wc.lpszClassName = kMainClass;
  if (!RegisterClassExW(&wc)) return 3;
  // A hidden top-level window, not a message-only one: broadcasts reach only top-level windows.
  HWND hwnd =
      CreateWindowExW(WS_EX_TOOLWINDOW, kMainClass, kTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  if (hwnd == nullptr) return 3;

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}
