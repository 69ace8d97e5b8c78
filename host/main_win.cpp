// qorv: the resident main program. The entry: "/quit" ends the running copy, "/takeover" makes the
// running copy give way; otherwise one copy per desktop holds the presence mutex, binds the hook
// library beside it, creates the main window (qorv_win.cpp) and pumps its messages.
#include <objbase.h>
#include <windows.h>

#include <cwchar>

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

bool LoadLibraryBesideExe() {
  wchar_t path[MAX_PATH];
  return PathBesideExe(L"vantel.dll", path) && LibraryLoad(path, g_lib);
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
