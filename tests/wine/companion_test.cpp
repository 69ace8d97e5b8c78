// The 32-bit companion. These machines run no 32-bit code, so its x86_64 build (qorv32.exe with the
// library copied as vantel32.dll) runs here: first as the only hook installer, with this test
// program as the stand-in for the main program; then beside a real qorv.exe, which supervises it.
#include "host/companion.h"

#include <gtest/gtest.h>

#include <string>

#include "common/flags.h"
#include "host/companion_win.h"
#include "host/hooks_wanted.h"
#include "host/tray_win.h"
#include "tests/wine/harness.h"
#include "tests/wine/input.h"
#include "tests/wine/wheel_log.h"

namespace {

using harness::WaitFor;
using namespace qorv;

constexpr UINT kNotify = WM_APP + 21;  // the stand-in's notify messages: kNotify, +1, +2

constexpr uint32_t Word(uint32_t bits, uint32_t vert) { return bits | (vert << 16); }

uint32_t Handle32(HWND hwnd) { return static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(hwnd)); }

MapEntry Row(uint32_t flag, uint32_t wheel, const char* file) {
  MapEntry e;
  e.EntryFlag = flag;
  e.EntryWheelFlag = wheel;
  e.WndId = 0;
  e.FileName = file;
  return e;
}

bool CopyBeside(const std::wstring& name, const std::wstring& dir, const std::wstring& as = L"") {
  return CopyFileW((harness::ExeDir() + L"\\" + name).c_str(), (dir + L"\\" + (as.empty() ? name : as)).c_str(),
                   FALSE) != 0;
}

// The cursor over the wheel application's scroll window, where it stays.
bool CursorOver(const wheellog::App& app) {
  HWND scroll = app.Window(wheelapp::kScroll);
  RECT r;
  GetClientRect(scroll, &r);
  POINT p = {r.right * 3 / 4, r.bottom / 4};
  ClientToScreen(scroll, &p);
  return WaitFor([&] { return input::CursorStaysAt(p) && GetAncestor(WindowFromPoint(p), GA_ROOT) == scroll; });
}

class CompanionStandIn : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.Loaded());
    ASSERT_TRUE(CopyBeside(L"qorv32.exe", lib.Dir()));
    wchar_t name[64];
    CompanionMappingName(owner.Get(), name, 64);
    mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(CompanionHandover), name);
    ASSERT_NE(mapping, nullptr);
    block = static_cast<CompanionHandover*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(CompanionHandover)));
    ASSERT_NE(block, nullptr);
  }
  void TearDown() override {
    if (block != nullptr) UnmapViewOfFile(block);
    if (mapping != nullptr) CloseHandle(mapping);
  }

  // What the main program hands over, and the update message when the companion's window is known.
  void HandOver(uint32_t wheel, uint32_t extra, uint32_t kinds) {
    CompanionWrite(block, {0, 0, wheel, 0, extra, kinds, 0, 0, kNotify, kNotify + 1, kNotify + 2});
    if (companion != nullptr) PostMessageW(companion, kCompanionUpdate, 0, 0);
  }
  bool Received(UINT msg, WPARAM lowWord) {
    for (const auto& p : owner.received) {
      if (p.msg == msg && (p.wp & 0xFFFF) == lowWord) return true;
    }
    return false;
  }
  bool Owners(uint32_t value) {
    volatile SharedState* s = lib.Shared();
    return s->GetMsgOwner == value && s->CallWndOwner == value && s->MouseOwner == value;
  }

  harness::Library lib{L"vantel32.dll"};
  harness::OwnerWindow owner;
  HANDLE mapping = nullptr;
  CompanionHandover* block = nullptr;
  HWND companion = nullptr;
};

TEST_F(CompanionStandIn, InstallsFollowsTheHandoverConvertsReportsAndEndsWithItsMainCopy) {
  wheellog::App app;
  ASSERT_TRUE(app.Ready());
  harness::Process mainCopy(harness::ExeDir() + L"\\qorv_desktop_keeper.exe", L"");
  ASSERT_TRUE(mainCopy.Started());
  const uint32_t threeLines = Word(wheel_flag::kVertScroll, 3);
  HandOver(threeLines, 0, hook_bit::kLibraryWindowHooks);
  harness::Process qorv32(
      lib.Dir() + L"\\qorv32.exe",
      L"/companion " + std::to_wstring(Handle32(owner.Get())) + L" " + std::to_wstring(mainCopy.Id()), lib.Dir());
  ASSERT_TRUE(WaitFor([&] {
    for (const auto& p : owner.received) {
      if (p.msg == kCompanionHello) companion = reinterpret_cast<HWND>(p.wp);
    }
    return companion != nullptr;
  })) << "no hello from the companion";

  // Its hooks, with the stand-in's window as owner, and the words as handed over.
  ASSERT_TRUE(WaitFor([&] { return Owners(Handle32(owner.Get())); }));
  volatile SharedState* shared = lib.Shared();
  EXPECT_EQ(shared->WheelFlag, threeLines);
  EXPECT_EQ(shared->GetMsgNotifyMsg, kNotify);

  // A notch in the target application becomes three lines, and the notch is reported to the stand-in.
  ASSERT_TRUE(CursorOver(app));
  LONG mark = app.Mark();
  input::Wheel(-120);
  EXPECT_TRUE(WaitFor([&] { return app.Count(wheelapp::kScroll, WM_VSCROLL, mark, SB_LINEDOWN) >= 3; }));
  EXPECT_EQ(app.Count(wheelapp::kScroll, WM_VSCROLL, mark, SB_LINEDOWN), 3);
  EXPECT_TRUE(WaitFor([&] { return Received(kNotify, WM_MOUSEWHEEL); })) << "no notch report";

  // The per-window table, published once by name: its row for the application gives one line.
  harness::PublishedTable table(61, {Row(0x21, Word(wheel_flag::kVertScroll, 1), "qorv_wheel.exe")});
  ASSERT_TRUE(table.Published());
  HandOver(threeLines, extra_flag::kMapTableOn | 61, hook_bit::kLibraryWindowHooks);
  ASSERT_TRUE(WaitFor([&] { return shared->ExtraFlag == (extra_flag::kMapTableOn | 61); }));
  ASSERT_TRUE(CursorOver(app));
  mark = app.Mark();
  input::Wheel(-120);
  EXPECT_TRUE(WaitFor([&] { return app.Count(wheelapp::kScroll, WM_VSCROLL, mark, SB_LINEDOWN) >= 1; }));
  EXPECT_EQ(app.Count(wheelapp::kScroll, WM_VSCROLL, mark, SB_LINEDOWN), 1);

  // Pause and resume.
  HandOver(threeLines, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return Owners(0); }));
  HandOver(threeLines, 0, hook_bit::kLibraryWindowHooks);
  EXPECT_TRUE(WaitFor([&] { return Owners(Handle32(owner.Get())); }));

  // It ends with its main copy and leaves no hook behind.
  mainCopy.Kill();
  DWORD code = 99;
  EXPECT_TRUE(qorv32.WaitExit(10000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(Owners(0));
}

TEST(CompanionStandInArguments, WithoutAMainCopyItEndsAtOnce) {
  harness::Library lib(L"vantel32.dll");
  ASSERT_TRUE(CopyBeside(L"qorv32.exe", lib.Dir()));
  for (const wchar_t* args : {L"", L"/companion", L"/companion 12345", L"/companion 0 1"}) {
    harness::Process qorv32(lib.Dir() + L"\\qorv32.exe", args, lib.Dir());
    DWORD code = 0;
    EXPECT_TRUE(qorv32.WaitExit(10000, &code)) << args;
    EXPECT_EQ(code, 1u) << args;
  }
}

// qorv.exe starts the companion from its own folder, starts it again after a kill, and ends it.
TEST(CompanionSupervision, StartedByQorvRestartedAfterAKillAndEndedOnQuit) {
  harness::Library lib(L"vantel32.dll");  // the companion's library, loaded here to read its block
  ASSERT_TRUE(lib.Loaded());
  ASSERT_TRUE(CopyBeside(L"qorv32.exe", lib.Dir()));
  ASSERT_TRUE(CopyBeside(L"qorv.exe", lib.Dir()));
  ASSERT_TRUE(CopyBeside(L"vantel.dll", lib.Dir()));
  volatile SharedState* shared = lib.Shared();
  harness::Process qorv(lib.Dir() + L"\\qorv.exe", L"", lib.Dir());
  HWND main = nullptr;
  DWORD first = 0;
  ASSERT_TRUE(WaitFor([&] {
    main = FindWindowW(L"QorvMainWnd", L"Qorv");
    HWND c = FindWindowW(kCompanionClass, kCompanionTitle);
    if (c != nullptr) GetWindowThreadProcessId(c, &first);
    return main != nullptr && first != 0 && shared->GetMsgOwner == Handle32(main) &&
           shared->MouseOwner == Handle32(main);
  })) << "the companion did not install its hooks for qorv's window";
  // The flag words as qorv hands them to its own library (no "Qorv.ini": the defaults), and pause
  // from qorv's tray menu, which the companion follows.
  EXPECT_EQ(shared->MainFlag, kMainFlagDefault);
  EXPECT_EQ(shared->WheelFlag, kWheelFlagDefault);
  PostMessageW(main, WM_COMMAND, kCmdPause, 0);
  EXPECT_TRUE(WaitFor([&] { return shared->GetMsgOwner == 0 && shared->MouseOwner == 0; })) << "pause not followed";
  PostMessageW(main, WM_COMMAND, kCmdPause, 0);
  EXPECT_TRUE(WaitFor([&] { return shared->GetMsgOwner == Handle32(main) && shared->MouseOwner == Handle32(main); }))
      << "resume not followed";

  HANDLE killed = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, first);
  ASSERT_NE(killed, nullptr);
  ASSERT_TRUE(TerminateProcess(killed, 9));
  WaitForSingleObject(killed, 10000);
  CloseHandle(killed);
  DWORD second = 0;
  ASSERT_TRUE(WaitFor([&] {
    HWND c = FindWindowW(kCompanionClass, kCompanionTitle);
    second = 0;
    if (c != nullptr) GetWindowThreadProcessId(c, &second);
    return second != 0 && second != first && shared->GetMsgOwner == Handle32(main) &&
           shared->MouseOwner == Handle32(main);
  })) << "no new companion with its hooks after the kill";

  HANDLE restarted = OpenProcess(SYNCHRONIZE, FALSE, second);
  ASSERT_NE(restarted, nullptr);
  harness::Process quit(lib.Dir() + L"\\qorv.exe", L"/quit", lib.Dir());
  EXPECT_TRUE(quit.WaitExit(15000));
  EXPECT_TRUE(qorv.WaitExit(15000));
  EXPECT_EQ(WaitForSingleObject(restarted, 10000), WAIT_OBJECT_0) << "the companion outlived qorv";
  CloseHandle(restarted);
  EXPECT_EQ(shared->GetMsgOwner, 0u);
  EXPECT_EQ(shared->MouseOwner, 0u);
}

}  // namespace
