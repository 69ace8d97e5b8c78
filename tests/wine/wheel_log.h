// The wheel application (qorv_wheel.exe) seen from a test program: its windows and the log of what
// they receive, read through the named mapping it keeps.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/wine/harness.h"
#include "tests/wine/wheel_protocol.h"

namespace wheellog {

using namespace wheelapp;

// The wheel application and the log of what its windows receive.
class App {
 public:
  App() : process_(harness::ExeDir() + L"\\qorv_wheel.exe", L"") {
    wchar_t name[64];
    LogName(name, 64, process_.Id());
    harness::WaitFor([&] { return (mapping_ = OpenFileMappingW(FILE_MAP_READ, FALSE, name)) != nullptr; });
    if (mapping_ != nullptr) log_ = static_cast<const Log*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, sizeof(Log)));
    harness::WaitFor([&] { return log_ != nullptr && log_->ready != 0; });
  }
  ~App() {
    if (Ready()) PostMessageW(Window(kScroll), kCmdQuit, 0, 0);
    process_.WaitExit(10000);
    if (log_ != nullptr) UnmapViewOfFile(log_);
    if (mapping_ != nullptr) CloseHandle(mapping_);
  }
  bool Ready() const { return log_ != nullptr && log_->ready != 0; }
  HWND Window(Kind kind) const { return reinterpret_cast<HWND>(log_->windows[kind]); }
  LONG Mark() const { return log_->count; }
  // Posts a marker behind what was posted to the window and waits until the window took it; then
  // counts the entries of msg (with the low word `code` of wParam, unless -1) for the window from
  // `from` on.
  int Count(Kind kind, UINT msg, LONG from, int code = -1) const {
    const LONG mark = Mark();
    PostMessageW(Window(kind), kCmdMark, 0, 0);
    EXPECT_TRUE(harness::WaitFor([&] { return Find(kind, kCmdMark, mark) > 0; })) << "the marker did not arrive";
    return Find(kind, msg, from, code);
  }
  DWORD Id() const { return process_.Id(); }

 private:
  int Find(Kind kind, UINT msg, LONG from, int code = -1) const {
    int n = 0;
    const LONG count = log_->count < static_cast<LONG>(kMaxEntries) ? log_->count : kMaxEntries;
    for (LONG i = from; i < count; ++i) {
      const Entry& e = log_->entries[i];
      n += e.kind == kind && e.msg == msg && (code < 0 || (e.wp & 0xFFFF) == static_cast<uint64_t>(code));
    }
    return n;
  }
  harness::Process process_;
  HANDLE mapping_ = nullptr;
  const Log* log_ = nullptr;
};

}  // namespace wheellog
