#include "hooklib/perwindow_win.h"

#include "common/codepage.h"
#include "common/map_table.h"
#include "common/mbcs.h"
#include "hooklib/core_win.h"
#include "hooklib/perwindow.h"
#include "hooklib/shared_state.h"
#include "hooklib/win_util_win.h"

namespace qorv {
namespace {

// Cache of the last lookup (per process): repeated lookups for the window under the wheel make no
// kernel call.
struct LookupCache {
  HWND hwnd;
  uint32_t extraFlag;
  uint32_t result;
  uint32_t wheelFlag;
  uint32_t wndFlag;
};
LookupCache g_lookup;

// The executable path of the last other process asked for.
DWORD g_otherPid;
char g_otherPath[kModulePathBytes];
uint32_t g_otherNameOffset;

const char* CharNextAnsi(const char* p) { return CharNextA(p); }

// QueryFullProcessImageNameW exists from Windows Vista on: bound at run time.
// https://learn.microsoft.com/windows/win32/api/winbase/nf-winbase-queryfullprocessimagenamew
using QueryImageNameFn = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
QueryImageNameFn g_queryImageName;
bool g_queryImageNameLooked;
constexpr DWORD kProcessQueryLimited = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION

// The executable path of a process as the system knows it, in the system code page; 0 when it cannot
// tell or the path does not fit. PROCESS_QUERY_LIMITED_INFORMATION is granted for most processes of
// the same user, of any integrity level, and for AppContainer processes.
uint32_t ModulePathFromSystem(DWORD pid, char* buffer, uint32_t bufferSize) {
  if (!g_queryImageNameLooked) {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (kernel != nullptr) {
      g_queryImageName = reinterpret_cast<QueryImageNameFn>(
          reinterpret_cast<void*>(GetProcAddress(kernel, "QueryFullProcessImageNameW")));
    }
    g_queryImageNameLooked = true;
  }
  if (g_queryImageName == nullptr || bufferSize == 0) return 0;
  HANDLE process = OpenProcess(kProcessQueryLimited, FALSE, pid);
  if (process == nullptr) return 0;
  wchar_t wide[MAX_PATH];
  DWORD length = MAX_PATH;
  const BOOL queried = g_queryImageName(process, 0, wide, &length);
  CloseHandle(process);
  if (!queried || length == 0) return 0;
  const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(length), buffer,
                                        static_cast<int>(bufferSize) - 1, nullptr, nullptr);
  if (bytes <= 0) return 0;  // also when it does not fit
  buffer[bytes] = '\0';
  return static_cast<uint32_t>(bytes);
}

// The two sources of another process's path, as FetchModulePath asks them.
struct ModulePathSources {
  HWND hwnd;
  DWORD pid;
  UINT timeoutMs;
  uint32_t FromSystem(char* buffer, uint32_t size) { return ModulePathFromSystem(pid, buffer, size); }
  uint32_t FromExchange(char* buffer, uint32_t size) { return ModulePathQuery(hwnd, buffer, size, timeoutMs); }
};

// "QorvMsgGetModule " and the low 16 bits of the process id.
void ModuleMappingName(wchar_t* name, uint32_t pid) {
  AppendNumber(AppendAscii(name, "QorvMsgGetModule "), pid & 0xFFFF, 10);
}

}  // namespace

namespace {

// The published table this process reads, kept mapped while its number stays in force: a new
// window then costs no kernel call for the mapping.
struct TableView {
  uint32_t number;
  HANDLE mapping;
  const uint8_t* view;
  size_t size;  // the committed region that holds the view: nothing past it is read
};
TableView g_table;

const uint8_t* PublishedTable(uint32_t extraFlag, size_t* size) {
  const uint32_t number = extraFlag & 0xFFFF;
  if (g_table.view != nullptr && g_table.number == number) {
    *size = g_table.size;
    return g_table.view;
  }
  if (g_table.view != nullptr) UnmapViewOfFile(g_table.view);
  if (g_table.mapping != nullptr) CloseHandle(g_table.mapping);
  g_table = {};
  wchar_t name[kMapTableNameCount];
  MapTableName(name, To32(GetDesktopWindow()), number);
  HANDLE mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, name);
  if (mapping == nullptr) return nullptr;
  const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
  MEMORY_BASIC_INFORMATION info;
  if (view == nullptr || VirtualQuery(view, &info, sizeof(info)) == 0) {
    if (view != nullptr) UnmapViewOfFile(view);
    CloseHandle(mapping);
    return nullptr;
  }
  g_table = {number, mapping, static_cast<const uint8_t*>(view), info.RegionSize};
  *size = g_table.size;
  return g_table.view;
}

}  // namespace

uint32_t PerWindowLookup(HWND hwnd, uint32_t extraFlag, const char* path, uint32_t nameOffset, uint32_t* wheelFlag,
                         uint32_t* wndFlag) {
  if (hwnd != g_lookup.hwnd || extraFlag != g_lookup.extraFlag) {
    g_lookup = {hwnd, extraFlag, 0, 0, 0};
    size_t size = 0;
    const uint8_t* table = PublishedTable(extraFlag, &size);
    if (table != nullptr) {
      char className[64];
      const int classLength = GetClassNameA(hwnd, className, sizeof(className));
      WindowFacts facts;
      facts.path = path;
      facts.pathLength = path != nullptr ? static_cast<uint32_t>(lstrlenA(path)) : 0;
      facts.nameOffset = nameOffset <= facts.pathLength ? nameOffset : facts.pathLength;
      facts.isChild = (Style(hwnd) & WS_CHILD) != 0;
      facts.controlId = GetDlgCtrlID(hwnd);
      facts.className = className;
      facts.classLength = classLength > 0 ? static_cast<uint32_t>(classLength) : 0;
      const MapMatch match = MapTableMatch(table, size, facts, TextEqualNoCase);
      g_lookup.result = match.entryFlag;
      if (match.entryFlag != 0) {
        g_lookup.wheelFlag = match.wheelFlag;
        g_lookup.wndFlag = match.wndFlag;
      }
    }
  }
  if (g_lookup.result != 0) {
    if (wheelFlag != nullptr) *wheelFlag = g_lookup.wheelFlag;
    if (wndFlag != nullptr) *wndFlag = g_lookup.wndFlag;
  }
  return g_lookup.result;
}

DWORD LookupForWindow(HWND hwnd, uint32_t extraFlag, uint32_t* result, uint32_t* wheelFlag) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  uint32_t found = 0;
  uint32_t wheel = 0;
  if (pid == GetCurrentProcessId()) {
    found = PerWindowLookup(hwnd, extraFlag, g_hostPath, g_hostNameOffset, &wheel, nullptr);
  } else if (pid != 0 && pid == g_otherPid) {
    found = PerWindowLookup(hwnd, extraFlag, g_otherPath, g_otherNameOffset, &wheel, nullptr);
  } else {
    ModulePathSources sources = {hwnd, pid, 20};
    if (FetchModulePath(sources, g_otherPath, kModulePathBytes) == 0) {
      g_otherPid = 0;
      return 0;
    }
    g_otherNameOffset = FileNameOffset(g_otherPath, CharNextAnsi);
    found = PerWindowLookup(hwnd, extraFlag, g_otherPath, g_otherNameOffset, &wheel, nullptr);
    g_otherPid = pid;
  }
  if (result != nullptr) *result = found;
  if (wheelFlag != nullptr) *wheelFlag = wheel;
  return pid;
}

uint32_t ModulePathQuery(HWND hwnd, char* buffer, uint32_t bufferSize, UINT timeoutMs) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == 0) return 0;
  wchar_t name[48];
  ModuleMappingName(name, pid);
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kModulePathBytes, name);
  if (mapping == nullptr) return 0;
  char* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, kModulePathBytes));
  if (view == nullptr) {
    CloseHandle(mapping);
    return 0;
  }
  view[0] = '\0';
  uint32_t length = 0;
  DWORD_PTR answer = 0;
  if (SendMessageTimeoutW(hwnd, g_moduleQueryMsg, pid & 0xFFFF, kModulePathBytes, SMTO_ABORTIFHUNG, timeoutMs,
                          &answer) &&
      view[0] != '\0') {
    // The answer comes from another process: never read past the mapping.
    view[kModulePathBytes - 1] = '\0';
    length = static_cast<uint32_t>(lstrlenA(view));
    if (buffer != nullptr && bufferSize > 0) {
      lstrcpynA(buffer, view, static_cast<int>(bufferSize));
      if (length >= bufferSize) length = bufferSize - 1;
    }
  }
  UnmapViewOfFile(view);
  CloseHandle(mapping);
  return length;
}

uint32_t ModulePathAnswer(HWND, WPARAM wp, LPARAM lp) {
  if (lp <= 1) return 0;
  wchar_t name[48];
  ModuleMappingName(name, static_cast<uint32_t>(wp & 0xFFFF));
  HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, name);
  if (mapping == nullptr) return 0;
  char* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, kModulePathBytes));
  uint32_t written = 0;
  if (view != nullptr) {
    const DWORD size = lp < static_cast<LPARAM>(kModulePathBytes) ? static_cast<DWORD>(lp) : kModulePathBytes;
    written = GetModuleFileNameA(nullptr, view, size);
    if (written >= size) {
      view[0] = '\0';  // a truncated path would match the wrong program
      written = 0;
    }
    UnmapViewOfFile(view);
  }
  CloseHandle(mapping);
  return written;
}

}  // namespace qorv
