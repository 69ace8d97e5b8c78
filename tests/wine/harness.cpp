#include "tests/wine/harness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "host/published_block.h"
#include "tests/wine/target_protocol.h"

namespace harness {

std::wstring ExeDir() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path, length);
  return dir.substr(0, dir.find_last_of(L'\\'));
}

std::wstring NewRunDir() {
  static int counter;
  const std::wstring base = ExeDir() + L"\\run";
  CreateDirectoryW(base.c_str(), nullptr);
  for (;;) {
    wchar_t name[64];
    swprintf(name, 64, L"\\%lu-%lu-%d", GetCurrentProcessId(), GetTickCount(), ++counter);
    const std::wstring dir = base + name;
    if (CreateDirectoryW(dir.c_str(), nullptr)) return dir;
  }
}

void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (GetTickCount() - start < ms);
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (pred()) return true;
    if (GetTickCount() - start >= timeoutMs) return pred();
    Pump(10);
  }
}

namespace {

template <typename T>
void Bind(HMODULE module, T& fn, const char* name) {
  fn = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

volatile qorv::SharedState* FindSharedSection(HMODULE module) {
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
    if (std::memcmp(section->Name, ".shared", 8) == 0 && section->Misc.VirtualSize >= sizeof(qorv::SharedState)) {
      return reinterpret_cast<volatile qorv::SharedState*>(base + section->VirtualAddress);
    }
  }
  return nullptr;
}

}  // namespace

Library::Library(const wchar_t* fileName) : dir_(NewRunDir()) {
  const std::wstring source = ExeDir() + L"\\vantel.dll";
  const std::wstring copy = dir_ + L"\\" + fileName;
  if (!CopyFileW(source.c_str(), copy.c_str(), FALSE)) return;
  module_ = LoadLibraryW(copy.c_str());
  if (module_ == nullptr) return;
  Bind(module_, GetDllCount, "GetDllCount");
  Bind(module_, SetHookFlag, "SetHookFlag");
  Bind(module_, SetHookGetMsg, "SetHookGetMsg");
  Bind(module_, UnHookGetMsg, "UnHookGetMsg");
  Bind(module_, SetHookCallWnd, "SetHookCallWnd");
  Bind(module_, UnHookCallWnd, "UnHookCallWnd");
  Bind(module_, SetHookMouse, "SetHookMouse");
  Bind(module_, UnHookMouse, "UnHookMouse");
  Bind(module_, SetHookLLMouse, "SetHookLLMouse");
  Bind(module_, UnHookLLMouse, "UnHookLLMouse");
  Bind(module_, SetHookDebug, "SetHookDebug");
  Bind(module_, UnHookDebug, "UnHookDebug");
  shared_ = FindSharedSection(module_);
}

Library::~Library() {
  if (module_ == nullptr) return;
  // Leave the desktop as found: no hook of this copy stays installed.
  if (UnHookMouse) UnHookMouse();
  // The low-level hook's thread runs library code: it must end before the library is freed.
  if (UnHookLLMouse) UnHookLLMouse();
  if (UnHookDebug) UnHookDebug();
  if (UnHookCallWnd) UnHookCallWnd();
  if (UnHookGetMsg) UnHookGetMsg();
  FreeLibrary(module_);
}

OwnerWindow::OwnerWindow() {
  static ATOM atom;
  if (atom == 0) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QorvTestOwner";
    atom = RegisterClassExW(&wc);
  }
  hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"QorvTestOwner", L"qorv test owner", WS_POPUP, 0, 0, 0, 0, nullptr,
                          nullptr, GetModuleHandleW(nullptr), this);
}

OwnerWindow::~OwnerWindow() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

LRESULT CALLBACK OwnerWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  }
  auto* self = reinterpret_cast<OwnerWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self != nullptr && msg >= WM_APP && msg < 0xC000) self->received.push_back({msg, wp, lp});
  return DefWindowProcW(hwnd, msg, wp, lp);
}

namespace {

// Every child of this test program joins one job that ends them all when its last handle closes:
// a test program that crashes or is killed on a time-out takes its children with it.
HANDLE ChildJob() {
  static HANDLE job;
  if (job == nullptr) {
    job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job != nullptr &&
        !SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits))) {
      CloseHandle(job);
      job = nullptr;
    }
  }
  return job;
}

}  // namespace

Process::Process(const std::wstring& exe, const std::wstring& args, const std::wstring& dir) {
  std::wstring cmd = L"\"" + exe + L"\" " + args;
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  HANDLE job = ChildJob();
  // Suspended until it has joined the job, so that nothing it starts escapes.
  if (job == nullptr || !CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                                        dir.empty() ? nullptr : dir.c_str(), &si, &info_)) {
    info_ = {};
    return;
  }
  if (!AssignProcessToJobObject(job, info_.hProcess)) {
    TerminateProcess(info_.hProcess, 98);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
    info_ = {};
    return;
  }
  ResumeThread(info_.hThread);
}

Process::~Process() {
  if (info_.hProcess == nullptr) return;
  if (!WaitExit(0)) Kill();
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool Process::WaitExit(DWORD timeoutMs, DWORD* exitCode) {
  if (info_.hProcess == nullptr) return true;
  bool ended = false;
  WaitFor([&] { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }, timeoutMs);
  ended = WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0;
  if (ended && exitCode != nullptr) GetExitCodeProcess(info_.hProcess, exitCode);
  return ended;
}

void Process::Kill() {
  if (info_.hProcess == nullptr) return;
  TerminateProcess(info_.hProcess, 99);
  WaitForSingleObject(info_.hProcess, 5000);
}

namespace {

std::wstring TargetArgs(const std::wstring& prefix, const std::vector<std::wstring>& kinds) {
  std::wstring args = prefix;
  for (const auto& kind : kinds) args += L" " + kind;
  return args;
}

std::wstring UniquePrefix() {
  static int counter;
  wchar_t prefix[64];
  swprintf(prefix, 64, L"qt%lu-%d", GetCurrentProcessId(), ++counter);
  return prefix;
}

}  // namespace

Target::Target(const std::vector<std::wstring>& kinds)
    : prefix_(UniquePrefix()),
      kinds_(kinds),
      process_(ExeDir() + L"\\qorv_target.exe", TargetArgs(prefix_, kinds)) {
  for (const auto& kind : kinds_) {
    const std::wstring title = prefix_ + L":" + kind;
    HWND found = nullptr;
    WaitFor([&] { return (found = FindWindowW(target::kClass, title.c_str())) != nullptr; });
    windows_.push_back(found);
  }
}

Target::~Target() {
  if (!ended_) Quit();
}

HWND Target::Window(const std::wstring& kind) const {
  for (size_t i = 0; i < kinds_.size(); ++i) {
    if (kinds_[i] == kind) return windows_[i];
  }
  return nullptr;
}

LRESULT Target::Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) const {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_NORMAL, 10000, &result)) return -12345;
  return static_cast<LRESULT>(result);
}

bool Target::Quit() {
  ended_ = true;
  for (HWND hwnd : windows_) {
    if (hwnd != nullptr) {
      PostMessageW(hwnd, target::kCmdQuit, 0, 0);
      break;
    }
  }
  if (process_.WaitExit(10000)) return true;
  process_.Kill();
  return false;
}

PublishedTable::PublishedTable(uint32_t number, const std::vector<qorv::MapEntry>& rows) {
  const std::vector<uint8_t> block = qorv::PublishedBlockBuild(rows);
  wchar_t name[96];
  swprintf(name, 96, L"QorvMapFlag0x%X %u", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(GetDesktopWindow())),
           number);
  mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, static_cast<DWORD>(block.size()),
                                name);
  if (mapping_ == nullptr) return;
  void* view = MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, block.size());
  if (view != nullptr) {
    memcpy(view, block.data(), block.size());
    UnmapViewOfFile(view);
  }
}

PublishedTable::~PublishedTable() {
  if (mapping_ != nullptr) CloseHandle(mapping_);
}

Layered ReadLayered(HWND hwnd) {
  Layered result = {};
  result.ok = GetLayeredWindowAttributes(hwnd, &result.key, &result.alpha, &result.flags) != FALSE;
  return result;
}

bool IsLayered(HWND hwnd) { return (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

UINT_PTR Prop(HWND hwnd, const wchar_t* name) { return reinterpret_cast<UINT_PTR>(GetPropW(hwnd, name)); }

int WindowHeight(HWND hwnd) {
  RECT rect = {};
  GetWindowRect(hwnd, &rect);
  return rect.bottom - rect.top;
}

}  // namespace harness
