// qorv: the resident main program. It holds the presence mutex, loads the hook library, reads
// "Qorv.ini" and hands the library the flag words, publishes the per-window table, installs the
// message, window-procedure and mouse hooks with its hidden top-level window as owner (and, as
// "Qorv.ini" asks, the mouse-button conversion and the debug hook), follows the
// settings program's "QorvWnd" broadcasts, shows a tray icon with an exit command, and removes every
// hook before it ends (window closed, "qorv /quit", or the user logging off).
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

#include "common/flags.h"
#include "hooklib/vantel.h"
#include "host/publish_win.h"
#include "settings/ini_win.h"
#include "settings/settings.h"
#include "settings/settings_win.h"

namespace {

constexpr wchar_t kMainClass[] = L"QorvMainWnd";
constexpr wchar_t kTitle[] = L"Qorv";
constexpr UINT kGetMsgNotify = WM_APP + 1;
constexpr UINT kCallWndNotify = WM_APP + 2;
constexpr UINT kMouseNotify = WM_APP + 3;
constexpr UINT kLLMouseNotify = WM_APP + 4;
constexpr UINT kTrayNotify = WM_APP + 10;
constexpr UINT kTrayId = 1;
constexpr UINT kCmdExit = 100;

// wParam of the settings program's "QorvWnd" broadcast.
constexpr WPARAM kEditBegin = 1;
constexpr WPARAM kEditSaved = 2;
constexpr WPARAM kEditCancelled = 3;
constexpr WPARAM kMapSaved = 4;

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

Library g_lib;
bool g_hooksInstalled;
bool g_trayShown;
UINT g_settingsMsg;          // registered "QorvWnd"
qorv::SettingsRecord g_record;  // the words of "Qorv.ini" as last read
uint32_t g_extraFlag;        // table number and table bit as last handed over
qorv::TablePublisher* g_publisher;

template <typename T>
bool Bind(T& fn, const char* name) {
  fn = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(g_lib.module, name)));
  return fn != nullptr;
}

bool LoadLibraryBesideExe() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  wchar_t* slash = wcsrchr(path, L'\\');
  if (slash == nullptr || static_cast<size_t>(slash - path) + 11 >= MAX_PATH) return false;
  wcscpy(slash + 1, L"vantel.dll");
  g_lib.module = LoadLibraryW(path);
  if (g_lib.module == nullptr) return false;
  return Bind(g_lib.setHookFlag, "SetHookFlag") && Bind(g_lib.setHookGetMsg, "SetHookGetMsg") &&
         Bind(g_lib.setHookCallWnd, "SetHookCallWnd") && Bind(g_lib.setHookMouse, "SetHookMouse") &&
         Bind(g_lib.unHookGetMsg, "UnHookGetMsg") && Bind(g_lib.unHookCallWnd, "UnHookCallWnd") &&
         Bind(g_lib.unHookMouse, "UnHookMouse") && Bind(g_lib.setHookLLMouse, "SetHookLLMouse") &&
         Bind(g_lib.unHookLLMouse, "UnHookLLMouse") && Bind(g_lib.setHookDebug, "SetHookDebug") &&
         Bind(g_lib.unHookDebug, "UnHookDebug");
}

// Reads "Qorv.ini" next to the executable; a missing or unreadable file gives the defaults.
void ReadSettings() {
  wchar_t path[MAX_PATH];
  qorv::IniPath(path, MAX_PATH, qorv::kSettingsFileName);
  qorv::IniText text = qorv::IniLoad(path);
  qorv::SettingsFromText(text, g_record);
  qorv::IniFree(text);
}

void HandOverFlags() {
  g_lib.setHookFlag(g_record.MainFlag, g_record.WheelFlag, g_record.WndFlag, g_extraFlag);
}

// Publishes the per-window table under a new number and hands it over; the old table stays until then.
void PublishTable() {
  const uint32_t extra = g_publisher->Publish();
  if (extra == 0) return;  // keep the table in force
  g_extraFlag = extra;
  HandOverFlags();
  g_publisher->ReleasePrevious();
}

bool WantsTrayIcon() { return (g_record.MainFlag & qorv::main_flag::kNoTrayIcon) == 0; }

// The mouse-button conversion runs when BtnFlag asks for it at start, with the block as read; the
// debug hook blocks the hook kinds of DebugFlag when it asks for blocking from the start. Called
// again after every read: the same owner restarts the conversion and changes the mask in place.
void ApplyOptionalHooks(HWND hwnd) {
  if ((g_record.MouseBtn.btnFlag & qorv::btn_flag::kStartAtLaunch) != 0) {
    g_lib.setHookLLMouse(hwnd, kLLMouseNotify, &g_record.MouseBtn, 0);
  } else {
    g_lib.unHookLLMouse();
  }
  const uint32_t debugFlag = g_record.HotkeyTable[qorv::kHotkeyDebugFlag];
  if ((debugFlag & qorv::debug_flag::kStartBlocking) != 0) {
    g_lib.setHookDebug(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(hwnd)), debugFlag & qorv::debug_flag::kHookKindMask, 0);
  } else {
    g_lib.unHookDebug();
  }
}

void InstallHooks(HWND hwnd) {
  ReadSettings();
  PublishTable();
  HandOverFlags();
  g_lib.setHookGetMsg(hwnd, kGetMsgNotify, 0);
  g_lib.setHookCallWnd(hwnd, kCallWndNotify, 0);
  g_lib.setHookMouse(hwnd, kMouseNotify, 0);
  ApplyOptionalHooks(hwnd);
  g_hooksInstalled = true;
}

// Removes every hook; the message hook's removal first restores rolled-up and translucent windows.
void RemoveHooks() {
  if (!g_hooksInstalled) return;
  g_hooksInstalled = false;
  g_lib.unHookDebug();
  g_lib.unHookLLMouse();
  g_lib.unHookMouse();
  g_lib.unHookCallWnd();
  g_lib.unHookGetMsg();
}

void ShowTrayIcon(HWND hwnd, DWORD message) {
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof(data);
  data.hWnd = hwnd;
  data.uID = kTrayId;
  data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  data.uCallbackMessage = kTrayNotify;
  data.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wcscpy(data.szTip, kTitle);
  if (Shell_NotifyIconW(message, &data) && message == NIM_ADD) g_trayShown = true;
}

void RemoveTrayIcon(HWND hwnd) {
  if (!g_trayShown) return;
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof(data);
  data.hWnd = hwnd;
  data.uID = kTrayId;
  Shell_NotifyIconW(NIM_DELETE, &data);
  g_trayShown = false;
}

void ShowTrayMenu(HWND hwnd) {
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return;
  AppendMenuW(menu, MF_STRING, kCmdExit, L"終了(&X)");
  POINT pt;
  GetCursorPos(&pt);
  SetForegroundWindow(hwnd);  // so that the menu closes when the user clicks elsewhere
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, pt.x, pt.y, 0, hwnd, nullptr);
  PostMessageW(hwnd, WM_NULL, 0, 0);
  DestroyMenu(menu);
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  static UINT taskbarCreated;  // registered once at WM_CREATE
  switch (msg) {
    case WM_CREATE:
      taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
      g_settingsMsg = RegisterWindowMessageW(L"QorvWnd");
      InstallHooks(hwnd);
      if (WantsTrayIcon()) ShowTrayIcon(hwnd, NIM_ADD);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wp) == kCmdExit) DestroyWindow(hwnd);
      return 0;
    case kTrayNotify:
      if (lp == WM_RBUTTONUP || lp == WM_CONTEXTMENU) ShowTrayMenu(hwnd);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // The process may be ended right after this message without WM_DESTROY.
      if (wp) {
        RemoveHooks();
        RemoveTrayIcon(hwnd);
      }
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      RemoveHooks();
      RemoveTrayIcon(hwnd);
      PostQuitMessage(0);
      return 0;
    default:
      if (msg == g_settingsMsg && g_settingsMsg != 0) {
        switch (wp) {
          case kEditSaved:
            ReadSettings();
            HandOverFlags();
            if (g_hooksInstalled) ApplyOptionalHooks(hwnd);
            if (WantsTrayIcon() && !g_trayShown) ShowTrayIcon(hwnd, NIM_ADD);
            if (!WantsTrayIcon()) RemoveTrayIcon(hwnd);
            break;
          case kMapSaved:
            PublishTable();
            break;
          case kEditBegin:      // hotkeys would be released here; none are registered
          case kEditCancelled:  // and taken up again here
          default:
            break;
        }
        return 0;
      }
      if (msg == taskbarCreated && taskbarCreated != 0 && g_trayShown) {
        g_trayShown = false;
        ShowTrayIcon(hwnd, NIM_ADD);  // the shell restarted: put the icon back
        return 0;
      }
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

bool HasArgument(const wchar_t* cmdLine, const wchar_t* word) { return wcsstr(cmdLine, word) != nullptr; }

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int) {
  if (HasArgument(cmdLine, L"/quit")) {
    HWND running = FindWindowW(kMainClass, kTitle);
    if (running == nullptr) return 1;
    PostMessageW(running, WM_CLOSE, 0, 0);
    return 0;
  }

  // One copy per desktop: the presence mutex also tells the settings program that we run.
  wchar_t mutexName[64];
  swprintf(mutexName, 64, L"QorvWnd %d", static_cast<int>(reinterpret_cast<INT_PTR>(GetDesktopWindow())));
  Handle presence(CreateMutexW(nullptr, FALSE, mutexName));
  if (presence.Get() != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) return 0;

  if (!LoadLibraryBesideExe()) {
    MessageBoxW(nullptr, L"vantel.dll を読み込めませんでした。\r\nqorv.exe と同じフォルダーに置いてください。",
                kTitle, MB_ICONERROR);
    return 2;
  }

  qorv::TablePublisher publisher;
  g_publisher = &publisher;

  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = MainWndProc;
  wc.hInstance = instance;
  wc.lpszClassName = kMainClass;
  if (!RegisterClassExW(&wc)) return 3;
  // A hidden top-level window, not a message-only one: broadcasts reach only top-level windows.
  HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kMainClass, kTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              instance, nullptr);
  if (hwnd == nullptr) return 3;

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  RemoveHooks();
  return 0;
}
