// The per-process state of the hook library, filled once when the library is attached to a process.
#include "common/mbcs.h"
#include "hooklib/core_win.h"

namespace qorv {

HINSTANCE g_libraryModule;
DWORD g_osMajorVersion;
char g_hostPath[MAX_PATH];
DWORD g_hostPathLength;
DWORD g_hostNameOffset;
UINT g_moduleQueryMsg;

namespace {

const char* CharNextAnsi(const char* p) { return CharNextA(p); }

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
}

}  // namespace qorv
