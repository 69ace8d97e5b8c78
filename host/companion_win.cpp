#include "host/texts_win.h"
#include "host/companion_win.h"

#include <cwchar>

#include "common/flags.h"
#include "host/companion.h"
#include "host/host_win.h"
#include "host/reports_win.h"
#include "host/tray_icon_win.h"

namespace qorv {

namespace {

constexpr DWORD kCompanionStopMs = 5000;

struct Companion {
  bool enabled;  // the x86_64 program with qorv32.exe beside it
  HANDLE mapping;
  CompanionHandover* block;
  HANDLE process;
  DWORD processId;
  HANDLE wait;  // RegisterWaitForSingleObject on the process
  HWND window;  // the companion's window, from its hello
  unsigned kinds;
  CompanionRestarts restarts;
  bool toldLaunchFailed;
};
Companion g_companion;

void CALLBACK ProcessEnded(PVOID context, BOOLEAN) {
  // On a thread of the pool: the UI thread decides.
  PostMessageW(g_host.hwnd, kCompanionEnded, reinterpret_cast<WPARAM>(context), 0);
}

void ForgetProcess() {
  if (g_companion.wait != nullptr) UnregisterWaitEx(g_companion.wait, nullptr);
  g_companion.wait = nullptr;
  if (g_companion.process != nullptr) CloseHandle(g_companion.process);
  g_companion.process = nullptr;
  g_companion.processId = 0;
  g_companion.window = nullptr;
}

bool Launch() {
  wchar_t path[MAX_PATH];
  if (!PathBesideExe(kCompanionExe, path)) return false;
  wchar_t dir[MAX_PATH];
  wcscpy(dir, path);
  *wcsrchr(dir, L'\\') = 0;
  wchar_t command[MAX_PATH + 64];
  swprintf(command, MAX_PATH + 64, L"\"%ls\" /companion %lu %lu", path,
           static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(g_host.hwnd)),
           static_cast<unsigned long>(GetCurrentProcessId()));
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(path, command, nullptr, nullptr, FALSE, 0, nullptr, dir, &startup, &info)) return false;
  CloseHandle(info.hThread);
  g_companion.process = info.hProcess;
  g_companion.processId = info.dwProcessId;
  if (!RegisterWaitForSingleObject(&g_companion.wait, info.hProcess, ProcessEnded,
                                   reinterpret_cast<PVOID>(static_cast<UINT_PTR>(info.dwProcessId)), INFINITE,
                                   WT_EXECUTEONLYONCE)) {
    g_companion.wait = nullptr;
  }
  return true;
}

#if defined(_WIN64)
// A companion of an earlier copy (killed, or still ending) gives way to ours.
void EndStaleCompanions() {
  for (HWND stale = FindWindowW(kCompanionClass, kCompanionTitle); stale != nullptr;
       stale = FindWindowExW(nullptr, stale, kCompanionClass, kCompanionTitle)) {
    PostMessageW(stale, WM_CLOSE, 0, 0);
  }
}
#endif

}  // namespace

void CompanionStart() {
#if defined(_WIN64)
  wchar_t path[MAX_PATH];
  if (!PathBesideExe(kCompanionExe, path) || GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) return;
  wchar_t name[64];
  CompanionMappingName(g_host.hwnd, name, 64);
  g_companion.mapping =
      CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(CompanionHandover), name);
  if (g_companion.mapping == nullptr) return;
  g_companion.block = static_cast<CompanionHandover*>(
      MapViewOfFile(g_companion.mapping, FILE_MAP_WRITE, 0, 0, sizeof(CompanionHandover)));
  if (g_companion.block == nullptr) return;
  g_companion.enabled = true;
  EndStaleCompanions();
  CompanionHandOver(g_companion.kinds);
  if (!Launch()) {
    g_companion.toldLaunchFailed = true;
    Tell(HostText(IDS_COMPANION_START_FAILED).c_str(), true);
  }
#endif
}

void CompanionHandOver(unsigned kinds) {
  g_companion.kinds = kinds;
  if (!g_companion.enabled) return;
  const CompanionHandover words = {0,
                                   g_host.record.MainFlag,
                                   g_host.record.WheelFlag,
                                   g_host.record.WndFlag,
                                   g_host.extraFlag,
                                   kinds,
                                   DebugFlag() & debug_flag::kHookKindMask,
                                   0,
                                   kGetMsgNotify,
                                   kCallWndNotify,
                                   kMouseNotify};
  CompanionHandover copy = words;
  if ((DebugFlag() & debug_flag::kForegroundOnly) != 0) {
    HWND front = GetForegroundWindow();
    copy.debugThread = front != nullptr ? GetWindowThreadProcessId(front, nullptr) : 0;
  }
  CompanionWrite(g_companion.block, copy);
  if (g_companion.window != nullptr) PostMessageW(g_companion.window, kCompanionUpdate, 0, 0);
}

void CompanionRefresh() { CompanionHandOver(g_companion.kinds); }

void CompanionOnHello(HWND companion) {
  DWORD pid = 0;
  GetWindowThreadProcessId(companion, &pid);
  if (pid == 0 || pid != g_companion.processId) return;  // only the companion we started
  g_companion.window = companion;
  PostMessageW(companion, kCompanionUpdate, 0, 0);
}

void CompanionOnEnded() {
  if (g_companion.process == nullptr || WaitForSingleObject(g_companion.process, 0) != WAIT_OBJECT_0) return;
  ForgetProcess();
  if (g_host.stopping) return;
  switch (CompanionEnded(g_companion.restarts, GetTickCount())) {
    case CompanionVerdict::Restart:
      if (!Launch() && !g_companion.toldLaunchFailed) {
        g_companion.toldLaunchFailed = true;
        Tell(HostText(IDS_COMPANION_START_FAILED).c_str(), true);
      }
      break;
    case CompanionVerdict::GiveUp: {
      const std::wstring text = HostText(IDS_COMPANION_GAVE_UP);
      Tell(text.c_str(), true);
      DiagnosticsNote(text.c_str());
      UpdateTip();
      break;
    }
    case CompanionVerdict::StayStopped:
      break;
  }
}

bool CompanionGaveUp() { return g_companion.restarts.gaveUp; }

bool CompanionRunning() { return g_companion.process != nullptr; }

void CompanionStop(bool sessionEnds) {
  if (g_companion.process == nullptr) return;
  HANDLE process = g_companion.process;
  if (g_companion.window != nullptr) PostMessageW(g_companion.window, sessionEnds ? kCompanionSessionEnds : WM_CLOSE, 0, 0);
  // It also ends by itself once this process has gone; waiting here keeps "qorv /quit" honest.
  WaitForSingleObject(process, kCompanionStopMs);
  ForgetProcess();
}

}  // namespace qorv
