// The main program in a process of its own: presence mutex, flag words, hooks owned by its hidden
// top-level window, and every hook removed whichever way it ends.
#include <gtest/gtest.h>

#include <cwchar>

#include "common/flags.h"
#include "tests/wine/harness.h"

using harness::Library;
using harness::Process;
using harness::WaitFor;

namespace {

std::wstring MutexName() {
  wchar_t name[64];
  swprintf(name, 64, L"QorvWnd %d", static_cast<int>(reinterpret_cast<INT_PTR>(GetDesktopWindow())));
  return name;
}

bool PresenceMutexExists() {
  HANDLE mutex = OpenMutexW(0x001F0001, FALSE, MutexName().c_str());
  if (mutex == nullptr) return false;
  CloseHandle(mutex);
  return true;
}

// qorv.exe beside a fresh copy of the library, so that its shared block starts at zero.
class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.Loaded());
    exe = lib.Dir() + L"\\qorv.exe";
    ASSERT_TRUE(CopyFileW((harness::ExeDir() + L"\\qorv.exe").c_str(), exe.c_str(), FALSE));
    ASSERT_FALSE(PresenceMutexExists()) << "another qorv is running";
  }

  // Starts qorv and waits until it owns all three hooks; returns its window.
  HWND Start(Process& process) {
    EXPECT_TRUE(process.Started());
    HWND hwnd = nullptr;
    volatile qorv::SharedState* shared = lib.Shared();
    const bool up = WaitFor([&] {
      hwnd = FindWindowW(L"QorvMainWnd", L"Qorv");
      return hwnd != nullptr && shared->MouseOwner != 0;
    });
    EXPECT_TRUE(up) << "qorv did not install its hooks";
    return hwnd;
  }

  bool NoHookInstalled() {
    volatile qorv::SharedState* shared = lib.Shared();
    return shared->GetMsgOwner == 0 && shared->CallWndOwner == 0 && shared->MouseOwner == 0;
  }

  Library lib;
  std::wstring exe;
};

TEST_F(HostTest, InstallsHooksWithItsWindowAsOwnerAndRemovesThemOnQuit) {
  Process qorv(exe, L"", lib.Dir());
  HWND hwnd = Start(qorv);
  ASSERT_NE(hwnd, nullptr);
  volatile qorv::SharedState* shared = lib.Shared();
  const auto owner = static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(hwnd));
  EXPECT_EQ(shared->GetMsgOwner, owner);
  EXPECT_EQ(shared->CallWndOwner, owner);
  EXPECT_EQ(shared->MouseOwner, owner);
  EXPECT_EQ(shared->MainFlag, qorv::kMainFlagDefault);
  EXPECT_EQ(shared->WheelFlag, qorv::kWheelFlagDefault);
  EXPECT_EQ(shared->WndFlag, qorv::kWndFlagDefault);
  // Hidden and top-level, so that broadcasts reach it.
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_EQ(GetAncestor(hwnd, GA_PARENT), GetDesktopWindow());
  EXPECT_TRUE(PresenceMutexExists());

  // A second copy leaves the first alone and ends at once.
  Process second(exe, L"", lib.Dir());
  DWORD code = 99;
  ASSERT_TRUE(second.WaitExit(10000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(shared->GetMsgOwner, owner);

  Process quit(exe, L"/quit", lib.Dir());
  ASSERT_TRUE(quit.WaitExit(10000, &code));
  EXPECT_EQ(code, 0u);
  ASSERT_TRUE(qorv.WaitExit(10000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(NoHookInstalled());
  EXPECT_FALSE(PresenceMutexExists());
}

TEST_F(HostTest, RemovesHooksWhenTheUserLogsOff) {
  Process qorv(exe, L"", lib.Dir());
  HWND hwnd = Start(qorv);
  ASSERT_NE(hwnd, nullptr);
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(hwnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, &answer));
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
  ASSERT_TRUE(SendMessageTimeoutW(hwnd, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, &answer));
  EXPECT_TRUE(NoHookInstalled());
  PostMessageW(hwnd, WM_CLOSE, 0, 0);
  EXPECT_TRUE(qorv.WaitExit(10000));
}

TEST_F(HostTest, ClosingItsWindowRemovesHooks) {
  Process qorv(exe, L"", lib.Dir());
  HWND hwnd = Start(qorv);
  ASSERT_NE(hwnd, nullptr);
  PostMessageW(hwnd, WM_CLOSE, 0, 0);
  DWORD code = 99;
  ASSERT_TRUE(qorv.WaitExit(10000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(NoHookInstalled());
}

TEST(HostQuit, WithoutRunningCopyReportsFailure) {
  Process quit(harness::ExeDir() + L"\\qorv.exe", L"/quit");
  DWORD code = 0;
  ASSERT_TRUE(quit.WaitExit(10000, &code));
  EXPECT_EQ(code, 1u);
}

TEST(Environment, JapaneseCodePageAndVirtualDesktop) {
  EXPECT_EQ(GetACP(), 932u);
  // The tests run in a 1024x768 Wine virtual desktop on a larger X screen.
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
}

}  // namespace
