// How long the main program's hook thread takes to answer a hook call while the UI thread does its
// slowest work. Under Wine the only hook of the installing thread that is called is the low-level
// mouse hook (there is no out-of-context call here): a measuring thread injects 1,000 cursor moves
// and times each from SendInput until the hook has counted it, while the UI thread
//   - pumps (the baseline),
//   - runs restore passes over 100 translucent windows of another thread,
//   - has a message box open,
//   - starts programs with ShellExecuteEx and waits for each to end,
//   - waits without pumping, as the conversion hook's install and removal may,
// and, for contrast, the restore passes once more with the low-level hook on the UI thread itself,
// as before the hook thread existed. Run by tools/bench.sh from build/win64.
#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "common/flags.h"
#include "host/hook_thread_win.h"
#include "host/hooks_wanted.h"
#include "host/hotkeys_win.h"
#include "host/library_win.h"

namespace {

using namespace qorv;

constexpr int kCalls = 1000;
// With the hook on a thread that does not pump, each move waits for the next pump: a few suffice.
constexpr int kContrastCalls = 40;
int g_calls = kCalls;
constexpr int kWindows = 100;
constexpr UINT kReply = WM_APP + 1;
constexpr UINT kDone = WM_APP + 2;

LibraryApi g_api;
HWND g_ui;
volatile LONG g_measuring;
std::vector<double> g_times;

double Now() {
  LARGE_INTEGER f;
  LARGE_INTEGER t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

void MoveTo(int x, int y) {
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>(x * 65535LL / (GetSystemMetrics(SM_CXSCREEN) - 1));
  in.mi.dy = static_cast<LONG>(y * 65535LL / (GetSystemMetrics(SM_CYSCREEN) - 1));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof(in));
}

// The measuring thread: each move from injection until the hook has counted it (at most 2 s).
DWORD WINAPI Measure(LPVOID) {
  g_times.clear();
  for (int i = 0; i < g_calls; ++i) {
    const uint32_t before = MouseWatchEvents();
    const double start = Now();
    MoveTo(600 + (i & 1) * 7, 500 + (i & 2) * 3);
    while (MouseWatchEvents() == before && Now() - start < 2.0) SwitchToThread();
    g_times.push_back((Now() - start) * 1e6);
  }
  InterlockedExchange(&g_measuring, 0);
  PostMessageW(g_ui, kDone, 0, 0);
  return 0;
}

void Report(const char* what, double baselineWorst) {
  std::vector<double> t = g_times;
  std::sort(t.begin(), t.end());
  const double worst = t.back();
  std::printf("%-58s %4zu moves: worst %8.0f us  median %6.0f us  99th %7.0f us  worst/idle worst %.2f\n", what,
              t.size(), worst, t[t.size() / 2], t[t.size() * 99 / 100],
              baselineWorst > 0 ? worst / baselineWorst : 1.0);
}

HANDLE StartMeasuring() {
  InterlockedExchange(&g_measuring, 1);
  return CreateThread(nullptr, 0, Measure, nullptr, 0, nullptr);
}

void Pump(UINT until) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == until) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// 100 translucent top-level windows owned by a thread of their own, as other programs' windows are.
HWND g_windows[kWindows];
HANDLE g_windowsReady;
DWORD WINAPI WindowThread(LPVOID) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QorvBenchLayered";
  RegisterClassW(&wc);
  for (int i = 0; i < kWindows; ++i) {
    g_windows[i] = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, wc.lpszClassName, L"bench", WS_POPUP | WS_VISIBLE,
                                   10 + i * 3, 10 + i * 2, 60, 40, nullptr, nullptr, wc.hInstance, nullptr);
  }
  SetEvent(g_windowsReady);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  for (HWND w : g_windows) DestroyWindow(w);
  return 0;
}

// One restore pass as the UI thread runs it when the message hook goes: every window made
// wheel-translucent first, then the library makes them opaque again.
void RestorePass() {
  for (HWND w : g_windows) {
    SetPropW(w, L"qv WndLay", reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(125)));
    SetLayeredWindowAttributes(w, 0, 125, LWA_ALPHA);
  }
  g_api.setHookFlag(main_flag::kWheelTranslucent, 0, 0, 0);
  g_api.setHookFlag(0, 0, 0, 0);
}

void RestoreWhileMeasuring() {
  HANDLE m = StartMeasuring();
  while (g_measuring != 0) RestorePass();
  WaitForSingleObject(m, INFINITE);
  CloseHandle(m);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// The UI thread waits without pumping, as long as SetHookLLMouse and UnHookLLMouse may wait for the
// library's low-level thread (400 ms), again and again.
void WaitsWhileMeasuring() {
  HANDLE never = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE m = StartMeasuring();
  while (g_measuring != 0) WaitForSingleObject(never, 400);
  WaitForSingleObject(m, INFINITE);
  CloseHandle(m);
  CloseHandle(never);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

DWORD WINAPI CloseMessageBox(LPVOID) {
  HANDLE m = StartMeasuring();
  WaitForSingleObject(m, INFINITE);
  CloseHandle(m);
  HWND box = nullptr;
  while ((box = FindWindowW(L"#32770", L"Qorv bench")) == nullptr) SwitchToThread();
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  return 0;
}

void ShellExecuteWhileMeasuring() {
  wchar_t exe[MAX_PATH];
  PathBesideExe(L"qorv32.exe", exe);  // without arguments it ends at once
  HANDLE m = StartMeasuring();
  int started = 0;
  while (g_measuring != 0) {
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = exe;
    info.nShow = SW_HIDE;
    if (ShellExecuteExW(&info) && info.hProcess != nullptr) {
      WaitForSingleObject(info.hProcess, INFINITE);
      CloseHandle(info.hProcess);
      ++started;
    }
  }
  WaitForSingleObject(m, INFINITE);
  CloseHandle(m);
  std::printf("  (%d programs started meanwhile)\n", started);
}

bool Ask(uint32_t kinds) {
  HookRequest r = {};
  r.kinds = kinds;
  r.owner = g_ui;
  r.getMsgNotify = WM_APP + 10;
  r.callWndNotify = WM_APP + 11;
  r.mouseNotify = WM_APP + 12;
  r.watchNotify = WM_APP + 13;
  if (!HookThreadRequest(r)) return false;
  Pump(kReply);
  return true;
}

}  // namespace

int wmain() {
  wchar_t path[MAX_PATH];
  if (!PathBesideExe(L"vantel.dll", path) || !LibraryLoad(path, g_api)) {
    std::printf("vantel.dll not found beside the program\n");
    return 1;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  g_ui = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  g_windowsReady = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE windows = CreateThread(nullptr, 0, WindowThread, nullptr, 0, nullptr);
  WaitForSingleObject(g_windowsReady, INFINITE);
  if (!HookThreadStart(g_api, g_ui, kReply) || !Ask(hook_bit::kLibraryWindowHooks | hook_bit::kWatch)) {
    std::printf("the hook thread did not start\n");
    return 1;
  }
  std::printf("hook thread: %d cursor moves per row, each timed from SendInput until the low-level hook counted it\n",
              kCalls);

  HANDLE m = StartMeasuring();
  Pump(kDone);
  WaitForSingleObject(m, INFINITE);
  CloseHandle(m);
  Report("UI thread idle (pumping)", 0);
  const double idle = *std::max_element(g_times.begin(), g_times.end());

  double passStart = Now();
  RestorePass();
  std::printf("  (one restore pass over %d windows takes %.0f us here)\n", kWindows, (Now() - passStart) * 1e6);
  RestoreWhileMeasuring();
  Report("UI thread: restore passes over 100 windows", idle);

  HANDLE closer = CreateThread(nullptr, 0, CloseMessageBox, nullptr, 0, nullptr);
  MessageBoxW(nullptr, L"the hook thread is measured", L"Qorv bench", MB_OK);
  WaitForSingleObject(closer, INFINITE);
  CloseHandle(closer);
  Report("UI thread: a message box open", idle);

  ShellExecuteWhileMeasuring();
  Report("UI thread: ShellExecuteEx, waiting for each program", idle);

  WaitsWhileMeasuring();
  Report("UI thread: waits of 400 ms without pumping", idle);

  // Before the hook thread: the low-level hook on the UI thread itself.
  Ask(hook_bit::kLibraryWindowHooks);
  static const uint32_t kNone[1] = {0};
  MouseWatchInstall(g_ui, WM_APP + 13, kNone, 0);
  g_calls = kContrastCalls;
  RestoreWhileMeasuring();
  Report("for contrast: the hook on the UI thread, restore passes", idle);
  WaitsWhileMeasuring();
  Report("for contrast: the hook on the UI thread, waits of 400 ms", idle);
  MouseWatchRemove();

  Ask(0);
  HookThreadStop(10000);
  PostThreadMessageW(GetThreadId(windows), WM_QUIT, 0, 0);
  WaitForSingleObject(windows, 10000);
  return 0;
}
