// Mouse-button conversion with real injected input: the library's low-level hook thread runs in
// this process, the target application logs what reaches its windows.
#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "common/flags.h"
#include "common/mouse_btn.h"
#include "tests/wine/buttons_protocol.h"
#include "tests/wine/harness.h"

using harness::Library;
using harness::OwnerWindow;
using harness::Process;
using harness::WaitFor;
using namespace buttons_target;

namespace {

constexpr UINT kNotify = WM_APP + 9;
constexpr int kX1 = 5, kX2 = 6, kRight = 1, kWheelBack = 3;
constexpr uint32_t kOn = qorv::btn_cond::kEnabled;
constexpr uint32_t kSwallow = qorv::btn_cond::kSuppressButton;
constexpr uint32_t kPost = qorv::btn_cond::kPostMessages;
constexpr uint32_t kReport = qorv::btn_cond::kReport;

constexpr uint32_t Index(int a) { return static_cast<uint32_t>(a) << qorv::btn_cond::kButtonIndexShift; }
constexpr uint32_t KeyWord(uint32_t vk, uint32_t mods = 0, uint32_t scan = 0, bool ext = false) {
  return vk | mods | (scan << 16) | (ext ? qorv::hotkey::kExtended : 0);
}

qorv::MouseBtnBlock Block(std::vector<qorv::ButtonPair> pairs, uint32_t btnFlag = 0) {
  qorv::MouseBtnBlock block = {};
  block.btnFlag = btnFlag;
  block.setNum = static_cast<uint32_t>(pairs.size());
  for (size_t i = 0; i < pairs.size() && i < 8; ++i) block.pairs[i] = pairs[i];
  return block;
}

void SendMouse(DWORD flags, DWORD data = 0, LONG dx = 0, LONG dy = 0) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.mouseData = data;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
}

void SendKey(WORD vk, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, 0));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(input));
}

// Absolute moves: relative ones are accelerated.
bool MoveTo(int x, int y) {
  const int cx = GetSystemMetrics(SM_CXSCREEN);
  const int cy = GetSystemMetrics(SM_CYSCREEN);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, (x * 65535 + cx / 2) / (cx - 1),
            (y * 65535 + cy / 2) / (cy - 1));
  return WaitFor([&] {
    POINT pt;
    GetCursorPos(&pt);
    return pt.x == x && pt.y == y;
  });
}

void XButton(int index, bool up) {
  SendMouse(up ? MOUSEEVENTF_XUP : MOUSEEVENTF_XDOWN, index == kX1 ? XBUTTON1 : XBUTTON2);
}

const POINT kDblCenter = {kDblLeft + kWidth / 2, kTop + kHeight / 2};
const POINT kPlainCenter = {kPlainLeft + kWidth / 2, kTop + kHeight / 2};

class LLMouseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.Loaded());
    ASSERT_NE(lib.SetHookLLMouse, nullptr);
    wchar_t name[64];
    swprintf(name, 64, L"QorvButtonsLog%lu-%lu", GetCurrentProcessId(), GetTickCount());
    mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Log), name);
    ASSERT_NE(mapping_, nullptr);
    log_ = static_cast<Log*>(MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, sizeof(Log)));
    ASSERT_NE(log_, nullptr);
    wchar_t prefix[64];
    swprintf(prefix, 64, L"qb%lu-%lu", GetCurrentProcessId(), GetTickCount());
    target_ = std::make_unique<Process>(harness::ExeDir() + L"\\qorv_buttons.exe", std::wstring(prefix) + L" " + name);
    ASSERT_TRUE(target_->Started());
    const std::wstring dblTitle = std::wstring(prefix) + L":dbl";
    const std::wstring plainTitle = std::wstring(prefix) + L":plain";
    ASSERT_TRUE(WaitFor([&] {
      dbl = FindWindowW(kDblClass, dblTitle.c_str());
      plain = FindWindowW(kPlainClass, plainTitle.c_str());
      return dbl != nullptr && plain != nullptr;
    }));
    ASSERT_EQ(Command(dbl, kCmdActivate), 1);
  }

  void TearDown() override {
    if (lib.UnHookLLMouse) {
      EXPECT_EQ(lib.UnHookLLMouse(), 1);
    }
    // Nothing may be left down; release whatever is, so that later tests start clean.
    const int keys[] = {VK_CONTROL, VK_SHIFT,   VK_MENU,    VK_LWIN,    'C',         'S',
                        VK_NEXT,    VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1, VK_XBUTTON2};
    for (int vk : keys) {
      if (GetAsyncKeyState(vk) >= 0) continue;
      ADD_FAILURE() << "key 0x" << std::hex << vk << " left down";
      if (vk >= VK_LBUTTON && vk <= VK_XBUTTON2 && vk != VK_CANCEL) continue;
      SendKey(static_cast<WORD>(vk), true);
    }
    if (dbl != nullptr) PostMessageW(dbl, kCmdQuit, 0, 0);
    if (target_ && !target_->WaitExit(10000)) target_->Kill();
    if (log_ != nullptr) UnmapViewOfFile(log_);
    if (mapping_ != nullptr) CloseHandle(mapping_);
  }

  LRESULT Command(HWND hwnd, UINT msg, WPARAM wp = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, wp, 0, SMTO_NORMAL, 10000, &result)) return -12345;
    return static_cast<LRESULT>(result);
  }

  int Install(const qorv::MouseBtnBlock& block) {
    const int result = lib.SetHookLLMouse(owner.Get(), kNotify, &block, 0);
    if (result == 1) WaitFor([&] { return lib.Shared()->LLMouseHook != 0; });
    return result;
  }

  void ClearLog() { InterlockedExchange(&log_->count, 0); }
  std::vector<Entry> Entries() const {
    std::vector<Entry> entries;
    const LONG count = log_->count < kCapacity ? log_->count : kCapacity;
    for (LONG i = 0; i < count; ++i) entries.push_back(log_->entries[i]);
    return entries;
  }
  int Count(uint32_t window, UINT message) const {
    int n = 0;
    for (const Entry& e : Entries()) n += e.window == window && e.message == message;
    return n;
  }
  // Waits for a message in a window; the first such entry.
  bool WaitEntry(uint32_t window, UINT message, Entry* found = nullptr, int nth = 1) {
    return WaitFor([&] {
      int n = 0;
      for (const Entry& e : Entries()) {
        if (e.window == window && e.message == message && ++n == nth) {
          if (found != nullptr) *found = e;
          return true;
        }
      }
      return false;
    });
  }
  std::string Seen() const {
    std::string text;
    char line[64];
    for (const Entry& e : Entries()) {
      snprintf(line, sizeof(line), "[%u %04X %llX] ", e.window, e.message, static_cast<unsigned long long>(e.wp));
      text += line;
    }
    return text;
  }
  std::vector<OwnerWindow::Posted> Reports() const {
    std::vector<OwnerWindow::Posted> reports;
    for (const auto& p : owner.received) {
      if (p.msg == kNotify) reports.push_back(p);
    }
    return reports;
  }

  Library lib;
  OwnerWindow owner;
  HWND dbl = nullptr;
  HWND plain = nullptr;

 private:
  HANDLE mapping_ = nullptr;
  Log* log_ = nullptr;
  std::unique_ptr<Process> target_;
};

TEST_F(LLMouseTest, SideButtonBecomesKeysWithScanCodeAndNeverReachesTheWindow) {
  ASSERT_EQ(Install(Block({{Index(kX1) | kOn | kSwallow, KeyWord('C', qorv::hotkey::kCtrl, 0x2E)},
                           {Index(kWheelBack) | kOn | kSwallow, KeyWord(VK_NEXT, 0, 0x51, true)}})),
            1);
  ASSERT_TRUE(MoveTo(kDblCenter.x, kDblCenter.y));
  ClearLog();
  XButton(kX1, false);
  Entry down = {};
  ASSERT_TRUE(WaitEntry(0, WM_KEYDOWN, &down, 2)) << Seen();  // Ctrl, then C
  EXPECT_EQ(down.wp, static_cast<uint64_t>('C'));
  EXPECT_EQ((down.lp >> 16) & 0x1FF, 0x2E);
  EXPECT_EQ(down.ctrlDown, 1u);
  EXPECT_LT(GetAsyncKeyState(VK_CONTROL), 0);
  XButton(kX1, true);
  ASSERT_TRUE(WaitEntry(0, WM_KEYUP, nullptr, 2)) << Seen();
  EXPECT_TRUE(WaitFor([] { return GetAsyncKeyState(VK_CONTROL) >= 0; }));
  const std::vector<Entry> entries = Entries();
  ASSERT_GE(entries.size(), 4u);
  EXPECT_EQ(entries[0].wp, static_cast<uint64_t>(VK_CONTROL));
  EXPECT_EQ(entries[2].message, static_cast<uint32_t>(WM_KEYUP));
  EXPECT_EQ(entries[2].wp, static_cast<uint64_t>('C'));
  EXPECT_EQ(entries[3].wp, static_cast<uint64_t>(VK_CONTROL));
  EXPECT_EQ(Count(0, WM_XBUTTONDOWN) + Count(0, WM_XBUTTONUP), 0) << Seen();

  // One wheel notch back: Page Down pressed and released, extended.
  ClearLog();
  SendMouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-WHEEL_DELTA));
  Entry next = {};
  ASSERT_TRUE(WaitEntry(0, WM_KEYUP, &next)) << Seen();
  EXPECT_EQ(next.wp, static_cast<uint64_t>(VK_NEXT));
  EXPECT_EQ((next.lp >> 16) & 0x1FF, 0x151);
  EXPECT_EQ(Count(0, WM_KEYDOWN), 1);
  EXPECT_EQ(Count(0, WM_MOUSEWHEEL), 0);

  // A notch in eight parts (a precision touchpad) is one Page Down too, and no part gets through.
  ClearLog();
  for (int i = 0; i < 8; ++i) SendMouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-15));
  ASSERT_TRUE(WaitEntry(0, WM_KEYUP, &next)) << Seen();
  SendMouse(MOUSEEVENTF_LEFTDOWN);  // a witness after the parts: everything before it has been handled
  SendMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(WaitEntry(0, WM_LBUTTONUP)) << Seen();
  EXPECT_EQ(Count(0, WM_KEYDOWN), 1) << Seen();
  EXPECT_EQ(Count(0, WM_MOUSEWHEEL), 0) << Seen();
}

TEST_F(LLMouseTest, ConvertsToOtherButtonsAndWheelUnderHeldButtonAndModifierConditions) {
  ASSERT_EQ(
      Install(Block({{Index(kX2) | kOn, KeyWord(4)},
                     {Index(kRight) | qorv::btn_cond::kLeft | kOn | kSwallow, KeyWord(qorv::hotkey::kVkWheelForward)},
                     {Index(kX1) | qorv::btn_cond::kShift | kOn | kSwallow, KeyWord('S', 0, 0x1F)}})),
      1);
  ASSERT_TRUE(MoveTo(kDblCenter.x, kDblCenter.y));
  ClearLog();
  // X2 passes on and also clicks the middle button.
  XButton(kX2, false);
  XButton(kX2, true);
  ASSERT_TRUE(WaitEntry(0, WM_MBUTTONUP)) << Seen();
  ASSERT_TRUE(WaitEntry(0, WM_XBUTTONUP)) << Seen();
  EXPECT_EQ(Count(0, WM_MBUTTONDOWN), 1);
  EXPECT_EQ(Count(0, WM_XBUTTONDOWN), 1);

  // Right click while the left button is held: one wheel notch forward instead.
  ClearLog();
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_RIGHTDOWN);
  SendMouse(MOUSEEVENTF_RIGHTUP);
  SendMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(WaitEntry(0, WM_LBUTTONUP)) << Seen();
  Entry wheel = {};
  ASSERT_TRUE(WaitEntry(0, WM_MOUSEWHEEL, &wheel)) << Seen();
  EXPECT_EQ(static_cast<short>(HIWORD(wheel.wp)), WHEEL_DELTA);
  EXPECT_EQ(Count(0, WM_RBUTTONDOWN) + Count(0, WM_RBUTTONUP), 0) << Seen();
  // Without the left button the right click is an ordinary one.
  SendMouse(MOUSEEVENTF_RIGHTDOWN);
  SendMouse(MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(WaitEntry(0, WM_RBUTTONUP)) << Seen();
  EXPECT_EQ(Count(0, WM_MOUSEWHEEL), 1);

  // X1 with Shift held becomes S; without Shift it passes.
  ClearLog();
  SendKey(VK_SHIFT, false);
  XButton(kX1, false);
  XButton(kX1, true);
  SendKey(VK_SHIFT, true);
  ASSERT_TRUE(WaitEntry(0, WM_KEYUP, nullptr, 2)) << Seen();
  EXPECT_EQ(Count(0, WM_XBUTTONDOWN), 0) << Seen();
  bool sawS = false;
  for (const Entry& e : Entries()) sawS |= e.message == WM_KEYDOWN && e.wp == 'S' && ((e.lp >> 16) & 0xFF) == 0x1F;
  EXPECT_TRUE(sawS) << Seen();
  XButton(kX1, false);
  XButton(kX1, true);
  ASSERT_TRUE(WaitEntry(0, WM_XBUTTONUP)) << Seen();
}

TEST_F(LLMouseTest, PostedClicksGoToTheWindowUnderTheCursorWithDoubleClicksOnlyWhereTheClassAsks) {
  ASSERT_EQ(Install(Block({{Index(kX1) | kOn | kSwallow | kPost, KeyWord(1)}})), 1);
  for (int round = 0; round < 2; ++round) {
    const POINT at = round == 0 ? kDblCenter : kPlainCenter;
    const uint32_t window = round == 0 ? 0 : 1;
    ASSERT_TRUE(MoveTo(at.x, at.y));
    ClearLog();
    for (int click = 0; click < 2; ++click) {
      XButton(kX1, false);
      XButton(kX1, true);
    }
    ASSERT_TRUE(WaitEntry(window, WM_LBUTTONUP, nullptr, 2)) << Seen();
    const std::vector<Entry> entries = Entries();
    ASSERT_EQ(entries.size(), 4u) << Seen();
    EXPECT_EQ(entries[0].message, static_cast<uint32_t>(WM_LBUTTONDOWN));
    EXPECT_EQ(entries[0].wp & MK_LBUTTON, static_cast<uint64_t>(MK_LBUTTON));
    POINT client = at;
    ScreenToClient(round == 0 ? dbl : plain, &client);
    EXPECT_EQ(entries[0].lp, static_cast<int64_t>(MAKELPARAM(client.x, client.y)));
    EXPECT_EQ(entries[2].message, static_cast<uint32_t>(round == 0 ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN)) << Seen();
    EXPECT_EQ(Count(window, WM_XBUTTONDOWN), 0);
  }
  EXPECT_EQ(lib.Shared()->PostTargetWnd, 0u);
}

TEST_F(LLMouseTest, PostedKeyWithCtrlLeavesNoCtrlDownInTheTarget) {
  ASSERT_EQ(Install(Block({{Index(kX1) | kOn | kSwallow | kPost, KeyWord('K', qorv::hotkey::kCtrl, 0x25)}})), 1);
  ASSERT_TRUE(MoveTo(kPlainCenter.x, kPlainCenter.y));
  ClearLog();
  XButton(kX1, false);
  Entry down = {};
  ASSERT_TRUE(WaitEntry(1, WM_KEYDOWN, &down)) << Seen();
  EXPECT_EQ(down.wp, static_cast<uint64_t>('K'));
  EXPECT_EQ(static_cast<uint32_t>(down.lp), 0x00250001u);
  EXPECT_EQ(down.ctrlDown, 1u);  // the target reads the key with Ctrl held
  // The hook thread mirrors its state into the shared block after each event.
  EXPECT_TRUE(WaitFor([&] {
    return lib.Shared()->PostTargetWnd == static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(plain));
  }));
  XButton(kX1, true);
  Entry up = {};
  ASSERT_TRUE(WaitEntry(1, WM_KEYUP, &up)) << Seen();
  EXPECT_EQ(static_cast<uint32_t>(up.lp), 0xC0250001u);
  EXPECT_TRUE(WaitFor([&] { return lib.Shared()->PostTargetWnd == 0u; }));
  EXPECT_GE(Command(plain, kCmdKeyState, VK_CONTROL), 0) << "Ctrl stayed down in the target after the release";
  EXPECT_GE(GetAsyncKeyState(VK_CONTROL), 0);
}

TEST_F(LLMouseTest, WheelGoesToTheWindowUnderTheCursorWithTheFlag) {
  ASSERT_EQ(Install(Block({}, qorv::btn_flag::kWheelToPointer)), 1);
  ASSERT_TRUE(MoveTo(kPlainCenter.x, kPlainCenter.y));
  ClearLog();
  SendMouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(-2 * WHEEL_DELTA));
  Entry wheel = {};
  ASSERT_TRUE(WaitEntry(1, WM_MOUSEWHEEL, &wheel)) << Seen();
  EXPECT_EQ(static_cast<short>(HIWORD(wheel.wp)), -2 * WHEEL_DELTA);
  EXPECT_EQ(wheel.lp, static_cast<int64_t>(MAKELPARAM(kPlainCenter.x, kPlainCenter.y)));
  // A click afterwards passes as input; the wheel itself was swallowed, so only the posted one came.
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(WaitEntry(1, WM_LBUTTONUP)) << Seen();
  EXPECT_EQ(Count(1, WM_MOUSEWHEEL), 1) << Seen();
  EXPECT_EQ(Count(0, WM_MOUSEWHEEL), 0) << Seen();
}

// Conversions that point at each other: the hook's own injected press of a still active button
// converts nothing, so one click reaches the window as one click and nothing stays active or down.
TEST_F(LLMouseTest, SwappedButtonsGiveOneClickAndLeaveNothingDown) {
  struct Round {
    const char* name;
    int a, b;        // button indexes swapped with each other; a is clicked
    DWORD down, up;  // the click of a
    DWORD data;
    UINT message;  // what the window receives of it
    DWORD witnessDown, witnessUp;
    UINT witness;  // an unconverted click afterwards
  };
  const Round rounds[] = {
      {"X1 and X2", kX1, kX2, MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON1, WM_XBUTTONDOWN, MOUSEEVENTF_MIDDLEDOWN,
       MOUSEEVENTF_MIDDLEUP, WM_MBUTTONUP},
      {"left and right", 0, kRight, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0, WM_LBUTTONDOWN, MOUSEEVENTF_MIDDLEDOWN,
       MOUSEEVENTF_MIDDLEUP, WM_MBUTTONUP},
  };
  for (const Round& r : rounds) {
    SCOPED_TRACE(r.name);
    const uint32_t vkA = r.a == 0 ? 1 : r.a == kRight ? 2 : static_cast<uint32_t>(r.a);
    const uint32_t vkB = r.b == 0 ? 1 : r.b == kRight ? 2 : static_cast<uint32_t>(r.b);
    ASSERT_EQ(
        Install(Block({{Index(r.a) | kOn | kSwallow, KeyWord(vkB)}, {Index(r.b) | kOn | kSwallow, KeyWord(vkA)}})), 1);
    ASSERT_TRUE(MoveTo(kDblCenter.x, kDblCenter.y));
    ClearLog();
    SendMouse(r.down, r.data);
    SendMouse(r.up, r.data);
    SendMouse(r.witnessDown);
    SendMouse(r.witnessUp);
    ASSERT_TRUE(WaitEntry(0, r.witness)) << Seen();
    EXPECT_EQ(Count(0, r.message), 1) << Seen();
    EXPECT_EQ(Count(0, r.message + 1), 1) << Seen();
    const UINT other = r.message == WM_LBUTTONDOWN ? WM_RBUTTONDOWN : r.message;
    if (other != r.message) {
      EXPECT_EQ(Count(0, other) + Count(0, other + 1), 0) << Seen();
    }
    EXPECT_TRUE(WaitFor([&] { return lib.Shared()->ActiveButtons == 0u && lib.Shared()->HeldButtons == 0u; }))
        << "active " << lib.Shared()->ActiveButtons << " held " << lib.Shared()->HeldButtons;
    for (int vk : {VK_LBUTTON, VK_RBUTTON, VK_XBUTTON1, VK_XBUTTON2}) EXPECT_GE(GetAsyncKeyState(vk), 0) << vk;
    ASSERT_EQ(lib.UnHookLLMouse(), 1);
  }
}

// A conversion that holds Shift lets it go although its button's release never reached the hook:
// here the hook is taken away under the held button, as Windows does with a hook that answers too
// slowly, and the release goes straight to the system.
TEST_F(LLMouseTest, LostReleaseLeavesNoModifierDown) {
  ASSERT_EQ(Install(Block({{Index(kX1) | kOn, KeyWord('S', qorv::hotkey::kShift, 0x1F)}})), 1);
  ASSERT_TRUE(MoveTo(kDblCenter.x, kDblCenter.y));
  ClearLog();
  XButton(kX1, false);
  ASSERT_TRUE(WaitFor([] { return GetAsyncKeyState(VK_SHIFT) < 0 && GetAsyncKeyState('S') < 0; })) << Seen();
  ASSERT_TRUE(WaitFor([] { return GetAsyncKeyState(VK_XBUTTON1) < 0; }));
  ASSERT_TRUE(UnhookWindowsHookEx(
      reinterpret_cast<HHOOK>(static_cast<INT_PTR>(static_cast<int32_t>(lib.Shared()->LLMouseHook)))));
  XButton(kX1, true);
  ASSERT_TRUE(WaitFor([] { return GetAsyncKeyState(VK_XBUTTON1) >= 0; })) << "the release did not arrive";
  EXPECT_TRUE(WaitFor([] { return GetAsyncKeyState(VK_SHIFT) >= 0 && GetAsyncKeyState('S') >= 0; }, 3000))
      << "Shift or S stayed down; seen: " << Seen();
  EXPECT_TRUE(WaitEntry(0, WM_KEYUP, nullptr, 2)) << Seen();
}

TEST_F(LLMouseTest, ReportsEveryEventAndCancelsAtReleaseAllWithNoKeyLeftDown) {
  ASSERT_EQ(Install(Block(
                {{Index(kX2) | kOn | kSwallow | kReport, KeyWord('C', qorv::hotkey::kCtrl | qorv::hotkey::kShift)}})),
            1);
  ASSERT_TRUE(MoveTo(kDblCenter.x, kDblCenter.y));
  XButton(kX2, false);
  ASSERT_TRUE(WaitFor([&] { return Reports().size() >= 1; }));
  EXPECT_EQ(Reports()[0].wp, static_cast<WPARAM>(0x00020000 | WM_XBUTTONDOWN));
  EXPECT_EQ(Reports()[0].lp, static_cast<LPARAM>(MAKELPARAM(kDblCenter.x, kDblCenter.y)));
  ASSERT_TRUE(WaitFor([] { return GetAsyncKeyState('C') < 0 && GetAsyncKeyState(VK_SHIFT) < 0; }));
  EXPECT_LT(GetAsyncKeyState(VK_CONTROL), 0);

  // The thread ends with X2 still held: its conversion is released and the owner told.
  EXPECT_EQ(lib.UnHookLLMouse(), 1);
  EXPECT_EQ(lib.Shared()->LLMouseOwner, 0u);
  EXPECT_GE(GetAsyncKeyState('C'), 0);
  EXPECT_GE(GetAsyncKeyState(VK_SHIFT), 0);
  EXPECT_GE(GetAsyncKeyState(VK_CONTROL), 0);
  ASSERT_TRUE(WaitFor([&] { return Reports().size() >= 2; }));
  EXPECT_EQ(Reports()[1].wp, 0x1Fu);
  EXPECT_EQ(Reports()[1].lp, 0);
  XButton(kX2, true);  // no hook any more: passes
  ASSERT_TRUE(WaitEntry(0, WM_XBUTTONUP)) << Seen();
  EXPECT_EQ(Reports().size(), 2u);
}

// Every process the hooks reach can write the shared block: the hook thread converts by its own
// copy of the settings and only mirrors its state into the block.
TEST_F(LLMouseTest, SettingsWrittenIntoTheBlockByAnotherProcessChangeNothing) {
  ASSERT_EQ(Install(Block({{Index(kX1) | kOn | kSwallow, KeyWord('S', 0, 0x1F)}})), 1);
  volatile qorv::SharedState* shared = lib.Shared();
  shared->MouseBtn.pairs[0].key = 'Q';
  shared->MouseBtn.setNum = 0;
  shared->PostTargetWnd = 0x1234;
  ASSERT_TRUE(MoveTo(kDblCenter.x, kDblCenter.y));
  ClearLog();
  XButton(kX1, false);
  XButton(kX1, true);
  Entry key = {};
  ASSERT_TRUE(WaitEntry(0, WM_KEYUP, &key)) << Seen();
  EXPECT_EQ(key.wp, static_cast<uint64_t>('S'));
  EXPECT_EQ(Count(0, WM_XBUTTONDOWN), 0) << Seen();
}

TEST_F(LLMouseTest, StartAndStopRules) {
  OwnerWindow other;
  qorv::MouseBtnBlock block = Block({{Index(kX1) | kOn, KeyWord('A')}}, qorv::btn_flag::kWheelToPointer);
  EXPECT_EQ(lib.SetHookLLMouse(nullptr, kNotify, &block, 0), 0);
  EXPECT_EQ(lib.Shared()->LLMouseOwner, 0u);

  block.setNum = 12;  // never more than the eight pairs
  ASSERT_EQ(Install(block), 1);
  volatile qorv::SharedState* shared = lib.Shared();
  EXPECT_EQ(shared->LLMouseOwner, static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(owner.Get())));
  EXPECT_EQ(shared->LLMouseNotifyMsg, kNotify);
  EXPECT_EQ(shared->MouseBtn.setNum, 8u);
  EXPECT_EQ(shared->MouseBtn.btnFlag, qorv::btn_flag::kWheelToPointer);
  EXPECT_EQ(shared->MouseBtn.pairs[0].key, static_cast<uint32_t>('A'));

  EXPECT_EQ(lib.SetHookLLMouse(other.Get(), kNotify + 1, &block, 0), -1);
  EXPECT_EQ(shared->LLMouseOwner, static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(owner.Get())));
  EXPECT_EQ(shared->LLMouseNotifyMsg, kNotify);

  // The same owner restarts the thread with the new block, and it converts.
  qorv::MouseBtnBlock next = Block({{Index(kX1) | kOn | kSwallow, KeyWord('S', 0, 0x1F)}});
  ASSERT_EQ(lib.SetHookLLMouse(owner.Get(), kNotify + 2, &next, 0), 1);
  // The export may return before the new thread has its hook (it waits a short while only).
  ASSERT_TRUE(WaitFor([&] { return shared->LLMouseHook != 0; }));
  EXPECT_EQ(shared->LLMouseNotifyMsg, kNotify + 2u);
  EXPECT_EQ(shared->MouseBtn.setNum, 1u);
  ASSERT_TRUE(MoveTo(kDblCenter.x, kDblCenter.y));
  ClearLog();
  XButton(kX1, false);
  XButton(kX1, true);
  Entry key = {};
  ASSERT_TRUE(WaitEntry(0, WM_KEYUP, &key)) << Seen();
  EXPECT_EQ(key.wp, static_cast<uint64_t>('S'));

  EXPECT_EQ(lib.UnHookLLMouse(), 1);
  EXPECT_EQ(shared->LLMouseOwner, 0u);
  EXPECT_EQ(lib.UnHookLLMouse(), 1);
  // A low-level hook cannot be installed for one thread: the thread ends and nothing stays installed.
  EXPECT_EQ(lib.SetHookLLMouse(owner.Get(), kNotify, &block, GetCurrentThreadId()), 0);
  EXPECT_EQ(shared->LLMouseOwner, 0u);
}

// Wine installs WH_DEBUG but never calls it; the exports' bookkeeping is what shows here.
TEST(DebugHookExports, OwnerThreadAndMaskTransitions) {
  Library lib;
  ASSERT_TRUE(lib.Loaded());
  ASSERT_NE(lib.SetHookDebug, nullptr);
  volatile qorv::SharedState* shared = lib.Shared();
  // Owner numbers that no window can have (window handle indices stay below 0xFFF0): a number that
  // matched a live window by its index would make the takeover of a gone owner's slot apply.
  constexpr uint32_t kOwner = 0xFFF1;
  constexpr uint32_t kOther = 0xFFF2;
  EXPECT_EQ(lib.UnHookDebug(), 1);  // nothing installed
  EXPECT_EQ(lib.SetHookDebug(0, 0x20, 0), 0);
  EXPECT_EQ(shared->DebugOwner, 0u);

  const DWORD self = GetCurrentThreadId();
  ASSERT_EQ(lib.SetHookDebug(kOwner, 0x20, self), 1);
  EXPECT_EQ(shared->DebugOwner, kOwner);
  EXPECT_EQ(shared->DebugMask, 0x20u);
  EXPECT_EQ(shared->DebugThread, self);
  const uint32_t firstHook = shared->DebugHook;
  EXPECT_NE(firstHook, 0u);

  EXPECT_EQ(lib.SetHookDebug(kOther, 0x8000, 0), -1);  // another owner changes nothing
  EXPECT_EQ(shared->DebugMask, 0x20u);
  EXPECT_EQ(shared->DebugOwner, kOwner);

  // Thread 0 or the same thread: only the mask changes, the hook stays on its thread.
  EXPECT_EQ(lib.SetHookDebug(kOwner, 0x8000, 0), 2);
  EXPECT_EQ(shared->DebugMask, 0x8000u);
  EXPECT_EQ(shared->DebugThread, self);
  EXPECT_EQ(shared->DebugHook, firstHook);
  EXPECT_EQ(lib.SetHookDebug(kOwner, 0x10020, self), 2);
  EXPECT_EQ(shared->DebugMask, 0x10020u);

  // Another thread: the hook is installed again there.
  harness::Target target({L"normal"});
  const DWORD targetThread = GetWindowThreadProcessId(target.Window(L"normal"), nullptr);
  ASSERT_NE(targetThread, 0u);
  EXPECT_EQ(lib.SetHookDebug(kOwner, 0x400, targetThread), 1);
  EXPECT_EQ(shared->DebugThread, targetThread);
  EXPECT_EQ(shared->DebugMask, 0x400u);
  EXPECT_EQ(shared->DebugOwner, kOwner);

  EXPECT_EQ(lib.UnHookDebug(), 1);
  EXPECT_EQ(shared->DebugOwner, 0u);
  EXPECT_EQ(lib.UnHookDebug(), 1);

  // A thread that does not exist: installing fails and nothing stays installed.
  EXPECT_EQ(lib.SetHookDebug(kOwner, 0x20, 0x7FFFFFF0), 0);
  EXPECT_EQ(shared->DebugOwner, 0u);
  // Every thread.
  EXPECT_EQ(lib.SetHookDebug(kOwner, 0x20, 0), 1);
  EXPECT_EQ(shared->DebugThread, 0u);
  EXPECT_EQ(lib.UnHookDebug(), 1);
}

}  // namespace
