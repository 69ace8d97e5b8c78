// The main program in a process of its own: presence mutex, flag words, hooks owned by its hidden
// top-level window, and every hook removed whichever way it ends.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "common/flags.h"
#include "common/map_table.h"
#include "tests/wine/harness.h"
#include "tests/wine/input.h"

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

// What qorv says it holds once a registration pass has ended; 0xFFFFFFFF while none has.
uint32_t Held(HWND qorv) {
  const auto value = reinterpret_cast<UINT_PTR>(GetPropW(qorv, L"qv HkHeld"));
  return (value & 0x80000000u) != 0 ? static_cast<uint32_t>(value & 0x7FFFFFFF) : 0xFFFFFFFF;
}

// A thread that stands in for the settings program: posts "editing begins" with its own id and
// lives until Finish, so that the test decides when it ends.
class EditorThread {
 public:
  EditorThread() : done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
  }
  ~EditorThread() {
    Finish();
    CloseHandle(thread_);
    CloseHandle(done_);
  }
  // Ends the thread without a second broadcast; the handle stays open, so its id stays valid.
  void Finish() {
    SetEvent(done_);
    WaitForSingleObject(thread_, INFINITE);
  }

 private:
  static DWORD WINAPI Run(LPVOID self) {
    PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"QorvWnd"), 1, GetCurrentThreadId());
    WaitForSingleObject(static_cast<EditorThread*>(self)->done_, INFINITE);
    return 0;
  }
  HANDLE done_;
  HANDLE thread_;
};

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

// The test keeps the library loaded, so the killed copy's owner stays in the shared block.
TEST_F(HostTest, StartedAfterAKilledCopyTakesOverEveryHookAndHoldsItsHotkeys) {
  harness::WriteBytes(lib.Dir() + L"\\Qorv.ini", "[HotKey]\r\nHkWndTop=0x376\r\n");  // Ctrl+Alt+F7
  const auto f7Free = [] {
    if (!RegisterHotKey(nullptr, 0x7000, MOD_CONTROL | MOD_ALT, VK_F7)) return false;
    UnregisterHotKey(nullptr, 0x7000);
    return true;
  };
  {
    Process first(exe, L"", lib.Dir());
    ASSERT_NE(Start(first), nullptr);
    first.Kill();
  }
  volatile qorv::SharedState* shared = lib.Shared();
  ASSERT_NE(shared->GetMsgOwner, 0u);
  Process qorv(exe, L"", lib.Dir());
  HWND hwnd = nullptr;
  const bool up = WaitFor([&] {
    hwnd = FindWindowW(L"QorvMainWnd", L"Qorv");
    const auto owner = static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(hwnd));
    return hwnd != nullptr && shared->GetMsgOwner == owner && shared->CallWndOwner == owner &&
           shared->MouseOwner == owner;
  });
  ASSERT_TRUE(up) << "owners " << shared->GetMsgOwner << " " << shared->CallWndOwner << " " << shared->MouseOwner;
  // Probed only once qorv says that its registration has ended: the probe competes with it.
  EXPECT_TRUE(WaitFor([&] { return GetPropW(hwnd, L"qv HkHeld") != nullptr; }));
  EXPECT_FALSE(f7Free());
  Process quit(exe, L"/quit", lib.Dir());
  ASSERT_TRUE(qorv.WaitExit(10000));
  EXPECT_TRUE(NoHookInstalled());
  EXPECT_TRUE(f7Free());
}

// "Restart as administrator" starts a new copy with /takeover: the running one makes way for it.
TEST_F(HostTest, TakeoverEndsTheRunningCopyAndTakesItsPlace) {
  Process first(exe, L"", lib.Dir());
  HWND old = Start(first);
  ASSERT_NE(old, nullptr);
  Process second(exe, L"/takeover", lib.Dir());
  DWORD code = 99;
  ASSERT_TRUE(first.WaitExit(15000, &code));
  EXPECT_EQ(code, 0u);
  volatile qorv::SharedState* shared = lib.Shared();
  HWND hwnd = nullptr;
  EXPECT_TRUE(WaitFor([&] {
    hwnd = FindWindowW(L"QorvMainWnd", L"Qorv");
    return hwnd != nullptr && hwnd != old &&
           shared->MouseOwner == static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(hwnd));
  }));
  EXPECT_TRUE(PresenceMutexExists());
  Process quit(exe, L"/quit", lib.Dir());
  EXPECT_TRUE(second.WaitExit(10000));
  EXPECT_TRUE(NoHookInstalled());
}

// A hook kind that another live program holds is not taken from it; qorv goes on with the rest.
TEST_F(HostTest, AHookHeldByAnotherProgramStaysItsAndTheRestAreInstalled) {
  harness::OwnerWindow other;
  ASSERT_EQ(lib.SetHookGetMsg(other.Get(), WM_APP + 30, 0), 1);
  Process qorv(exe, L"", lib.Dir());
  HWND hwnd = nullptr;
  volatile qorv::SharedState* shared = lib.Shared();
  ASSERT_TRUE(WaitFor([&] {
    hwnd = FindWindowW(L"QorvMainWnd", L"Qorv");
    return hwnd != nullptr && shared->MouseOwner != 0;
  }));
  const auto owner = static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(hwnd));
  EXPECT_EQ(shared->GetMsgOwner, static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(other.Get())));
  EXPECT_EQ(shared->CallWndOwner, owner);
  EXPECT_EQ(shared->MouseOwner, owner);
  Process quit(exe, L"/quit", lib.Dir());
  ASSERT_TRUE(qorv.WaitExit(10000));
  // Its removal leaves the other program's hook alone.
  EXPECT_EQ(shared->GetMsgOwner, static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(other.Get())));
  EXPECT_EQ(lib.UnHookGetMsg(), 1);
}

// A session that goes on after all changes nothing. At the end of the session the hooks go, the
// message hook with qorv's hook thread and not through the library's removal (which would restore
// windows all over the desktop): its slot names a window that is gone, which the next install takes.
TEST_F(HostTest, RemovesHooksWhenTheUserLogsOff) {
  Process qorv(exe, L"", lib.Dir());
  HWND hwnd = Start(qorv);
  ASSERT_NE(hwnd, nullptr);
  volatile qorv::SharedState* shared = lib.Shared();
  const auto owner = static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(hwnd));
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(hwnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, &answer));
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
  ASSERT_TRUE(SendMessageTimeoutW(hwnd, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, &answer));
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_TRUE(shared->GetMsgOwner == owner && shared->CallWndOwner == owner && shared->MouseOwner == owner);
  ASSERT_TRUE(SendMessageTimeoutW(hwnd, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000, &answer));
  EXPECT_EQ(shared->CallWndOwner, 0u);
  EXPECT_EQ(shared->MouseOwner, 0u);
  EXPECT_TRUE(qorv.WaitExit(10000));
  EXPECT_EQ(shared->GetMsgOwner, owner);
  harness::OwnerWindow next;
  EXPECT_EQ(lib.SetHookGetMsg(next.Get(), WM_APP + 30, 0), 1);
  EXPECT_EQ(lib.UnHookGetMsg(), 1);
  EXPECT_TRUE(NoHookInstalled());
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

std::wstring TableName(uint32_t extraFlag) {
  wchar_t name[96];
  swprintf(name, 96, L"QorvMapFlag0x%X %u", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(GetDesktopWindow())),
           extraFlag & 0xFFFF);
  return name;
}

// The published table read back as the hook library reads it.
struct PublishedTable {
  bool open = false;
  int count = -1;
  std::vector<qorv::SharedMapEntry> entries;
  std::vector<std::string> classes;
};

PublishedTable ReadTable(uint32_t extraFlag) {
  PublishedTable table;
  HANDLE mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, TableName(extraFlag).c_str());
  if (mapping == nullptr) return table;
  const auto* base = static_cast<const uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
  if (base != nullptr) {
    table.open = true;
    qorv::SharedMapHeader header;
    memcpy(&header, base, sizeof(header));
    table.count = header.count;
    for (int i = 0; i < header.count && i < 64; ++i) {
      qorv::SharedMapEntry entry;
      memcpy(&entry, base + sizeof(header) + i * sizeof(entry), sizeof(entry));
      table.entries.push_back(entry);
      table.classes.emplace_back(reinterpret_cast<const char*>(base) + entry.ClassNameOffset, entry.ClassNameLength);
    }
    UnmapViewOfFile(base);
  }
  CloseHandle(mapping);
  return table;
}

TEST_F(HostTest, ReadsSettingsAndPublishesTableThenFollowsTheBroadcasts) {
  const uint32_t mainFlag = 0x03000234;  // no tray icon, roll-up, level 3
  harness::WriteBytes(lib.Dir() + L"\\Qorv.ini",
                 "[FLAGS]\r\nMainFlag=0x03000234\r\nWheelFlag=0x00030011\r\nWndFlag=0x05140001\r\n"
                 "[HotKey]\r\nHkLayTop=0x373\r\n");
  harness::WriteBytes(lib.Dir() + L"\\MapFlag.ini",
                 "; rows\r\n0x0041|0x00000001|0|Editor|0||9|EditorWnd\r\n0x0060|0x1|0|off|0|x.exe|1|X\r\n"
                 "0x0053|0x00000010|0x050A0001|ids|1001|||\r\n");
  Process qorv(exe, L"", lib.Dir());
  HWND hwnd = Start(qorv);
  ASSERT_NE(hwnd, nullptr);
  volatile qorv::SharedState* shared = lib.Shared();
  EXPECT_EQ(shared->MainFlag, mainFlag);
  EXPECT_EQ(shared->WheelFlag, 0x00030011u);
  EXPECT_EQ(shared->WndFlag, 0x05140001u);
  const uint32_t extra = shared->ExtraFlag;
  EXPECT_EQ(extra & 0xFFFF0000u, qorv::extra_flag::kMapTableOn);

  PublishedTable table = ReadTable(extra);
  ASSERT_TRUE(table.open);
  ASSERT_EQ(table.count, 2);  // the row with both check boxes off takes no part
  EXPECT_EQ(table.entries[0].EntryFlag, 0x41u);
  EXPECT_EQ(table.entries[0].WndId, -1);
  EXPECT_EQ(table.entries[0].FileNameLength, 0u);
  EXPECT_EQ(table.classes[0], "EditorWnd");
  EXPECT_EQ(table.entries[1].WndId, 1001);
  EXPECT_EQ(table.entries[1].EntryWndFlag, 0x050A0001u);
  EXPECT_EQ(table.entries[1].ClassNameLength, 0u);

  const UINT settingsMsg = RegisterWindowMessageW(L"QorvWnd");
  // Editing begins and is cancelled: the hotkeys go and come back, the words stay.
  ASSERT_TRUE(WaitFor([&] { return Held(hwnd) == 0x4u; }));
  PostMessageW(HWND_BROADCAST, settingsMsg, 1, GetCurrentThreadId());
  ASSERT_TRUE(WaitFor([&] { return Held(hwnd) == 0; }));
  harness::WriteBytes(lib.Dir() + L"\\Qorv.ini", "[FLAGS]\r\nMainFlag=0x05000030\r\n");
  PostMessageW(HWND_BROADCAST, settingsMsg, 3, GetCurrentThreadId());
  ASSERT_TRUE(WaitFor([&] { return Held(hwnd) == 0x4u; }));
  EXPECT_EQ(shared->MainFlag, mainFlag);

  // Saved: the words are read again; the table number stays.
  PostMessageW(HWND_BROADCAST, settingsMsg, 2, GetCurrentThreadId());
  EXPECT_TRUE(WaitFor([&] { return shared->MainFlag == 0x05000030u; }));
  EXPECT_EQ(shared->WheelFlag, qorv::kWheelFlagDefault);
  EXPECT_EQ(shared->ExtraFlag, extra);

  // The table was saved: published again under a new number, the old one released.
  harness::WriteBytes(lib.Dir() + L"\\MapFlag.ini", "0x0041|0|0|t|0||6|Other1\r\n");
  PostMessageW(HWND_BROADCAST, settingsMsg, 4, GetCurrentThreadId());
  EXPECT_TRUE(WaitFor([&] { return shared->ExtraFlag != extra; }));
  const uint32_t next = shared->ExtraFlag;
  EXPECT_EQ(next & 0xFFFF0000u, qorv::extra_flag::kMapTableOn);
  table = ReadTable(next);
  ASSERT_EQ(table.count, 1);
  EXPECT_EQ(table.classes[0], "Other1");
  EXPECT_TRUE(WaitFor([&] { return !ReadTable(extra).open; }));
  EXPECT_EQ(shared->MainFlag, 0x05000030u);

  // Without a table file of the user's, the shipped initial table is in force.
  DeleteFileW((lib.Dir() + L"\\MapFlag.ini").c_str());
  ASSERT_TRUE(CopyFileW((harness::ExeDir() + L"\\MapInit.ini").c_str(), (lib.Dir() + L"\\MapInit.ini").c_str(), FALSE));
  PostMessageW(HWND_BROADCAST, settingsMsg, 4, GetCurrentThreadId());
  EXPECT_TRUE(WaitFor([&] { return shared->ExtraFlag != next; }));
  table = ReadTable(shared->ExtraFlag);
  ASSERT_GT(table.count, 0);
  EXPECT_EQ(table.classes[0], "ApplicationFrameWindow");

  Process quit(exe, L"/quit", lib.Dir());
  EXPECT_TRUE(qorv.WaitExit(10000));
  EXPECT_FALSE(ReadTable(shared->ExtraFlag).open);
}

// The settings program ended (killed) between "editing begins" and how it ended: the hotkeys come
// back as if editing had been cancelled, and the settings are not read again.
TEST_F(HostTest, HotkeysComeBackWhenTheEditorEndsWithoutTellingHowEditingEnded) {
  harness::WriteBytes(lib.Dir() + L"\\Qorv.ini", "[FLAGS]\r\nMainFlag=0x03000234\r\n[HotKey]\r\nHkLayTop=0x373\r\n");
  Process qorv(exe, L"", lib.Dir());
  HWND hwnd = Start(qorv);
  ASSERT_NE(hwnd, nullptr);
  ASSERT_TRUE(WaitFor([&] { return Held(hwnd) == 0x4u; }));
  EditorThread editor;
  ASSERT_TRUE(WaitFor([&] { return Held(hwnd) == 0; }));
  harness::WriteBytes(lib.Dir() + L"\\Qorv.ini", "[FLAGS]\r\nMainFlag=0x05000030\r\n");
  editor.Finish();
  EXPECT_TRUE(WaitFor([&] { return Held(hwnd) == 0x4u; }));
  EXPECT_EQ(lib.Shared()->MainFlag, 0x03000234u);
  Process quit(exe, L"/quit", lib.Dir());
  DWORD code = 99;
  EXPECT_TRUE(quit.WaitExit(15000, &code));
  EXPECT_EQ(code, 0u);  // the running copy has gone
  EXPECT_TRUE(qorv.WaitExit(10000));
}

// A killed copy left a window translucent for the moment ("qv HkTmp"): the next copy makes it
// opaque once the cursor is off it, as it does for its own.
TEST_F(HostTest, WindowsLeftTemporarilyTranslucentAreRestoredByTheNextCopy) {
  HWND left = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, L"STATIC", L"left translucent", WS_POPUP | WS_VISIBLE,
                              0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(left, nullptr);
  ASSERT_TRUE(SetLayeredWindowAttributes(left, 0, 128, LWA_ALPHA));
  ASSERT_TRUE(SetPropW(left, L"qv HkTmp", reinterpret_cast<HANDLE>(1)));
  ASSERT_TRUE(WaitFor([] { return input::CursorStaysAt({400, 300}); }));
  Process qorv(exe, L"", lib.Dir());
  ASSERT_NE(Start(qorv), nullptr);
  // Opaque: the layered style taken off, or kept at full alpha while the window was busy.
  EXPECT_TRUE(WaitFor([&] {
    return GetPropW(left, L"qv HkTmp") == nullptr &&
           (!harness::IsLayered(left) || harness::ReadLayered(left).alpha == 255);
  }));
  Process quit(exe, L"/quit", lib.Dir());
  EXPECT_TRUE(qorv.WaitExit(10000));
  DestroyWindow(left);
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
