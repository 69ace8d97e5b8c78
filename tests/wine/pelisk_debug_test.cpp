// The debug settings dialog inside this process: its check boxes from DebugFlag, what OK stores,
// and the hotkey questions.
#include <gtest/gtest.h>

#include "pelisk/resource.h"
#include "tests/wine/pelisk_harness.h"

namespace {

class DebugDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { pelisk::InitInProcess("[FLAGS]\r\nDebugFlag=0x00038402\r\n[HotKey]\r\nKeyLimit=0\r\n"); }
  static HWND Dialog() { return pelisk::FindOwnDialog(L"Qorv デバッグ設定"); }
  static bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
};

TEST_F(DebugDialogTest, ChecksFollowTheWordAndOkRebuildsIt) {
  bool checked = false;
  pelisk::RunInLoop([&] {
    HWND dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    for (int id = IDC_DB_HOOK_FIRST; id <= IDC_DB_HOOK_LAST; ++id) {
      EXPECT_EQ(Checked(dialog, id), id == 1184 || id == 1193 || id == 1198) << id;
    }
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, 1198)));  // disabled, yet checked
    CheckDlgButton(dialog, IDC_DB_LLREPORT, BST_CHECKED);
    CheckDlgButton(dialog, 1193, BST_UNCHECKED);
    checked = true;
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(qorv::RunDebugDialog(qorv::g_instance), 1);
  EXPECT_TRUE(checked);
  // 0x00030000 set by hand is dropped; the disabled box's bit survives.
  EXPECT_EQ(qorv::g_settings.HotkeyTable[qorv::kHotkeyDebugFlag], 0x10008002u);
  EXPECT_EQ(qorv::g_settings.HotkeyTable[qorv::kHotkeyDbgHook], 0u);
}

TEST_F(DebugDialogTest, BeforeTheNtFamilyTheBlockingControlsAreOffButTheirBitsStay) {
  qorv::g_platformId = 1;
  qorv::g_settings.HotkeyTable[qorv::kHotkeyDbgHook] = 0x00000674;  // Ctrl+Shift+F5
  bool checked = false;
  pelisk::RunInLoop([&] {
    HWND dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    for (int id : {IDC_DB_FORWND, IDC_DB_STARTUP, IDC_DB_HOTKEY}) EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, id))) << id;
    for (int id = IDC_DB_HOOK_FIRST; id <= IDC_DB_HOOK_LAST; ++id) {
      EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, id))) << id;
    }
    for (int id : {IDC_DB_GETMSG, IDC_DB_MOUSE, IDC_DB_LLREPORT}) EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, id))) << id;
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_DB_HOTKEY, qorv::KWM_GETVALUE, 0, 0), 0x674);
    checked = true;
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(qorv::RunDebugDialog(qorv::g_instance), 1);
  qorv::g_platformId = 2;
  EXPECT_TRUE(checked);
  // The disabled boxes still give their bits and the disabled control its hotkey.
  EXPECT_EQ(qorv::g_settings.HotkeyTable[qorv::kHotkeyDebugFlag], 0x00008402u);
  EXPECT_EQ(qorv::g_settings.HotkeyTable[qorv::kHotkeyDbgHook], 0x674u);
}

TEST_F(DebugDialogTest, CancelStoresNothing) {
  pelisk::RunInLoop([&] {
    HWND dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    CheckDlgButton(dialog, 1183, BST_CHECKED);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(qorv::RunDebugDialog(qorv::g_instance), 2);
  EXPECT_EQ(qorv::g_settings.HotkeyTable[qorv::kHotkeyDebugFlag], 0x00038402u);
}

TEST_F(DebugDialogTest, DuplicateHotkeyAsksAndYesGoesBackToFixIt) {
  qorv::g_settings.HotkeyTable[3] = 0x00AA0000 | 0x300 | 'T';  // Ctrl + Alt + T on the hotkeys page
  HWND dialog = nullptr;
  std::wstring question;
  bool stayedOpen = false;
  // Answers the question box that the dialog's OK opens, then looks at the dialog again.
  auto answer = [&](int button, std::function<void()> after) {
    pelisk::WhenInLoop([&] { return pelisk::FindOwnDialog(L" Warning ") != nullptr; },
                       [&, button, after](bool shown) {
                         ASSERT_TRUE(shown) << "no question was asked";
                         HWND box = pelisk::FindOwnDialog(L" Warning ");
                         question = pelisk::TextOf(GetDlgItem(box, 0xFFFF));
                         SendMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
                         pelisk::RunInLoop(after);
                       });
  };
  pelisk::RunInLoop([&] {
    dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    SendDlgItemMessageW(dialog, IDC_DB_HOTKEY, qorv::KWM_SETVALUE, 0x00BB0000 | 0x300 | 'T', 0);
    answer(IDYES, [&] {
      stayedOpen = IsWindow(dialog) && GetFocus() == GetDlgItem(dialog, IDC_DB_HOTKEY);
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(qorv::RunDebugDialog(qorv::g_instance), 2);
  EXPECT_TRUE(stayedOpen) << "Yes keeps the dialog open with the focus on the hotkey";
  EXPECT_EQ(question, L"重複しているホットキーがあります\r\n\r\n修正しますか？");
  EXPECT_EQ(qorv::g_settings.HotkeyTable[qorv::kHotkeyDbgHook], 0u);
}

TEST_F(DebugDialogTest, HotkeyHeldElsewhereAsksAndNoStoresItAnyway) {
  const uint32_t hotkey = 0x600 | 'Q';  // Ctrl + Shift + Q
  // Another process holds the hotkey until the test ends.
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, L"PeliskHotkeyHolderDone");
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, L"PeliskHotkeyHolderReady");
  harness::Process holder(harness::ExeDir() + L"\\qorv_pelisk_tests.exe",
                          L"--gtest_also_run_disabled_tests --gtest_filter=HotkeyHolder.DISABLED_HoldCtrlShiftQ");
  ASSERT_EQ(WaitForSingleObject(ready, 15000), WAIT_OBJECT_0);
  std::wstring question;
  pelisk::RunInLoop([&] {
    HWND dialog = Dialog();
    ASSERT_NE(dialog, nullptr);
    SendDlgItemMessageW(dialog, IDC_DB_HOTKEY, qorv::KWM_SETVALUE, hotkey, 0);
    pelisk::WhenInLoop([&] { return pelisk::FindOwnDialog(L" Warning ") != nullptr; },
                       [&](bool shown) {
                         ASSERT_TRUE(shown);
                         HWND box = pelisk::FindOwnDialog(L" Warning ");
                         question = pelisk::TextOf(GetDlgItem(box, 0xFFFF));
                         SendMessageW(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
                       });
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(qorv::RunDebugDialog(qorv::g_instance), 1);
  SetEvent(done);
  DWORD code = 1;
  EXPECT_TRUE(holder.WaitExit(10000, &code));
  EXPECT_EQ(code, 0u) << "the holder registered the hotkey";
  CloseHandle(ready);
  CloseHandle(done);
  EXPECT_EQ(question, L"ホットキーの登録ができませんでした\r\n\r\n修正しますか？");
  EXPECT_EQ(qorv::g_settings.HotkeyTable[qorv::kHotkeyDbgHook], hotkey);
}

// Run as a separate process by the test above: holds Ctrl + Shift + Q until told to stop.
TEST(HotkeyHolder, DISABLED_HoldCtrlShiftQ) {
  HANDLE done = OpenEventW(SYNCHRONIZE, FALSE, L"PeliskHotkeyHolderDone");
  HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"PeliskHotkeyHolderReady");
  ASSERT_NE(done, nullptr);
  ASSERT_NE(ready, nullptr);
  HWND window = CreateWindowExW(0, L"STATIC", L"holder", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(RegisterHotKey(window, 77, MOD_CONTROL | MOD_SHIFT, 'Q'));
  SetEvent(ready);
  WaitForSingleObject(done, 15000);
  UnregisterHotKey(window, 77);
  DestroyWindow(window);
}

}  // namespace
