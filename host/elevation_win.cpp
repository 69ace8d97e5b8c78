#include "host/texts_win.h"
#include "host/elevation_win.h"

#include <aclapi.h>
#include <exdisp.h>
#include <shlobj.h>
#include <shldisp.h>
#include <oleauto.h>
#include <cwchar>
#include <shellapi.h>

#include "host/folder_guard.h"
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

namespace {

constexpr int kMaxAces = 64;  // more entries than a program folder has: counted as not protected

bool IsTrustedInstaller(PSID sid) {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID trusted = nullptr;
  if (!AllocateAndInitializeSid(&nt, 6, 80, 956008885, 3418522649u, 1831038044, 1853292631, 2271478464u, 0, 0,
                                &trusted)) {
    return false;
  }
  const bool same = EqualSid(sid, trusted) != FALSE;
  FreeSid(trusted);
  return same;
}

Principal PrincipalOf(PSID sid) {
  if (sid == nullptr || !IsValidSid(sid)) return Principal::Other;
  if (IsWellKnownSid(sid, WinBuiltinAdministratorsSid)) return Principal::Administrators;
  if (IsWellKnownSid(sid, WinLocalSystemSid)) return Principal::System;
  return IsTrustedInstaller(sid) ? Principal::TrustedInstaller : Principal::Other;
}

}  // namespace

// Releases a COM interface pointer once at the end of a scope.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (p_ != nullptr) p_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T* Get() const { return p_; }
  T** Out() { return &p_; }
  void** OutVoid() { return reinterpret_cast<void**>(&p_); }

 private:
  T* p_ = nullptr;
};

// The shell of the logged-on user runs at the user's ordinary integrity: asked through its desktop
// view, it starts the program with the user's token, not with ours.
bool ShellExecuteAsUser(const wchar_t* file, const wchar_t* dir) {
  ComRef<IShellWindows> windows;
  if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                              windows.OutVoid()))) {
    return false;
  }
  VARIANT location = {};
  location.vt = VT_I4;
  location.lVal = CSIDL_DESKTOP;
  VARIANT empty = {};
  long hwnd = 0;
  ComRef<IDispatch> desktop;
  if (windows.Get()->FindWindowSW(&location, &empty, SWC_DESKTOP, &hwnd, SWFO_NEEDDISPATCH, desktop.Out()) != S_OK ||
      desktop.Get() == nullptr) {
    return false;
  }
  ComRef<IServiceProvider> provider;
  ComRef<IShellBrowser> browser;
  ComRef<IShellView> view;
  ComRef<IDispatch> background;
  ComRef<IShellFolderViewDual> folderView;
  ComRef<IDispatch> application;
  ComRef<IShellDispatch2> shell;
  if (FAILED(desktop.Get()->QueryInterface(IID_IServiceProvider, provider.OutVoid())) ||
      FAILED(provider.Get()->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.OutVoid())) ||
      FAILED(browser.Get()->QueryActiveShellView(view.Out())) ||
      FAILED(view.Get()->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.OutVoid())) ||
      FAILED(background.Get()->QueryInterface(IID_IShellFolderViewDual, folderView.OutVoid())) ||
      FAILED(folderView.Get()->get_Application(application.Out())) ||
      FAILED(application.Get()->QueryInterface(IID_IShellDispatch2, shell.OutVoid()))) {
    return false;
  }
  // The method's name is also a macro of <shellapi.h>, set aside around the call.
  BSTR fileText = SysAllocString(file);
  BSTR dirText = SysAllocString(dir);
  VARIANT args = {};
  VARIANT directory = {};
  directory.vt = VT_BSTR;
  directory.bstrVal = dirText;
  VARIANT operation = {};
  VARIANT show = {};
  show.vt = VT_I4;
  show.lVal = SW_SHOWNORMAL;
#pragma push_macro("ShellExecute")
#undef ShellExecute
  const bool started = fileText != nullptr && dirText != nullptr &&
                       SUCCEEDED(shell.Get()->ShellExecute(fileText, args, directory, operation, show));
#pragma pop_macro("ShellExecute")
  SysFreeString(fileText);
  SysFreeString(dirText);
  return started;
}

bool ProgramFolderProtected() {
  wchar_t dir[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, dir, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  wchar_t* slash = wcsrchr(dir, L'\\');
  if (slash == nullptr) return false;
  *slash = 0;
  PSID owner = nullptr;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR sd = nullptr;
  if (GetNamedSecurityInfoW(dir, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                            nullptr, &dacl, nullptr, &sd) != ERROR_SUCCESS) {
    return false;
  }
  AceFact facts[kMaxAces];
  int count = 0;
  bool tooMany = false;
  ACL_SIZE_INFORMATION size = {};
  if (dacl != nullptr && GetAclInformation(dacl, &size, sizeof(size), AclSizeInformation)) {
    tooMany = size.AceCount > kMaxAces;
    for (DWORD i = 0; i < size.AceCount && !tooMany; ++i) {
      ACE_HEADER* header = nullptr;
      if (!GetAce(dacl, i, reinterpret_cast<void**>(&header))) continue;
      AceFact& fact = facts[count++];
      fact.inheritOnly = (header->AceFlags & INHERIT_ONLY_ACE) != 0;
      if (header->AceType == ACCESS_ALLOWED_ACE_TYPE || header->AceType == ACCESS_DENIED_ACE_TYPE) {
        // Both kinds share the layout of ACCESS_ALLOWED_ACE: mask, then the SID.
        auto* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
        fact.allow = header->AceType == ACCESS_ALLOWED_ACE_TYPE;
        fact.mask = ace->Mask;
        fact.who = PrincipalOf(&ace->SidStart);
      } else {
        // An entry of another kind (object, callback): counted as a grant to anyone.
        fact = {true, false, 0xFFFFFFFF, Principal::Other};
      }
    }
  }
  const bool result =
      !tooMany && WritableByAdministratorsOnly(dacl != nullptr, PrincipalOf(owner), facts, count);
  LocalFree(sd);
  return result;
}

void CheckForegroundElevation(HWND front) {
  if (front == nullptr || g_host.elevation.warned || g_host.selfElevated) return;
  DWORD pid = 0;
  GetWindowThreadProcessId(front, &pid);
  if (pid == 0 || !ElevationNoticeStep(g_host.elevation, false, ElevationOfProcess(pid))) return;
  if (g_host.folderProtected) {
    Tell(HostText(IDS_ELEVATED_NOTICE).c_str(), false);
  } else {
    // From a folder that ordinary programs may write to, an elevated copy would run their files.
    Tell(HostText(IDS_ELEVATED_NEEDS_MACHINE_INSTALL).c_str(), false);
  }
}

bool StartProgramAsUser(const wchar_t* file, const wchar_t* dir) {
  if (!g_host.selfElevated) {
    return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", file, nullptr, dir, SW_SHOWNORMAL)) > 32;
  }
  return ShellExecuteAsUser(file, dir);
}

void RestartAsAdministrator() {
  if (!g_host.folderProtected) return;
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
  FARPROC found = user32 != nullptr ? GetProcAddress(user32, "ChangeWindowMessageFilterEx") : nullptr;
  auto filter = reinterpret_cast<FilterFn>(reinterpret_cast<void*>(found));
  if (filter == nullptr) return;
  const LowerIntegrityMessages allowed = MessagesFromLowerIntegrity(g_host.settingsMsg, g_host.taskbarCreated);
  constexpr DWORD kMessageFilterAllow = 1;  // MSGFLT_ALLOW
  for (int i = 0; i < allowed.count; ++i) filter(hwnd, allowed.ids[i], kMessageFilterAllow, nullptr);
}

}  // namespace qorv
