// The per-process state that the library's entry fills, for programs that link the hook code
// directly (the benchmarks): filled by BenchInitGlobals as process attach would.
#include "hooklib/core_win.h"
#include "common/mbcs.h"

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

void BenchInitGlobals() {
  g_libraryModule = GetModuleHandleW(nullptr);
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  if (GetVersionExW(&version)) g_osMajorVersion = version.dwMajorVersion;
  g_hostPathLength = GetModuleFileNameA(nullptr, g_hostPath, MAX_PATH);
  g_hostNameOffset = FileNameOffset(g_hostPath, CharNextAnsi);
  g_moduleQueryMsg = RegisterWindowMessageW(L"QorvMsgGetModule ");
}

}  // namespace qorv
