// qorv: the resident main program. The entry: "/quit" ends the running copy (exit code 0 gone,
// 1 none ran, 2 still there), "/takeover" makes the running copy give way and waits for it;
// otherwise one copy per desktop holds the presence mutex, binds the hook library beside it,
// creates the main window (qorv_win.cpp) and pumps its messages.
#include <objbase.h>
#include <windows.h>

#include <cwchar>

#include "common/dll_search_win.h"
#include "common/presence.h"
#include "host/texts_win.h"
#include "host/host_win.h"
#include "host/publish_win.h"
#include "host/qorv_win.h"
#include "host/resource.h"

namespace {

using namespace qorv;

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

constexpr DWORD kQuitWaitMs = 10000;      // for the running copy to remove its hooks and end
constexpr DWORD kTakeoverWaitMs = 15000;  // for the copy that made way to let go of the presence mutex

bool HasArgument(const wchar_t* cmdLine, const wchar_t* word) { return wcsstr(cmdLine, word) != nullptr; }

// "QorvWnd <desktop window handle in signed decimal>": held by the running copy.
void PresenceName(wchar_t* name, size_t count) {
  swprintf(name, count, L"QorvWnd %d", static_cast<int>(reinterpret_cast<INT_PTR>(GetDesktopWindow())));
}

// Asks the running copy to end and waits until it has removed its hooks and gone. Waits on the
// process, or, where it may not be opened (an elevated copy), on the presence mutex, which the
// running copy owns until its main thread ends.
QuitOutcome EndRunningCopy() {
  HWND running = FindWindowW(kMainClass, kTitle);
  if (running == nullptr) return QuitOutcome::NoneRunning;
  DWORD pid = 0;
  GetWindowThreadProcessId(running, &pid);
  Handle waitOn(OpenProcess(SYNCHRONIZE, FALSE, pid));
  if (waitOn.Get() == nullptr) {
    wchar_t name[64];
    PresenceName(name, 64);
    waitOn.Reset(OpenMutexW(SYNCHRONIZE, FALSE, name));
  }
  // Refused by the filter of a copy with more rights, or the window went meanwhile.
  if (!PostMessageW(running, WM_CLOSE, 0, 0)) {
    return IsWindow(running) ? QuitOutcome::StillThere : QuitOutcome::Gone;
  }
  if (waitOn.Get() == nullptr) return QuitOutcome::StillThere;
  const DWORD waited = WaitForSingleObject(waitOn.Get(), kQuitWaitMs);
  return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED ? QuitOutcome::Gone : QuitOutcome::StillThere;
}

// Takes the presence mutex, owned by the main thread for the whole run. With takeover, waits for
// the copy that made way to let go of it. False when another copy runs (or did not let go in time).
bool TakePresence(Handle& presence, bool takeover) {
  wchar_t name[64];
  PresenceName(name, 64);
  presence.Reset(CreateMutexW(nullptr, TRUE, name));
  const InstanceCheck check = InstanceFromCreate(presence.Get() != nullptr, GetLastError());
  if (check != InstanceCheck::Another) return true;  // First, or Unguarded: runs without the guard
  if (!takeover) return false;
  // The least access that waiting needs; the mutex of a copy with more rights refuses more.
  if (presence.Get() == nullptr) presence.Reset(OpenMutexW(SYNCHRONIZE, FALSE, name));
  if (presence.Get() == nullptr) {
    // It went between the two calls: make it anew.
    presence.Reset(CreateMutexW(nullptr, TRUE, name));
    return InstanceFromCreate(presence.Get() != nullptr, GetLastError()) != InstanceCheck::Another;
  }
  // Ours once the old copy's main thread releases it or ends (abandoned).
  const DWORD waited = WaitForSingleObject(presence.Get(), kTakeoverWaitMs);
  return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

bool LoadLibraryBesideExe() {
  wchar_t path[MAX_PATH];
  return PathBesideExe(L"vantel.dll", path) && LibraryLoad(path, g_lib);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int) {
  LoadSystemDllsOnly();
  // Ends the running copy: 0 once it has gone, 1 when none ran, 2 when it did not end in time.
  if (HasArgument(cmdLine, L"/quit")) return QuitExitCode(EndRunningCopy());
  // Started again with other rights ("restart as administrator"): the copy running now makes way.
  const bool takeover = HasArgument(cmdLine, L"/takeover");
  if (takeover) EndRunningCopy();

  // One copy per desktop: the presence mutex also tells the settings program that we run.
  Handle presence;
  if (!TakePresence(presence, takeover)) return 0;

  if (!LoadLibraryBesideExe()) {
    MessageBoxW(nullptr, HostText(IDS_NO_LIBRARY).c_str(), kTitle,
                MB_ICONERROR);
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
