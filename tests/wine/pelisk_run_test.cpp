// pelisk.exe as a real process: which window each command line opens, the exit codes, the bytes of
// "Qorv.ini", the notifications a stand-in main program receives, a second copy, a failed save.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "pelisk/resource.h"
#include "pelisk/sheet.h"
#include "tests/wine/pelisk_harness.h"

namespace {

const wchar_t kSheetTitle[] = L"Qorv 1.6 設定";
const wchar_t kDebugTitle[] = L"Qorv デバッグ設定";
const char kFirstRun[] = "[FLAGS]\r\nMainFlag=0x05010014\r\nWheelFlag=0x053F0BE9\r\nWndFlag=0x050A040D\r\nMxId=0\r\n";

using Posts = std::vector<std::pair<WPARAM, LPARAM>>;

class RunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(run.Copied());
    ASSERT_EQ(GetACP(), 932u);
  }
  void TearDown() override { input::ReleaseAll(); }
  // Ends the window with OK (1) or Cancel (2) and returns the exit code (-100 when it did not end).
  int Close(HWND window, int id) {
    PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
    DWORD code = 0;
    return run.WaitExit(15000, &code) ? static_cast<int>(code) : -100;
  }
  static DWORD ThreadOf(HWND window) { return GetWindowThreadProcessId(window, nullptr); }
  // Everything the program posted has arrived once a broadcast of our own, posted after it ended,
  // has arrived; returns what came before that one.
  static Posts AllPosted(pelisk::MainStandIn& main) {
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"QorvWnd"), 99, 0);
    EXPECT_TRUE(harness::WaitFor([&] { return !main.received.empty() && main.received.back().first == 99; }));
    Posts before = main.received;
    if (!before.empty()) before.pop_back();
    return before;
  }
  pelisk::PeliskRun run;
};

TEST_F(RunTest, FirstRunWritesTheFlagsBeforeTheWindowAndCancelKeepsThem) {
  ASSERT_EQ(run.ReadIni(), "<missing>");
  ASSERT_TRUE(run.Start());
  HWND frame = run.WaitWindow(kSheetTitle);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(run.ReadIni(), kFirstRun);
  EXPECT_EQ(Close(frame, IDCANCEL), 2);
  EXPECT_EQ(run.ReadIni(), kFirstRun);
}

TEST_F(RunTest, OkWithNothingChangedLeavesTheFileByteIdentical) {
  const std::string ini =
      "; mine\r\n[FLAGS]\r\nMainFlag=0x05010014\r\nWheelFlag=0x053F0BE9\r\nWndFlag=0x050A040D\r\nMxType=0x2\r\n"
      "MxId=0\r\nDebugFlag=0x00000402\r\n[HotKey]\r\nHkProp=0x00000274\r\n[Other]\r\nx=\x82\xA0\r\n";
  run.WriteIni(ini);
  ASSERT_TRUE(run.Start());
  HWND frame = run.WaitWindow(kSheetTitle);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(Close(frame, IDOK), 1);
  EXPECT_EQ(run.ReadIni(), ini);
}

TEST_F(RunTest, EachDigitOpensItsPage) {
  // A control that only that page has, and the tab count.
  const struct {
    const wchar_t* args;
    int page;
    int control;
    int tabs;
  } kCases[] = {
      {L"", 0, IDC_WH_ACTIVATE, 5},   {L"0", 0, IDC_WH_ACTIVATE, 5}, {L"1", 1, IDC_WN_LEVEL_LABEL, 5},
      {L"2", 2, IDC_OT_MIXER, 5},     {L"3", 3, IDC_PW_LIST, 5},     {L"4", 4, IDC_HK_PROP, 5},
      {L"5", 5, IDC_MB_LIST, 6},      {L"7", 4, IDC_HK_PROP, 5},     {L"4 ", 0, IDC_WH_ACTIVATE, 5},
      {L"45", 0, IDC_WH_ACTIVATE, 5},
  };
  for (const auto& k : kCases) {
    pelisk::PeliskRun one;
    ASSERT_TRUE(one.Start(k.args));
    HWND frame = one.WaitWindow(kSheetTitle);
    ASSERT_NE(frame, nullptr) << "args '" << k.args << "'";
    HWND tab = reinterpret_cast<HWND>(SendMessageW(frame, qorv::kSheetGetTab, 0, 0));
    HWND page = reinterpret_cast<HWND>(SendMessageW(frame, qorv::kSheetGetCurrentPage, 0, 0));
    EXPECT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), k.tabs) << "args '" << k.args << "'";
    EXPECT_EQ(SendMessageW(tab, TCM_GETCURSEL, 0, 0), k.page) << "args '" << k.args << "'";
    EXPECT_NE(GetDlgItem(page, k.control), nullptr) << "args '" << k.args << "'";
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof(gui);
    ASSERT_TRUE(harness::WaitFor([&] { return GetGUIThreadInfo(ThreadOf(frame), &gui) && gui.hwndFocus != nullptr; }));
    if (k.page == 4 && k.args[0] == L'4') {
      EXPECT_EQ(gui.hwndFocus, GetDlgItem(frame, IDOK)) << "digit 4 focuses OK";
    } else {
      EXPECT_TRUE(IsChild(page, gui.hwndFocus)) << "args '" << k.args << "': the focus starts in the page";
    }
    PostMessageW(frame, WM_COMMAND, IDCANCEL, 0);
    DWORD code = 0;
    EXPECT_TRUE(one.WaitExit(15000, &code));
    EXPECT_EQ(code, 2u);
  }
}

TEST_F(RunTest, DigitSixOpensTheDebugDialogWhoseOkWritesOnlyItsKeys) {
  run.WriteIni("[FLAGS]\r\nMainFlag=0x1\r\nDebugFlag=0x00030402\r\n");
  ASSERT_TRUE(run.Start(L"6"));
  HWND dialog = run.WaitWindow(kDebugTitle);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(pelisk::FindOwnDialog(kSheetTitle), nullptr);
  EXPECT_EQ(SendDlgItemMessageW(dialog, 1184, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendDlgItemMessageW(dialog, 1193, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(Close(dialog, IDOK), 1);
  EXPECT_EQ(run.ReadIni(), "[FLAGS]\r\nMainFlag=0x1\r\nDebugFlag=0x00000402\r\n\r\n[HotKey]\r\nHkDbgHook=0\r\n");
}

TEST_F(RunTest, MainProgramHearsBeginAndEndWithTheThreadId) {
  const struct {
    const wchar_t* args;
    const wchar_t* title;
    int id;
    const char* ini;  // written before the run; null: none
  } kRuns[] = {
      {L"", kSheetTitle, IDOK, nullptr},
      {L"", kSheetTitle, IDCANCEL, nullptr},
      {L"6", kDebugTitle, IDOK, nullptr},  // saved by the debug dialog's own save
      {L"6", kDebugTitle, IDCANCEL, nullptr},
      {L"", kSheetTitle, IDOK, ""},  // an empty file reads as the defaults and is saved over
  };
  for (const auto& r : kRuns) {
    pelisk::MainStandIn main;
    pelisk::PeliskRun one;
    if (r.ini != nullptr) one.WriteIni(r.ini);
    ASSERT_TRUE(one.Start(r.args));
    HWND window = one.WaitWindow(r.title);
    ASSERT_NE(window, nullptr);
    const LPARAM thread = static_cast<LPARAM>(ThreadOf(window));
    ASSERT_TRUE(harness::WaitFor([&] { return main.received.size() >= 1; }));
    PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(r.id), 0);
    DWORD code = 0;
    ASSERT_TRUE(one.WaitExit(15000, &code));
    EXPECT_EQ(code, static_cast<DWORD>(r.id)) << "args '" << r.args << "'";
    EXPECT_EQ(AllPosted(main), (Posts{{1, thread}, {r.id == IDOK ? 2u : 3u, thread}})) << "args '" << r.args << "'";
    if (r.ini != nullptr) {
      EXPECT_EQ(one.ReadIni().rfind("[FLAGS]\r\nMainFlag=0x05010014\r\n", 0), 0u);
    }
  }
}

TEST_F(RunTest, NothingIsPostedWithoutThePresenceMutex) {
  pelisk::MainStandIn listener(false);
  ASSERT_TRUE(run.Start());
  HWND frame = run.WaitWindow(kSheetTitle);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(Close(frame, IDOK), 1);
  // Witness: a broadcast of our own reaches the listener, after anything the program posted.
  EXPECT_EQ(AllPosted(listener), Posts{});
}

TEST_F(RunTest, SecondCopyRestoresAndRaisesTheFirstAndEndsQuietly) {
  pelisk::MainStandIn main;
  ASSERT_TRUE(run.Start());
  HWND frame = run.WaitWindow(kSheetTitle);
  ASSERT_NE(frame, nullptr);
  ASSERT_TRUE(harness::WaitFor([&] { return main.received.size() == 1; }));
  ShowWindow(frame, SW_MINIMIZE);
  ASSERT_TRUE(harness::WaitFor([&] { return IsIconic(frame) != FALSE; }));
  pelisk::PeliskRun second;
  ASSERT_TRUE(second.Start(L"3"));
  DWORD code = 99;
  ASSERT_TRUE(second.WaitExit(15000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(harness::WaitFor([&] { return !IsIconic(frame) && GetForegroundWindow() == frame; }));
  EXPECT_EQ(second.ReadIni(), "<missing>") << "the second copy writes nothing";
  const LPARAM thread = static_cast<LPARAM>(ThreadOf(frame));
  EXPECT_EQ(Close(frame, IDCANCEL), 2);
  EXPECT_EQ(AllPosted(main), (Posts{{1, thread}, {3, thread}})) << "only the first copy's begin and end";
}

TEST_F(RunTest, AFailedSaveIsReportedNotPassedOffAsSaved) {
  pelisk::MainStandIn main;
  run.WriteIni(kFirstRun);
  // Held open without sharing: the program can neither read nor replace the file.
  HANDLE lock = CreateFileW(run.Ini().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(run.Start());
  HWND frame = run.WaitWindow(kSheetTitle);
  ASSERT_NE(frame, nullptr);
  const LPARAM thread = static_cast<LPARAM>(ThreadOf(frame));
  PostMessageW(frame, WM_COMMAND, IDOK, 0);
  HWND box = nullptr;
  ASSERT_TRUE(harness::WaitFor([&] {
    box = run.WaitWindow(kSheetTitle, 0);
    return box != nullptr && box != frame;
  })) << "one message box tells the user";
  std::wstring text;
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    text += pelisk::TextOf(child);
  }
  EXPECT_NE(text.find(L"Qorv.ini"), std::wstring::npos) << "box text: " << std::string(text.begin(), text.end());
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  DWORD code = 0;
  ASSERT_TRUE(run.WaitExit(15000, &code));
  EXPECT_EQ(code, 2u);
  CloseHandle(lock);
  EXPECT_EQ(AllPosted(main), (Posts{{1, thread}, {3, thread}}));
  EXPECT_EQ(run.ReadIni(), kFirstRun);
}

}  // namespace
