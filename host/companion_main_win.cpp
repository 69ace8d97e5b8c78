// qorv32: the 32-bit companion of the x86_64 main program. Windows loads a global hook only into
// processes of its own bitness, so this program installs the window hooks of the i686 library
// (vantel32.dll beside it) for the 32-bit processes, from a hook thread of its own, with the main
// program's window as their owner: their reports go straight to the main program. It follows the
// handover block that the main program keeps for it and ends with the main program's process, when
// its window is closed, and when a newer main program takes over.
//
// Command line: /companion <main window> <main process id>.
#include <windows.h>

#include <cstdlib>
#include <cwchar>

#include "common/flags.h"
#include "host/companion.h"
#include "host/companion_win.h"
#include "host/hook_thread_win.h"
#include "host/hooks_wanted.h"
#include "host/library_win.h"

namespace {

using namespace qorv;

constexpr UINT kHookReply = WM_APP + 2;
constexpr DWORD kHookThreadStopMs = 10000;

struct CompanionState {
  HWND main;
  LibraryApi lib;
  HANDLE mapping;
  const CompanionHandover* block;
  CompanionHandover words;
  uint32_t requested;
  bool sessionEnds;  // the session ends: the library's passes over every window are skipped
};
CompanionState g_state;

bool OpenHandover() {
  if (g_state.block != nullptr) return true;
  wchar_t name[64];
  CompanionMappingName(g_state.main, name, 64);
  g_state.mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, name);
  if (g_state.mapping == nullptr) return false;
  g_state.block = static_cast<const CompanionHandover*>(
      MapViewOfFile(g_state.mapping, FILE_MAP_READ, 0, 0, sizeof(CompanionHandover)));
  return g_state.block != nullptr;
}

// The flag words as handed over; while the message hook is on its way out, without roll-up and
// wheel translucency, so that the library restores those windows here and not on the hook thread.
void HandOverFlags(const CompanionHandover& w, bool messageHookGoes) {
  const uint32_t restorable = main_flag::kRollUp | main_flag::kWheelTranslucent;
  g_state.lib.setHookFlag(messageHookGoes ? w.mainFlag & ~restorable : w.mainFlag, w.wheelFlag, w.wndFlag, w.extraFlag);
}

void Apply(const CompanionHandover& w) {
  const uint32_t kinds = CompanionKinds(w.kinds);
  HandOverFlags(w, (g_state.requested & hook_bit::kGetMsg) != 0 && (kinds & hook_bit::kGetMsg) == 0);
  HookRequest r = {};
  r.kinds = kinds;
  r.owner = g_state.main;
  r.getMsgNotify = w.getMsgNotify;
  r.callWndNotify = w.callWndNotify;
  r.mouseNotify = w.mouseNotify;
  r.debugOwner = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(g_state.main));
  r.debugMask = w.debugMask;
  r.debugThread = w.debugThread;
  if (HookThreadRequest(r)) g_state.requested = kinds;
}

void OnUpdate() {
  if (!OpenHandover()) return;
  CompanionHandover w;
  if (!CompanionRead(g_state.block, w)) return;  // overlapped a write: its update message follows
  g_state.words = w;
  Apply(w);
}

LRESULT CALLBACK CompanionWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kCompanionUpdate:
      OnUpdate();
      return 0;
    case kHookReply:
      return 0;
    case kCompanionSessionEnds:
      g_state.sessionEnds = true;
      DestroyWindow(hwnd);
      return 0;
    case WM_ENDSESSION:
      // The system may end this process, or the main program's, at any time from here: whichever
      // way it ends, the windows are being closed and need no restoring.
      if (wp) g_state.sessionEnds = true;
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

// "/companion <window> <pid>": false when the arguments are missing or malformed.
bool ParseArguments(const wchar_t* cmdLine, HWND& main, DWORD& pid) {
  const wchar_t* at = wcsstr(cmdLine, L"/companion");
  if (at == nullptr) return false;
  wchar_t* end = nullptr;
  const unsigned long window = wcstoul(at + 10, &end, 10);
  if (end == at + 10 || window == 0) return false;
  const wchar_t* next = end;
  const unsigned long process = wcstoul(next, &end, 10);
  if (end == next || process == 0) return false;
  main = reinterpret_cast<HWND>(static_cast<UINT_PTR>(window));
  pid = static_cast<DWORD>(process);
  return true;
}

// Pumps until the main program's process ends or the window is closed.
void Run(HANDLE mainProcess) {
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjects(1, &mainProcess, FALSE, INFINITE, QS_ALLINPUT);
    if (woke != WAIT_OBJECT_0 + 1) return;  // the main program ended (or the wait failed)
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int) {
  DWORD mainPid = 0;
  if (!ParseArguments(cmdLine, g_state.main, mainPid)) return 1;
  HANDLE mainProcess = OpenProcess(SYNCHRONIZE, FALSE, mainPid);
  if (mainProcess == nullptr) return 1;
  wchar_t path[MAX_PATH];
  if (!PathBesideExe(kCompanionLibrary, path) || !LibraryLoad(path, g_state.lib)) return 2;

  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = CompanionWndProc;
  wc.hInstance = instance;
  wc.lpszClassName = kCompanionClass;
  if (!RegisterClassExW(&wc)) return 3;
  // Top-level and hidden, so that a newer main program finds it by class and title.
  HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kCompanionClass, kCompanionTitle, WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, instance, nullptr);
  if (hwnd == nullptr) return 3;
  // A companion killed before us left its slots in the shared block with the main window, which
  // lives on, as their owner. Its hooks went with its thread: removing a hook whose handle names no
  // hook any more clears the slot, while a live hook of another program is not ours to remove.
  g_state.lib.unHookDebug();
  g_state.lib.unHookMouse();
  g_state.lib.unHookCallWnd();
  g_state.lib.unHookGetMsg();
  if (!HookThreadStart(g_state.lib, hwnd, kHookReply)) return 4;
  PostMessageW(g_state.main, kCompanionHello, reinterpret_cast<WPARAM>(hwnd), 0);
  OnUpdate();

  Run(mainProcess);

  // Nothing stays: rolled-up and translucent windows restored here, then the hooks removed. At
  // session end the message hook goes with the hook thread, without the library's passes.
  if (g_state.requested != 0 && !g_state.sessionEnds) {
    HandOverFlags(g_state.words, (g_state.requested & hook_bit::kGetMsg) != 0);
  }
  HookRequest none = {};
  none.leaveMessageHook = g_state.sessionEnds;
  HookThreadRequest(none);
  HookThreadStop(kHookThreadStopMs);
  if (IsWindow(hwnd)) DestroyWindow(hwnd);
  CloseHandle(mainProcess);
  return 0;
}
