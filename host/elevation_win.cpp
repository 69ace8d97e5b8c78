#include "host/elevation_win.h"

#include <shellapi.h>

#include "host/host_win.h"
#include "host/tray_icon_win.h"

namespace qorv {

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
  Tell(
      L"管理者として実行中のウインドウには Qorv の機能が届きません。"
      L"トレイメニューの「管理者として再起動」で届くようになります。",
      false);
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

void AllowLowerIntegrityMessages(HWND hwnd) {
  using FilterFn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto filter = user32 != nullptr
                    ? reinterpret_cast<FilterFn>(reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilterEx")))
                    : nullptr;
  if (filter == nullptr) return;
  const LowerIntegrityMessages allowed = MessagesFromLowerIntegrity(g_host.settingsMsg, g_host.taskbarCreated);
  constexpr DWORD kMessageFilterAllow = 1;  // MSGFLT_ALLOW
  for (int i = 0; i < allowed.count; ++i) filter(hwnd, allowed.ids[i], kMessageFilterAllow, nullptr);
}

}  // namespace qorv
