// What the Wine tests share: a fresh copy of the hook library per test (so that its shared block
// starts at zero), the main program's role (owner window, installs), target processes, and waiting
// on conditions while pumping messages.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "hooklib/shared_state.h"
#include "hooklib/vantel.h"
#include "settings/map_file.h"

namespace harness {

std::wstring ExeDir();
// A new empty folder beside the test program, unique to this process and call.
std::wstring NewRunDir();

// Waits until pred() holds, pumping this thread's messages; false after timeoutMs.
bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs = 10000);
void Pump(DWORD ms);
// Writes bytes as the whole content of a file; the test fails when the file cannot be made.
void WriteBytes(const std::wstring& path, const std::string& bytes);

// The library copied into a fresh folder and loaded: every copy of the same file shares one block,
// a new file starts with a zero block.
class Library {
 public:
  // fileName: the name the copy gets (the companion's library is the same code under another name).
  explicit Library(const wchar_t* fileName = L"vantel.dll");
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  bool Loaded() const { return module_ != nullptr; }
  const std::wstring& Dir() const { return dir_; }
  // The library's section marked shared, found through the loaded image's section table.
  volatile qorv::SharedState* Shared() const { return shared_; }

  GetDllCountFn GetDllCount = nullptr;
  SetHookFlagFn SetHookFlag = nullptr;
  SetHookFn SetHookGetMsg = nullptr;
  UnHookFn UnHookGetMsg = nullptr;
  SetHookFn SetHookCallWnd = nullptr;
  UnHookFn UnHookCallWnd = nullptr;
  SetHookFn SetHookMouse = nullptr;
  UnHookFn UnHookMouse = nullptr;
  SetHookLLMouseFn SetHookLLMouse = nullptr;
  UnHookFn UnHookLLMouse = nullptr;
  SetHookDebugFn SetHookDebug = nullptr;
  UnHookFn UnHookDebug = nullptr;

 private:
  std::wstring dir_;
  HMODULE module_ = nullptr;
  volatile qorv::SharedState* shared_ = nullptr;
};

// Plays the main program's owner window: a hidden top-level window recording what is posted to it.
class OwnerWindow {
 public:
  OwnerWindow();
  ~OwnerWindow();
  OwnerWindow(const OwnerWindow&) = delete;
  OwnerWindow& operator=(const OwnerWindow&) = delete;
  HWND Get() const { return hwnd_; }
  struct Posted {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
  };
  std::vector<Posted> received;

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
};

// A child process started by the test and always ended by it.
class Process {
 public:
  Process(const std::wstring& exe, const std::wstring& args, const std::wstring& dir = L"");
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  bool Started() const { return info_.hProcess != nullptr; }
  DWORD Id() const { return info_.dwProcessId; }
  bool WaitExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
  void Kill();

 private:
  PROCESS_INFORMATION info_ = {};
};

// The test target application with windows of the given kinds ("normal", "max", "min", "fixed").
class Target {
 public:
  explicit Target(const std::vector<std::wstring>& kinds);
  ~Target();
  Target(const Target&) = delete;
  Target& operator=(const Target&) = delete;
  // The window of a kind, or null if it did not appear.
  HWND Window(const std::wstring& kind) const;
  LRESULT Send(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0) const;
  // Asks the target to end and waits for it; true when it ended by itself.
  bool Quit();
  DWORD Id() const { return process_.Id(); }

 private:
  std::wstring prefix_;
  std::vector<std::wstring> kinds_;
  std::vector<HWND> windows_;
  Process process_;
  bool ended_ = false;
};

// A per-window table published under a number, as the main program publishes it; closed with the object.
class PublishedTable {
 public:
  PublishedTable(uint32_t number, const std::vector<qorv::MapEntry>& rows);
  ~PublishedTable();
  PublishedTable(const PublishedTable&) = delete;
  PublishedTable& operator=(const PublishedTable&) = delete;
  bool Published() const { return mapping_ != nullptr; }

 private:
  HANDLE mapping_ = nullptr;
};

struct Layered {
  bool ok;
  COLORREF key;
  BYTE alpha;
  DWORD flags;
};
Layered ReadLayered(HWND hwnd);
bool IsLayered(HWND hwnd);
UINT_PTR Prop(HWND hwnd, const wchar_t* name);
int WindowHeight(HWND hwnd);

}  // namespace harness
