// The main program's state and the messages of its window, shared by its modules. Everything here
// belongs to the UI thread, the thread of the main window.
#pragma once
#include <windows.h>

#include <cstdint>

#include "host/events.h"
#include "host/health.h"
#include "host/library_win.h"
#include "host/main_messages.h"
#include "host/volume_win.h"
#include "settings/settings.h"

namespace qorv {

class TablePublisher;

constexpr wchar_t kMainClass[] = L"QorvMainWnd";
constexpr wchar_t kTitle[] = L"Qorv";

struct Host {
  HINSTANCE instance = nullptr;
  HWND hwnd = nullptr;
  UINT settingsMsg = 0;        // registered "QorvWnd"
  UINT taskbarCreated = 0;     // registered "TaskbarCreated"
  UINT testDropWatch = 0;      // registered "QorvTestDropWatch" when the tests' witnesses are on
  SettingsRecord record = {};  // the words of "Qorv.ini" as last read
  uint32_t extraFlag = 0;      // table number and table bit as last handed over
  TablePublisher* publisher = nullptr;
  bool stopping = false;
  bool sessionEnding = false;  // stopping at session end: the library's passes over every window skipped
  bool paused = false;
  bool editing = false;       // the settings program runs: hotkeys released
  HANDLE editorThread = nullptr;  // the settings program's thread while it edits, to notice its end
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
  bool trayPending = false;      // the icon is wanted but the shell did not take it yet
  bool toldBusyWindow = false;   // a hotkey met a window that did not answer: said once
  HWINEVENTHOOK foregroundHook = nullptr;
  ElevationNotice elevation = {};
  bool selfElevated = false;
  bool folderProtected = false;  // qorv's folder may be written by administrators alone
  CoreAudioVolume volume;
};

extern Host g_host;
extern LibraryApi g_lib;

inline uint32_t MainFlag() { return g_host.record.MainFlag; }
inline uint32_t DebugFlag() { return g_host.record.HotkeyTable[kHotkeyDebugFlag]; }

}  // namespace qorv
