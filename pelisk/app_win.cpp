#include "pelisk/app_win.h"

#include <commctrl.h>

#include "common/layered_win.h"
#include "common/presence.h"
#include "common/ui_language_win.h"
#include "pelisk/app.h"
#include "pelisk/keyctl_win.h"
#include "pelisk/pages/pages_win.h"
#include "pelisk/resource.h"
#include "pelisk/sheet_win.h"
#include "pelisk/ui_helpers_win.h"
#include "settings/ini_win.h"

namespace qorv {

HINSTANCE g_instance;
uint32_t g_platformId;
uint32_t g_osMajor;
uint32_t g_qorvWndMessage;
uint32_t g_layeredApiMask;

namespace {

// Opening the main program's mutex only tells whether it exists: the least access there is. A
// mutex made by an elevated copy refuses more to an ordinary process.
constexpr DWORD kMutexOpenAccess = SYNCHRONIZE;

// The single-instance mutex, held for the whole run and released once.
class InstanceMutex {
 public:
  explicit InstanceMutex(HANDLE handle) : handle_(handle) {}
  ~InstanceMutex() {
    if (handle_ == nullptr) return;
    ReleaseMutex(handle_);
    CloseHandle(handle_);
  }
  InstanceMutex(const InstanceMutex&) = delete;
  InstanceMutex& operator=(const InstanceMutex&) = delete;

 private:
  HANDLE handle_;
};

// "<prefix> <desktop window handle in signed decimal>".
void DesktopName(const wchar_t* prefix, wchar_t* out) {
  wsprintfW(out, L"%s %d", prefix, static_cast<int>(reinterpret_cast<INT_PTR>(GetDesktopWindow())));
}

// Brings the running copy's settings window to the front, restoring it first when it is minimised.
void ShowRunningCopy() {
  MessageBeep(0);
  wchar_t title[64];
  SettingsWindowTitle(title, 64);
  HWND window = FindWindowW(L"#32770", title[0] != 0 ? title : nullptr);
  if (window == nullptr) return;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
}

void CheckSystemVersion() {
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = 276;
  if (GetVersionExW(&version)) {
    g_platformId = version.dwPlatformId;
    g_osMajor = version.dwMajorVersion;
  }
  if (g_osMajor < 5) {
    char text[64];
    if (LoadUiStringA(g_instance, IDS_OS_ERROR, text, 64) <= 0) text[0] = 0;
    MessageBoxA(nullptr, text, nullptr, MB_ICONERROR);
  }
}

// Tells the user once that the confirmed settings did not reach the file.
void ReportSaveFailure() {
  wchar_t text[256];
  wchar_t title[64];
  LoadText(IDS_SAVE_FAILED, text, 256);
  SettingsWindowTitle(title, 64);
  MessageBoxW(nullptr, text, title, MB_ICONERROR | MB_OK);
}

}  // namespace

bool NotifyMain(WPARAM code) {
  wchar_t name[64];
  DesktopName(L"QorvWnd", name);
  HANDLE mutex = OpenMutexW(kMutexOpenAccess, FALSE, name);
  // "Access denied": the mutex exists, made by a main program with more rights than ours.
  if (!PresentFromOpen(mutex != nullptr, GetLastError())) return false;
  PostMessageW(HWND_BROADCAST, g_qorvWndMessage, code, static_cast<LPARAM>(GetCurrentThreadId()));
  if (mutex != nullptr) CloseHandle(mutex);
  return true;
}

const wchar_t* SettingsFilePath() {
  static wchar_t path[MAX_PATH];
  if (path[0] == 0) IniPath(path, MAX_PATH, kSettingsFileName);
  return path;
}

int ProductTitle(wchar_t* buffer, int capacity) {
  wchar_t self[MAX_PATH];
  if (GetModuleFileNameW(nullptr, self, MAX_PATH) == 0) return 0;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(self, &ignored);
  if (size == 0) return 0;
  void* block = HeapAlloc(GetProcessHeap(), 0, size);
  if (block == nullptr) return 0;
  int count = 0;
  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* translation = nullptr;
  UINT length = 0;
  if (GetFileVersionInfoW(self, 0, size, block) &&
      VerQueryValueW(block, L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) &&
      translation != nullptr && length >= sizeof(Translation)) {
    wchar_t prefix[64];
    wsprintfW(prefix, L"\\StringFileInfo\\%04x%04x\\", translation->language, translation->codePage);
    wchar_t query[96];
    wchar_t* name = nullptr;
    UINT nameLength = 0;
    lstrcpyW(query, prefix);
    lstrcatW(query, L"ProductName");
    if (!VerQueryValueW(block, query, reinterpret_cast<void**>(&name), &nameLength)) nameLength = 0;
    wchar_t* version = nullptr;
    UINT versionLength = 0;
    lstrcpyW(query, prefix);
    lstrcatW(query, L"ProductVersion");
    if (!VerQueryValueW(block, query, reinterpret_cast<void**>(&version), &versionLength)) versionLength = 0;
    // The reported lengths count the terminator on some systems; measure the texts themselves.
    if (name != nullptr && nameLength > 0) nameLength = static_cast<UINT>(lstrlenW(name));
    if (version != nullptr && versionLength > 0) versionLength = static_cast<UINT>(lstrlenW(version));
    if (buffer == nullptr) {
      count = static_cast<int>(nameLength + versionLength);
    } else if (capacity > 0) {
      buffer[0] = 0;
      if (nameLength > 0 && static_cast<int>(nameLength) < capacity) {
        lstrcpynW(buffer, name, capacity);
        count = lstrlenW(buffer);
      }
      if (versionLength > 0 && static_cast<int>(versionLength) < capacity - count - 1) {
        buffer[count++] = L' ';
        lstrcpynW(buffer + count, version, capacity - count);
        count = lstrlenW(buffer);
      }
    }
  }
  HeapFree(GetProcessHeap(), 0, block);
  return count;
}

int SettingsWindowTitle(wchar_t* buffer, int capacity) {
  if (buffer == nullptr || capacity <= 0) return 0;
  buffer[0] = 0;
  int length = ProductTitle(buffer, capacity);
  if (length < capacity - 1) {
    wchar_t suffix[32];
    LoadText(IDS_SETTINGS_SUFFIX, suffix, 32);
    lstrcpynW(buffer + length, suffix, capacity - length);
    length = lstrlenW(buffer);
  }
  return length;
}

int RunSettingsWindow(HINSTANCE instance, int startPage) {
  SheetDesc desc;
  wchar_t titles[64];
  wchar_t windowTitle[32];
  PrepareSheetDesc(desc, instance, startPage, titles, 64, windowTitle, 32);
  const int result = RunSheet(&desc);
  if (desc.pages[kHotkeysPageIndex].window != nullptr) g_settings.HotkeysPageVisited = true;
  if (desc.pages[kMousePageIndex].window != nullptr) g_settings.MousePageVisited = true;
  return result;
}

int RunDebugDialog(HINSTANCE instance) {
  const DLGTEMPLATE* dialogTemplate = UiDialogTemplate(instance, IDD_DEBUG);
  if (dialogTemplate == nullptr) return 0;
  HWND dialog = CreateDialogIndirectParamW(instance, dialogTemplate, nullptr, DebugDialogProc,
                                           reinterpret_cast<LPARAM>(instance));
  if (dialog == nullptr) return 0;
  MSG msg;
  BOOL got;
  while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
    if (got == -1) return 2;
    if (IsWindow(dialog) && IsDialogMessageW(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

int RunSettingsProgram(HINSTANCE instance) {
  g_instance = instance;
  wchar_t mutexName[64];
  DesktopName(L" Warning ", mutexName);
  HANDLE created = CreateMutexW(nullptr, FALSE, mutexName);
  // A copy with more rights makes a mutex that refuses us: "access denied" is a running copy too.
  if (InstanceFromCreate(created != nullptr, GetLastError()) == InstanceCheck::Another) {
    if (created != nullptr) CloseHandle(created);
    ShowRunningCopy();
    return 0;
  }
  const InstanceMutex guard(created);  // a failed creation leaves the run without the guard

  CheckSystemVersion();
  InitCommonControls();
  RegisterKeyWndClass(instance);
  g_qorvWndMessage = RegisterWindowMessageW(L"QorvWnd");
  g_layeredApiMask = LoadLayeredApi();
  SettingsLoadAtStart(kSettingsFileName);
  NotifyMain(kEditBegin);

  const int digit = CommandLineDigit(reinterpret_cast<const char16_t*>(GetCommandLineW()));
  const bool debug = OpensDebugDialog(digit, GetKeyState(VK_RSHIFT) < 0, GetKeyState(VK_RCONTROL) < 0);
  int result;
  bool wrote = false;
  if (debug) {
    result = RunDebugDialog(instance);
    if (result == 1) DebugSave(kSettingsFileName, &wrote);
  } else {
    result = RunSettingsWindow(instance, digit);
    if (result == 1) SettingsSave(kSettingsFileName, &wrote);
  }
  if (result == 1 && !wrote) ReportSaveFailure();
  const RunOutcome outcome = OutcomeOf(result, wrote);
  NotifyMain(outcome.notification);

  ForgetLayeredApi();
  return outcome.exitCode;
}

}  // namespace qorv
