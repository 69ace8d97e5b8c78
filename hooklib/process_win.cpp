// The per-process state of the hook library, filled once when the library is attached to a process.
#include "common/mbcs.h"
#include "hooklib/core_win.h"
#include "hooklib/process_role.h"
#include "hooklib/shared_state.h"

namespace qorv {

HINSTANCE g_libraryModule;
DWORD g_osMajorVersion;
char g_hostPath[MAX_PATH];
DWORD g_hostPathLength;
DWORD g_hostNameOffset;
UINT g_moduleQueryMsg;
bool g_installingProcess;
bool g_passThroughProcess;

namespace {

const char* CharNextAnsi(const char* p) { return CharNextA(p); }

// The process token says whether this process runs in an AppContainer; a failed query (a system
// that knows no such class) counts as not.
ProcessRole RoleOfThisProcess() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return RoleFromToken(false, 0);
  DWORD isAppContainer = 0;
  DWORD size = 0;
  const bool queried =
      GetTokenInformation(token, TokenIsAppContainer, &isAppContainer, sizeof(isAppContainer), &size) != 0;
  CloseHandle(token);
  return RoleFromToken(queried, isAppContainer);
}

}  // namespace

void InitProcessState(HINSTANCE module) {
  g_libraryModule = module;
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  if (GetVersionExW(&version)) g_osMajorVersion = version.dwMajorVersion;
  g_hostPathLength = GetModuleFileNameA(nullptr, g_hostPath, MAX_PATH);
  if (g_hostPathLength == 0 || g_hostPathLength >= MAX_PATH) {
    // Failure or a truncated path: an empty path compares against nothing.
    g_hostPathLength = 0;
    g_hostPath[0] = '\0';
  }
  g_hostNameOffset = FileNameOffset(g_hostPath, CharNextAnsi);
  g_moduleQueryMsg = RegisterWindowMessageW(L"QorvMsgGetModule ");
  g_passThroughProcess = RoleOfThisProcess() == ProcessRole::PassThrough;
}

FlagWords ReadFlags() {
  FlagWords words = {};
  // Bounded: a writer that died half-way (an odd number for ever) costs a few reads, never a wait.
  for (int attempt = 0; attempt < 64; ++attempt) {
    const uint32_t before = __atomic_load_n(&g_shared.FlagSequence, __ATOMIC_ACQUIRE);
    words.main = __atomic_load_n(&g_shared.MainFlag, __ATOMIC_RELAXED);
    words.wheel = __atomic_load_n(&g_shared.WheelFlag, __ATOMIC_RELAXED);
    words.wnd = __atomic_load_n(&g_shared.WndFlag, __ATOMIC_RELAXED);
    words.extra = __atomic_load_n(&g_shared.ExtraFlag, __ATOMIC_RELAXED);
    __atomic_thread_fence(__ATOMIC_ACQUIRE);
    if ((before & 1) == 0 && __atomic_load_n(&g_shared.FlagSequence, __ATOMIC_RELAXED) == before) break;
  }
  return words;
}

}  // namespace qorv
