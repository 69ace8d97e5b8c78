// The main program's state and the messages of its window, shared by its modules. Everything here
// belongs to the UI thread, the thread of the main window.
#pragma once
#include <windows.h>

#include <cstdint>

#include "host/events.h"
#include "host/health.h"
#include "host/library_win.h"
#include "host/volume_win.h"
#include "settings/settings.h"

namespace qorv {

class TablePublisher;

constexpr wchar_t kMainClass[] = L"QorvMainWnd";
constexpr wchar_t kTitle[] = L"Qorv";

// Notify messages of the hooks and answers of the program's own threads, posted to the main window.
constexpr UINT kGetMsgNotify = WM_APP + 1;
constexpr UINT kCallWndNotify = WM_APP + 2;
constexpr UINT kMouseNotify = WM_APP + 3;
constexpr UINT kLLMouseNotify = WM_APP + 4;
constexpr UINT kMouseHotkey = WM_APP + 5;      // wParam: hotkey id seen on the low-level mouse hook
constexpr UINT kHookThreadReply = WM_APP + 6;  // the hook thread's answer (hook_thread_win.h)
constexpr UINT kCompanionEnded = WM_APP + 7;   // the 32-bit companion's process ended

struct Host {
  HINSTANCE instance = nullptr;
  HWND hwnd = nullptr;
  UINT settingsMsg = 0;        // registered "QorvWnd"
  UINT taskbarCreated = 0;     // registered "TaskbarCreated"
  SettingsRecord record = {};  // the words of "Qorv.ini" as last read
  uint32_t extraFlag = 0;      // table number and table bit as last handed over
  TablePublisher* publisher = nullptr;
  bool stopping = false;
  bool paused = false;
  bool editing = false;       // the settings program runs: hotkeys released
  bool conversionOn = false;  // mouse-button conversion wanted
  bool debugOn = false;       // debug hook wanted
  uint32_t requested = 0;     // hook kinds last asked of the hook thread
  uint32_t held = 0;          // hook kinds installed by this program: only these are ever removed
  uint32_t failed = 0;        // hook kinds that could not be installed
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

extern Host g_host;
extern LibraryApi g_lib;

inline uint32_t MainFlag() { return g_host.record.MainFlag; }
inline uint32_t DebugFlag() { return g_host.record.HotkeyTable[kHotkeyDebugFlag]; }

}  // namespace qorv
