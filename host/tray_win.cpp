#include "host/tray_win.h"

#include <shellapi.h>

#include <cwchar>

#include "host/resource.h"
#include "host/texts_win.h"

namespace qorv {

namespace {

constexpr UINT kTrayId = 1;
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"Qorv";

bool g_shown;

NOTIFYICONDATAW Data(HWND hwnd) {
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof(data);
  data.hWnd = hwnd;
  data.uID = kTrayId;
  return data;
}

// The command that starts this program, quoted.
bool OwnCommand(wchar_t* buffer, DWORD capacity) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH || length + 3 > capacity) return false;
  swprintf(buffer, capacity, L"\"%ls\"", path);
  return true;
}

}  // namespace

bool TrayShow(HWND hwnd, HICON icon, const wchar_t* tip) {
  NOTIFYICONDATAW data = Data(hwnd);
  data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  data.uCallbackMessage = kTrayCallback;
  data.hIcon = icon;
  wcsncpy(data.szTip, tip, ARRAYSIZE(data.szTip) - 1);
  g_shown = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  return g_shown;
}

void TrayRemove(HWND hwnd) {
  if (!g_shown) return;
  NOTIFYICONDATAW data = Data(hwnd);
  Shell_NotifyIconW(NIM_DELETE, &data);
  g_shown = false;
}


void TraySetTip(HWND hwnd, const wchar_t* tip) {
  if (!g_shown) return;
  NOTIFYICONDATAW data = Data(hwnd);
  data.uFlags = NIF_TIP;
  wcsncpy(data.szTip, tip, ARRAYSIZE(data.szTip) - 1);
  Shell_NotifyIconW(NIM_MODIFY, &data);
}

bool TrayBalloon(HWND hwnd, const wchar_t* text, bool warning) {
  if (!g_shown) return false;
  NOTIFYICONDATAW data = Data(hwnd);
  data.uFlags = NIF_INFO;
  wcsncpy(data.szInfoTitle, L"Qorv", ARRAYSIZE(data.szInfoTitle) - 1);
  wcsncpy(data.szInfo, text, ARRAYSIZE(data.szInfo) - 1);
  data.dwInfoFlags = warning ? NIIF_WARNING : NIIF_INFO;
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool TrayIconRect(HWND hwnd, RECT& rect) {
  using GetRectFn = HRESULT(WINAPI*)(const NOTIFYICONIDENTIFIER*, RECT*);
  static GetRectFn getRect = reinterpret_cast<GetRectFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"shell32.dll"), "Shell_NotifyIconGetRect")));
  if (getRect == nullptr || !g_shown) return false;
  NOTIFYICONIDENTIFIER id = {};
  id.cbSize = sizeof(id);
  id.hWnd = hwnd;
  id.uID = kTrayId;
  return SUCCEEDED(getRect(&id, &rect));
}

void TrayShowMenu(HWND hwnd, const TrayMenuState& state) {
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return;
  AppendMenuW(menu, MF_STRING, kCmdSettings, HostText(IDS_TRAY_SETTINGS).c_str());
  AppendMenuW(menu, MF_STRING, kCmdPause, HostText(state.paused ? IDS_TRAY_RESUME : IDS_TRAY_PAUSE).c_str());
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING | (state.autoStart ? MF_CHECKED : 0), kCmdAutoStart,
              HostText(IDS_TRAY_AUTOSTART).c_str());
  if (state.offerAdmin) AppendMenuW(menu, MF_STRING, kCmdRestartAdmin, HostText(IDS_TRAY_RESTART_ADMIN).c_str());
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kCmdExit, HostText(IDS_TRAY_EXIT).c_str());
  SetMenuDefaultItem(menu, kCmdSettings, FALSE);
  POINT pt;
  GetCursorPos(&pt);
  SetForegroundWindow(hwnd);  // so that the menu closes when the user clicks elsewhere
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, pt.x, pt.y, 0, hwnd, nullptr);
  PostMessageW(hwnd, WM_NULL, 0, 0);
  DestroyMenu(menu);
}

bool AutoStartPresent() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  wchar_t value[MAX_PATH + 8] = {};
  DWORD size = sizeof(value) - sizeof(wchar_t);
  DWORD type = 0;
  const bool found =
      RegQueryValueExW(key, kRunValue, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS &&
      type == REG_SZ;
  RegCloseKey(key);
  wchar_t own[MAX_PATH + 8];
  return found && OwnCommand(own, MAX_PATH + 8) && _wcsicmp(own, value) == 0;
}

bool AutoStartSet(bool on) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  bool ok = false;
  if (on) {
    wchar_t command[MAX_PATH + 8];
    if (OwnCommand(command, MAX_PATH + 8)) {
      const DWORD bytes = static_cast<DWORD>((wcslen(command) + 1) * sizeof(wchar_t));
      ok = RegSetValueExW(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(command), bytes) == ERROR_SUCCESS;
    }
  } else {
    const LONG result = RegDeleteValueW(key, kRunValue);
    ok = result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
  }
  RegCloseKey(key);
  return ok;
}

}  // namespace qorv
