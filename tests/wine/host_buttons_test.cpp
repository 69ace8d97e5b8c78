// The main program starts the mouse-button conversion and the debug hook as "Qorv.ini" asks, follows
// a new "Qorv.ini" after the settings program's save broadcast, and removes both when it ends.
#include <gtest/gtest.h>

#include <string>

#include "common/flags.h"
#include "tests/wine/harness.h"

using harness::Library;
using harness::Process;
using harness::WaitFor;

namespace {

TEST(HostButtonsTest, InstallsConversionAndDebugHookFromTheSettingsAndFollowsTheSaveBroadcast) {
  Library lib;
  ASSERT_TRUE(lib.Loaded());
  const std::wstring exe = lib.Dir() + L"\\qorv.exe";
  ASSERT_TRUE(CopyFileW((harness::ExeDir() + L"\\qorv.exe").c_str(), exe.c_str(), FALSE));
  harness::WriteBytes(lib.Dir() + L"\\Qorv.ini",
            "[FLAGS]\r\nDebugFlag=0x00100420\r\n[MouseBtn]\r\nBtnFlag=0x3\r\nSetNum=2\r\n"
            "BtnSet0=0x035000:0x00000041\r\nBtnSet1=0x016000:0x0000020B\r\n");
  Process qorv(exe, L"", lib.Dir());
  ASSERT_TRUE(qorv.Started());
  volatile qorv::SharedState* shared = lib.Shared();
  HWND hwnd = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    hwnd = FindWindowW(L"QorvMainWnd", L"Qorv");
    return hwnd != nullptr && shared->MouseOwner != 0 && shared->LLMouseOwner != 0 && shared->DebugOwner != 0;
  })) << "conversion "
      << shared->LLMouseOwner << " debug " << shared->DebugOwner;
  const auto owner = static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(hwnd));
  EXPECT_EQ(shared->LLMouseOwner, owner);
  EXPECT_NE(shared->LLMouseNotifyMsg, 0u);
  EXPECT_EQ(shared->MouseBtn.btnFlag, 3u);
  EXPECT_EQ(shared->MouseBtn.setNum, 2u);
  EXPECT_EQ(shared->MouseBtn.pairs[0].condition, 0x035000u);
  EXPECT_EQ(shared->MouseBtn.pairs[1].key, 0x20Bu);
  EXPECT_TRUE(WaitFor([&] { return shared->LLMouseHook != 0; }));
  EXPECT_EQ(shared->DebugOwner, owner);
  EXPECT_EQ(shared->DebugMask, 0x420u);  // the hook kinds only
  EXPECT_EQ(shared->DebugThread, 0u);

  // Saved with another table and mask: the conversion restarts with it, the mask changes in place.
  const UINT settingsMsg = RegisterWindowMessageW(L"QorvWnd");
  harness::WriteBytes(
      lib.Dir() + L"\\Qorv.ini",
      "[FLAGS]\r\nDebugFlag=0x00108000\r\n[MouseBtn]\r\nBtnFlag=0x1\r\nSetNum=1\r\nBtnSet0=0x016000:0x00000042\r\n");
  PostMessageW(HWND_BROADCAST, settingsMsg, 2, GetCurrentThreadId());
  EXPECT_TRUE(WaitFor([&] { return shared->MouseBtn.setNum == 1 && shared->DebugMask == 0x8000u; }));
  EXPECT_EQ(shared->MouseBtn.pairs[0].key, 0x42u);
  EXPECT_EQ(shared->LLMouseOwner, owner);
  EXPECT_EQ(shared->DebugOwner, owner);

  // Neither asked for any more: both removed.
  harness::WriteBytes(lib.Dir() + L"\\Qorv.ini", "[FLAGS]\r\nDebugFlag=0x00000420\r\n[MouseBtn]\r\nBtnFlag=0x2\r\n");
  PostMessageW(HWND_BROADCAST, settingsMsg, 2, GetCurrentThreadId());
  EXPECT_TRUE(WaitFor([&] { return shared->LLMouseOwner == 0 && shared->DebugOwner == 0; }));

  // Asked again, then the program ends: it removes both.
  harness::WriteBytes(lib.Dir() + L"\\Qorv.ini", "[FLAGS]\r\nDebugFlag=0x00100001\r\n[MouseBtn]\r\nBtnFlag=0x1\r\n");
  PostMessageW(HWND_BROADCAST, settingsMsg, 2, GetCurrentThreadId());
  EXPECT_TRUE(WaitFor([&] { return shared->LLMouseOwner == owner && shared->DebugOwner == owner; }));
  PostMessageW(hwnd, WM_CLOSE, 0, 0);
  DWORD code = 99;
  ASSERT_TRUE(qorv.WaitExit(10000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(shared->LLMouseOwner, 0u);
  EXPECT_EQ(shared->DebugOwner, 0u);
}

}  // namespace
