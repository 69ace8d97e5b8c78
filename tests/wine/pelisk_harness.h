// What the settings program's Wine tests share: the program's start-up values set in this process
// (so that pages, dialogs and the tabbed window run inside the test), code run from inside a
// modal message loop, a page hosted alone, the real pelisk.exe in a folder of its own, and a
// stand-in for the main program that records the "QorvWnd" broadcasts.
#pragma once
#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <functional>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/layered_win.h"
#include "pelisk/app_win.h"
#include "pelisk/keyctl_win.h"
#include "settings/file_win.h"
#include "settings/settings.h"
#include "tests/wine/harness.h"
#include "tests/wine/input.h"

namespace pelisk {

// The start-up values of the settings program for this process; the record gets the values of the
// given "Qorv.ini" text (all defaults for an empty one).
inline void InitInProcess(const std::string& iniText = std::string()) {
  static bool once;
  if (!once) {
    once = true;
    qorv::g_instance = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    qorv::RegisterKeyWndClass(qorv::g_instance);
    qorv::g_qorvWndMessage = RegisterWindowMessageW(L"QorvWnd");
    qorv::g_layeredApiMask = qorv::LoadLayeredApi();
  }
  qorv::g_platformId = 2;
  qorv::g_osMajor = 6;
  qorv::g_settings = {};
  qorv::IniText text = iniText.empty() ? nullptr : qorv::IniFromBytes(iniText.data(), iniText.size());
  qorv::SettingsFromText(text, qorv::g_settings);
  qorv::IniFree(text);
}

// Runs step once from inside the next message loop of this thread (RunSheet's, a dialog's, a
// message box's), so that a test can drive a window whose loop does not return until it closes.
inline std::function<void()>& PendingStep() {
  static std::function<void()> pending;
  return pending;
}
inline void CALLBACK RunPendingStep(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  std::function<void()> run = std::move(PendingStep());
  PendingStep() = nullptr;
  if (run) run();
}
inline void RunInLoop(std::function<void()> step) {
  PendingStep() = std::move(step);
  SetTimer(nullptr, 0, 1, RunPendingStep);
}

// The visible top-level dialog of this process with the title, or null.
inline HWND FindOwnDialog(const wchar_t* title) {
  HWND found = FindWindowW(L"#32770", title);
  DWORD pid = 0;
  if (found != nullptr) GetWindowThreadProcessId(found, &pid);
  return pid == GetCurrentProcessId() ? found : nullptr;
}

// The text of a window.
inline std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

// One page dialog created alone in a host window of its own, as the tabbed window would create it.
class PageHost {
 public:
  PageHost(UINT dialogId, DLGPROC procedure) {
    host_ = CreateWindowExW(WS_EX_CONTROLPARENT, L"#32770", L"PageHost", WS_POPUP | WS_CAPTION | WS_VISIBLE, 10, 10,
                            700, 450, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    page_ = CreateDialogParamW(qorv::g_instance, MAKEINTRESOURCEW(dialogId), host_, procedure, 0);
    if (page_ != nullptr) ShowWindow(page_, SW_SHOW);
  }
  ~PageHost() {
    if (page_ != nullptr && IsWindow(page_)) DestroyWindow(page_);
    if (host_ != nullptr) DestroyWindow(host_);
  }
  PageHost(const PageHost&) = delete;
  PageHost& operator=(const PageHost&) = delete;
  HWND Page() const { return page_; }
  HWND Host() const { return host_; }
  HWND Item(int id) const { return GetDlgItem(page_, id); }
  // The page's answer to the frame's OK (1) or Cancel (2): 1 accepts, 2 refuses.
  LRESULT Close(int id) const { return SendMessageW(page_, WM_COMMAND, static_cast<WPARAM>(id), 0); }

 private:
  HWND host_ = nullptr;
  HWND page_ = nullptr;
};

// pelisk.exe copied into a fresh folder, so that its "Qorv.ini" and "MapFlag.ini" are its own.
class PeliskRun {
 public:
  PeliskRun() : dir_(harness::NewRunDir()) {
    const std::wstring from = harness::ExeDir() + L"\\pelisk.exe";
    copied_ = CopyFileW(from.c_str(), Exe().c_str(), FALSE) != FALSE;
  }
  ~PeliskRun() { process_.reset(); }
  PeliskRun(const PeliskRun&) = delete;
  PeliskRun& operator=(const PeliskRun&) = delete;

  bool Copied() const { return copied_; }
  const std::wstring& Dir() const { return dir_; }
  std::wstring Exe() const { return dir_ + L"\\pelisk.exe"; }
  std::wstring Ini() const { return dir_ + L"\\Qorv.ini"; }

  void WriteIni(const std::string& bytes) const {
    HANDLE file = CreateFileW(Ini().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }
  // The bytes of "Qorv.ini"; "<missing>" when there is none.
  std::string ReadIni() const {
    std::string bytes;
    if (qorv::ReadSmallFile(Ini().c_str(), 1 << 20, bytes) == qorv::ReadResult::kMissing) return "<missing>";
    return bytes;
  }

  // Starts the program with the argument text after its quoted name.
  bool Start(const std::wstring& args = std::wstring()) {
    process_.reset(new harness::Process(Exe(), args, dir_));
    return process_->Started();
  }
  DWORD Id() const { return process_ ? process_->Id() : 0; }
  // A top-level window of the program with the title, once it is visible.
  HWND WaitWindow(const wchar_t* title, DWORD timeoutMs = 15000) const {
    HWND found = nullptr;
    harness::WaitFor(
        [&] {
          found = nullptr;
          for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", title); w != nullptr;
               w = FindWindowExW(nullptr, w, L"#32770", title)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == Id() && IsWindowVisible(w)) found = w;
          }
          return found != nullptr;
        },
        timeoutMs);
    return found;
  }
  bool WaitExit(DWORD timeoutMs, DWORD* exitCode) { return process_ && process_->WaitExit(timeoutMs, exitCode); }

 private:
  std::wstring dir_;
  bool copied_ = false;
  std::unique_ptr<harness::Process> process_;
};

// Plays the main program for the settings program: holds its presence mutex and records every
// "QorvWnd" broadcast (wParam, lParam) that reaches its hidden top-level window.
class MainStandIn {
 public:
  explicit MainStandIn(bool holdMutex = true) {
    wchar_t name[64];
    wsprintfW(name, L"QorvWnd %d", static_cast<int>(reinterpret_cast<INT_PTR>(GetDesktopWindow())));
    if (holdMutex) mutex_ = CreateMutexW(nullptr, TRUE, name);
    message_ = RegisterWindowMessageW(L"QorvWnd");
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PeliskMainStandIn";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, this);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~MainStandIn() {
    if (window_ != nullptr) DestroyWindow(window_);
    if (mutex_ != nullptr) {
      ReleaseMutex(mutex_);
      CloseHandle(mutex_);
    }
  }
  MainStandIn(const MainStandIn&) = delete;
  MainStandIn& operator=(const MainStandIn&) = delete;

  std::vector<std::pair<WPARAM, LPARAM>> received;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MainStandIn*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && message == self->message_) {
      self->received.emplace_back(wParam, lParam);
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
  HANDLE mutex_ = nullptr;
  UINT message_ = 0;
  HWND window_ = nullptr;
};

}  // namespace pelisk

namespace pelisk {

// Inside the running message loop: waits (without blocking the loop) until ready() holds or the
// time passes, then calls then(ready held). One such wait at a time.
struct PendingWait {
  std::function<bool()> ready;
  std::function<void(bool)> then;
  DWORD start;
  DWORD timeout;
};
inline PendingWait& CurrentWait() {
  static PendingWait pending;
  return pending;
}
inline void CALLBACK CheckPendingWait(HWND, UINT, UINT_PTR id, DWORD) {
  PendingWait& pending = CurrentWait();
  const bool ok = pending.ready();
  if (!ok && GetTickCount() - pending.start < pending.timeout) return;
  KillTimer(nullptr, id);
  std::function<void(bool)> next = std::move(pending.then);
  pending.then = nullptr;
  if (next) next(ok);
}
inline void WhenInLoop(std::function<bool()> ready, std::function<void(bool)> then, DWORD timeoutMs = 10000) {
  CurrentWait() = {std::move(ready), std::move(then), GetTickCount(), timeoutMs};
  SetTimer(nullptr, 0, 15, CheckPendingWait);
}

// Injects a key press and release; modifiers are pressed first and released last.
inline void Chord(std::initializer_list<WORD> modifiers, WORD key) {
  for (WORD m : modifiers) input::Key(m, true);
  input::Key(key, true);
  input::Key(key, false);
  for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) input::Key(*it, false);
}

}  // namespace pelisk
