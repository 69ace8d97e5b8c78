// The wheel path as a user meets it: real wheel turns injected over the windows of another
// process while a window of this process has the focus.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "common/flags.h"
#include "common/map_table.h"
#include "tests/wine/harness.h"
#include "tests/wine/input.h"
#include "tests/wine/wheel_protocol.h"

using harness::WaitFor;
using namespace wheelapp;
namespace wheel_flag = qorv::wheel_flag;
namespace main_flag = qorv::main_flag;

namespace {

constexpr UINT kNotify = WM_APP + 40;
constexpr uint32_t Word(uint32_t bits, uint32_t vert, uint32_t horz = 0) { return bits | (vert << 16) | (horz << 20); }

// The wheel test application and its log.
class WheelApp {
 public:
  explicit WheelApp(const std::wstring& exe = harness::ExeDir() + L"\\qorv_wheel.exe") : process_(exe, L"") {
    wchar_t name[64];
    LogName(name, 64, process_.Id());
    WaitFor([&] {
      mapping_ = OpenFileMappingW(FILE_MAP_READ, FALSE, name);
      return mapping_ != nullptr;
    });
    if (mapping_ != nullptr) log_ = static_cast<const Log*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, sizeof(Log)));
    WaitFor([&] { return log_ != nullptr && log_->ready != 0; });
    if (!Ready()) process_.Kill();
  }
  ~WheelApp() {
    if (Ready()) PostMessageW(Window(kScroll), kCmdQuit, 0, 0);
    process_.WaitExit(10000);
    if (log_ != nullptr) UnmapViewOfFile(log_);
    if (mapping_ != nullptr) CloseHandle(mapping_);
  }
  WheelApp(const WheelApp&) = delete;
  WheelApp& operator=(const WheelApp&) = delete;

  bool Ready() const { return log_ != nullptr && log_->ready != 0; }
  HWND Window(Kind kind) const { return reinterpret_cast<HWND>(log_->windows[kind]); }
  LRESULT Command(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(Window(kScroll), msg, wp, lp, SMTO_NORMAL, 5000, &result);
    return static_cast<LRESULT>(result);
  }
  // Entries for a window from `from` on.
  std::vector<Entry> Entries(Kind kind, UINT msg, LONG from = 0) const {
    std::vector<Entry> out;
    const LONG count = log_->count < static_cast<LONG>(kMaxEntries) ? log_->count : kMaxEntries;
    for (LONG i = from; i < count; ++i) {
      if (log_->entries[i].kind == kind && log_->entries[i].msg == msg) out.push_back(log_->entries[i]);
    }
    return out;
  }
  LONG Mark() const { return log_->count; }
  // Waits for at least n entries and then a little longer, so that extra ones would show. When
  // fewer come, says what the log holds from `from` on.
  std::vector<Entry> Expect(Kind kind, UINT msg, size_t n, LONG from) const {
    if (!WaitFor([&] { return Entries(kind, msg, from).size() >= n; }, 10000)) Dump(from);
    Drain(Window(kind));
    return Entries(kind, msg, from);
  }
  void Dump(LONG from) const {
    const LONG count = log_->count < static_cast<LONG>(kMaxEntries) ? log_->count : kMaxEntries;
    std::fprintf(stderr, "log from %ld:\n", static_cast<long>(from));
    for (LONG i = from; i < count; ++i) {
      const Entry& e = log_->entries[i];
      std::fprintf(stderr, "  kind %u msg 0x%04x wp 0x%llx lp 0x%llx at %u pt %d,%d\n", e.kind, e.msg,
                   static_cast<unsigned long long>(e.wp), static_cast<unsigned long long>(e.lp), e.time,
                   static_cast<short>(e.pt & 0xFFFF), static_cast<short>(e.pt >> 16));
    }
  }
  // The witness that a wheel turn injected after `from` reached the main thread's queue and was
  // taken, whatever became of it then.
  bool WheelArrived(LONG from) const {
    const bool arrived = WaitFor([&] {
      return !Entries(static_cast<Kind>(kArrived), WM_MOUSEWHEEL, from).empty() ||
             !Entries(static_cast<Kind>(kArrived), WM_NULL, from).empty();
    }, 10000);
    if (!arrived) Dump(from);
    return arrived;
  }
  // Posts a marker behind what was posted to hwnd before and waits until the window took it.
  bool Drain(HWND hwnd) const {
    const LONG from = Mark();
    PostMessageW(hwnd, kCmdMark, 0, 0);
    return WaitFor([&] {
      const LONG count = log_->count < static_cast<LONG>(kMaxEntries) ? log_->count : kMaxEntries;
      for (LONG i = from; i < count; ++i) {
        if (log_->entries[i].msg == kCmdMark) return true;
      }
      return false;
    });
  }
  DWORD Id() const { return process_.Id(); }

 private:
  harness::Process process_;
  HANDLE mapping_ = nullptr;
  const Log* log_ = nullptr;
};

std::vector<uint64_t> Codes(const std::vector<Entry>& entries) {
  std::vector<uint64_t> codes;
  for (const Entry& e : entries) codes.push_back(e.wp & 0xFFFF);
  return codes;
}

// A visible window of this process that holds the focus while wheels go to the target.
class FocusWindow {
 public:
  FocusWindow() {
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST, L"Static", L"qorv focus", WS_POPUP | WS_VISIBLE | WS_BORDER, 900, 700, 100,
                            50, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~FocusWindow() { DestroyWindow(hwnd_); }
  FocusWindow(const FocusWindow&) = delete;
  FocusWindow& operator=(const FocusWindow&) = delete;
  HWND Get() const { return hwnd_; }
  bool TakeFocus() {
    SetForegroundWindow(hwnd_);
    return WaitFor([&] { return GetForegroundWindow() == hwnd_; });
  }

 private:
  HWND hwnd_;
};

POINT ClientPoint(HWND hwnd, double fx, double fy) {
  RECT r;
  GetClientRect(hwnd, &r);
  POINT p = {static_cast<LONG>(r.right * fx), static_cast<LONG>(r.bottom * fy)};
  ClientToScreen(hwnd, &p);
  return p;
}

// Moves the cursor and waits until it stays there. Under Wine the virtual desktop's thread may take
// the X server's report of an earlier pointer position late and put the cursor back there: a round
// trip to the desktop's thread lets such a report come in before the cursor is checked.
void MoveCursor(POINT p) {
  EXPECT_TRUE(WaitFor([&] { return input::CursorStaysAt(p); })) << "the cursor does not stay at " << p.x << ","
                                                                  << p.y;
}

class WheelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.Loaded());
    ASSERT_TRUE(app.Ready());
    ASSERT_EQ(lib.SetHookGetMsg(owner.Get(), kNotify, 0), 1);
    ASSERT_EQ(lib.SetHookMouse(owner.Get(), kNotify + 1, 0), 1);
    ASSERT_EQ(lib.SetHookCallWnd(owner.Get(), kNotify + 2, 0), 1);
    focus.TakeFocus();
    // One unconverted turn first: the path from injection to the target works before the test's own.
    lib.SetHookFlag(0, 0, 0, 0);
    const LONG mark = WheelOver(kScroll, -120);
    ASSERT_TRUE(app.WheelArrived(mark)) << "the wheel turn did not reach the target";
    ASSERT_TRUE(app.Drain(app.Window(kScroll)));
    ASSERT_EQ(app.Expect(kScroll, WM_MOUSEWHEEL, 1, mark).size(), 1u);
    app.Command(kCmdSetPos, SB_VERT, 50);
    app.Command(kCmdSetPos, SB_HORZ, 50);
  }
  void TearDown() override { input::ReleaseAll(); }

  void Flags(uint32_t wheel, uint32_t main = 0, uint32_t extra = 0) { lib.SetHookFlag(main, wheel, 0, extra); }
  // One notch at a point; returns the log mark from before it.
  // Waits until the window under the point is one of the target's, shown and in place.
  void WaitForTargetAt(POINT p) {
    WaitFor([&] {
      DWORD pid = 0;
      GetWindowThreadProcessId(WindowFromPoint(p), &pid);
      return pid == app.Id();
    }, 5000);
  }
  // witness: the turn is for the application's main thread, which must take it at the point.
  LONG WheelAt(POINT p, int delta, bool witness = true) {
    WaitForTargetAt(p);
    MoveCursor(p);
    const LONG mark = app.Mark();
    input::Wheel(delta);
    if (witness) {
      EXPECT_TRUE(app.WheelArrived(mark)) << "the wheel turn at " << p.x << "," << p.y << " did not arrive";
      for (const Entry& e : app.Entries(static_cast<Kind>(kArrived), WM_MOUSEWHEEL, mark)) {
        EXPECT_TRUE(abs(static_cast<short>(e.pt & 0xFFFF) - p.x) <= 1 && abs(static_cast<short>(e.pt >> 16) - p.y) <= 1)
            << "a wheel turn at " << static_cast<short>(e.pt & 0xFFFF) << "," << static_cast<short>(e.pt >> 16)
            << " where one at " << p.x << "," << p.y << " was injected";
      }
    }
    return mark;
  }
  LONG WheelOver(Kind kind, int delta, double fx = 0.75, double fy = 0.25, bool witness = true) {
    return WheelAt(ClientPoint(app.Window(kind), fx, fy), delta, witness);
  }
  // A notch with modifier keys: posted to the window under the point with the key state in its
  // wParam (Wine leaves the key state out of injected wheel turns).
  LONG KeyedWheelAt(POINT p, int delta, WPARAM keys) {
    WaitForTargetAt(p);
    MoveCursor(p);
    const LONG mark = app.Mark();
    PostMessageW(WindowFromPoint(p), WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(static_cast<short>(delta))),
                 MAKELPARAM(p.x, p.y));
    return mark;
  }
  LONG KeyedWheelOver(Kind kind, int delta, WPARAM keys) {
    return KeyedWheelAt(ClientPoint(app.Window(kind), 0.75, 0.25), delta, keys);
  }

  harness::Library lib;
  harness::OwnerWindow owner;
  WheelApp app;
  FocusWindow focus;
};

TEST_F(WheelTest, LinesPagesAndHorizontal) {
  Flags(Word(wheel_flag::kVertScroll | wheel_flag::kShiftHorzScroll | wheel_flag::kCtrlPage, 3, 2));
  LONG mark = WheelOver(kScroll, -120);
  EXPECT_EQ(Codes(app.Expect(kScroll, WM_VSCROLL, 4, mark)), (std::vector<uint64_t>{1, 1, 1, 8}));
  EXPECT_TRUE(app.Entries(kScroll, WM_MOUSEWHEEL, mark).empty());
  EXPECT_EQ(app.Command(kCmdGetPos, SB_VERT), 53);

  mark = KeyedWheelOver(kScroll, -120, MK_CONTROL);
  EXPECT_EQ(Codes(app.Expect(kScroll, WM_VSCROLL, 2, mark)), (std::vector<uint64_t>{SB_PAGEDOWN, SB_ENDSCROLL}));

  mark = KeyedWheelOver(kScroll, 120, MK_SHIFT);
  EXPECT_EQ(Codes(app.Expect(kScroll, WM_HSCROLL, 3, mark)), (std::vector<uint64_t>{0, 0, 8}));
}

TEST_F(WheelTest, PageUpAtTheTopGivesThreeLinesAndBarZoneJumps) {
  Flags(Word(wheel_flag::kVertScroll | wheel_flag::kDetectVertBar, 15));
  app.Command(kCmdSetPos, SB_VERT, 0);
  LONG mark = WheelOver(kScroll, 120);
  EXPECT_EQ(Codes(app.Expect(kScroll, WM_VSCROLL, 4, mark)), (std::vector<uint64_t>{0, 0, 0, 8}));

  // Over the window's own vertical scroll bar, Shift+Ctrl jumps to the ends.
  RECT r;
  GetWindowRect(app.Window(kScroll), &r);
  const POINT bar = {r.right - 4 - GetSystemMetrics(SM_CXVSCROLL) / 2, (r.top + r.bottom) / 2};
  mark = KeyedWheelAt(bar, -120, MK_SHIFT | MK_CONTROL);
  EXPECT_EQ(Codes(app.Expect(kScroll, WM_VSCROLL, 2, mark)), (std::vector<uint64_t>{SB_BOTTOM, SB_ENDSCROLL}));
  EXPECT_EQ(app.Command(kCmdGetPos, SB_VERT), 91);  // the end: maximum less the page
}

TEST_F(WheelTest, ChildWithoutBarsScrollsItsScrollableParent) {
  Flags(Word(wheel_flag::kVertScroll | wheel_flag::kSearchScrollBar, 2));
  const LONG mark = WheelOver(kPane, -120, 0.5, 0.5);
  const auto scrolled = app.Expect(kScroll, WM_VSCROLL, 3, mark);
  EXPECT_EQ(Codes(scrolled), (std::vector<uint64_t>{1, 1, 8}));
  EXPECT_TRUE(app.Entries(kPane, WM_VSCROLL, mark).empty());
}

TEST_F(WheelTest, ScrollBarControlBesideThePaneWhoseSpanHoldsTheCursor) {
  Flags(Word(wheel_flag::kVertScroll | wheel_flag::kSearchScrollBar, 1));
  LONG mark = WheelOver(kBarsPane, -120, 0.5, 0.75);
  auto entries = app.Expect(kBars, WM_VSCROLL, 2, mark);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(reinterpret_cast<HWND>(entries[0].lp), app.Window(kBarLower));
  const POINT upper = ClientPoint(app.Window(kBarsPane), 0.5, 0.25);
  mark = WheelAt(upper, -120);
  entries = app.Expect(kBars, WM_VSCROLL, 2, mark);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(reinterpret_cast<HWND>(entries[0].lp), app.Window(kBarUpper))
      << "lower " << app.Window(kBarLower) << ", point " << upper.x << "," << upper.y;
}

TEST_F(WheelTest, ZeroCountPassesInScrollModeAndIsSwallowedInKeyMode) {
  Flags(Word(wheel_flag::kVertScroll, 0));
  LONG mark = WheelOver(kScroll, -120);
  EXPECT_EQ(app.Expect(kScroll, WM_MOUSEWHEEL, 1, mark).size(), 1u);
  EXPECT_TRUE(app.Entries(kScroll, WM_VSCROLL, mark).empty());

  Flags(Word(wheel_flag::kVertScroll | wheel_flag::kCursorKeys, 0));
  mark = WheelOver(kScroll, -120);
  ASSERT_TRUE(app.WheelArrived(mark));
  ASSERT_TRUE(app.Drain(app.Window(kScroll)));
  EXPECT_TRUE(app.Entries(kScroll, WM_MOUSEWHEEL, mark).empty());
  EXPECT_TRUE(app.Entries(kScroll, WM_KEYDOWN, mark).empty());
}

TEST_F(WheelTest, CursorKeyMode) {
  Flags(Word(wheel_flag::kVertScroll | wheel_flag::kCursorKeys, 3));
  LONG mark = WheelOver(kScroll, -120);
  auto downs = app.Expect(kScroll, WM_KEYDOWN, 3, mark);
  EXPECT_EQ(Codes(downs), (std::vector<uint64_t>{VK_DOWN, VK_DOWN, VK_DOWN}));
  ASSERT_EQ(app.Expect(kScroll, WM_KEYUP, 1, mark).size(), 1u);
  EXPECT_EQ(static_cast<uint32_t>(downs[0].lp) & 0x0100FFFF, 0x01000001u);

  // The search bit swaps vertical and horizontal keys.
  Flags(Word(wheel_flag::kVertScroll | wheel_flag::kCursorKeys | wheel_flag::kSearchScrollBar, 2, 2));
  mark = WheelOver(kScroll, 120);
  EXPECT_EQ(Codes(app.Expect(kScroll, WM_KEYDOWN, 2, mark)), (std::vector<uint64_t>{VK_LEFT, VK_LEFT}));

  // A horizontal page is six keys.
  Flags(Word(wheel_flag::kShiftHorzScroll | wheel_flag::kCursorKeys, 3, 15));
  mark = KeyedWheelOver(kScroll, -120, MK_SHIFT);
  const auto right = app.Expect(kScroll, WM_KEYDOWN, 6, mark);
  size_t rights = 0;
  for (const Entry& e : right) rights += (e.wp == VK_RIGHT) ? 1 : 0;
  EXPECT_EQ(rights, 6u);
}

TEST_F(WheelTest, PeekedWheelIsConvertedOnceWhenTaken) {
  Flags(Word(wheel_flag::kVertScroll, 3));
  app.Command(kCmdPeekFirst, 1);
  const LONG mark = WheelOver(kScroll, -120);
  EXPECT_EQ(Codes(app.Expect(kScroll, WM_VSCROLL, 4, mark)), (std::vector<uint64_t>{1, 1, 1, 8}));
  app.Command(kCmdPeekFirst, 0);
}

TEST_F(WheelTest, PreciseRampClimbsAndRestartsAfterAPause) {
  Flags(Word(wheel_flag::kVertScroll | wheel_flag::kPrecise | (5u << 24), 5));
  const POINT p = ClientPoint(app.Window(kScroll), 0.75, 0.25);
  MoveCursor(p);
  LONG mark = app.Mark();
  input::Wheel(-120);
  input::Wheel(-120);
  // 1 then 2 lines, each series closed by SB_ENDSCROLL.
  EXPECT_EQ(Codes(app.Expect(kScroll, WM_VSCROLL, 5, mark)), (std::vector<uint64_t>{1, 8, 1, 1, 8}));
  Sleep(700);  // longer than the 500 ms window
  mark = app.Mark();
  input::Wheel(-120);
  EXPECT_EQ(Codes(app.Expect(kScroll, WM_VSCROLL, 2, mark)), (std::vector<uint64_t>{1, 8}));
}

// Fine deltas (a precision touchpad, a high-resolution wheel) scroll as far as the whole notches they
// add up to, in both modes; a wheel that is only forwarded keeps its own delta.
TEST_F(WheelTest, FineDeltasScrollAsFarAsWholeNotches) {
  Flags(Word(wheel_flag::kVertScroll, 3));
  const POINT p = ClientPoint(app.Window(kScroll), 0.75, 0.25);
  LONG mark = WheelAt(p, -120);
  EXPECT_EQ(Codes(app.Expect(kScroll, WM_VSCROLL, 4, mark)), (std::vector<uint64_t>{1, 1, 1, 8}));
  const LRESULT afterNotch = app.Command(kCmdGetPos, SB_VERT);
  mark = app.Mark();
  for (int i = 0; i < 8; ++i) input::Wheel(-15);
  EXPECT_EQ(Codes(app.Expect(kScroll, WM_VSCROLL, 4, mark)), (std::vector<uint64_t>{1, 1, 1, 8}));
  EXPECT_EQ(app.Command(kCmdGetPos, SB_VERT), afterNotch + 3);
  mark = app.Mark();
  for (int i = 0; i < 4; ++i) input::Wheel(30);
  EXPECT_EQ(Codes(app.Expect(kScroll, WM_VSCROLL, 4, mark)), (std::vector<uint64_t>{0, 0, 0, 8}));
  EXPECT_EQ(app.Command(kCmdGetPos, SB_VERT), afterNotch);
  EXPECT_TRUE(app.Entries(kScroll, WM_MOUSEWHEEL, mark).empty());

  Flags(Word(wheel_flag::kVertScroll | wheel_flag::kCursorKeys, 2));
  mark = app.Mark();
  for (int i = 0; i < 4; ++i) input::Wheel(-30);
  EXPECT_EQ(Codes(app.Expect(kScroll, WM_KEYDOWN, 2, mark)), (std::vector<uint64_t>{VK_DOWN, VK_DOWN}));

  Flags(wheel_flag::kForwardToPointer);
  mark = app.Mark();
  input::Wheel(15);
  const auto forwarded = app.Expect(kScroll, WM_MOUSEWHEEL, 1, mark);
  ASSERT_EQ(forwarded.size(), 1u);
  EXPECT_EQ(static_cast<short>(HIWORD(forwarded[0].wp)), 15);
}

TEST_F(WheelTest, CaptionGuardSwallowsAndStepsTranslucency) {
  RECT r;
  GetWindowRect(app.Window(kScroll), &r);
  const POINT caption = {(r.left + r.right) / 2 - 40, r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
  Flags(Word(wheel_flag::kVertScroll, 3), main_flag::kWheelFront);
  LONG mark = WheelAt(caption, -120);
  ASSERT_TRUE(app.WheelArrived(mark));
  ASSERT_TRUE(app.Drain(app.Window(kScroll)));
  EXPECT_TRUE(app.Entries(kScroll, WM_VSCROLL, mark).empty());
  EXPECT_TRUE(app.Entries(kScroll, WM_MOUSEWHEEL, mark).empty());

  Flags(Word(wheel_flag::kVertScroll, 3), main_flag::kWheelTranslucent | (5u << 24));
  WheelAt(caption, -120);
  BYTE alpha = 0;
  EXPECT_TRUE(WaitFor([&] {
    COLORREF key;
    DWORD flags = 0;
    return GetLayeredWindowAttributes(app.Window(kScroll), &key, &alpha, &flags) && alpha == 125;
  })) << static_cast<int>(alpha);
  WheelAt(caption, 120);
  WheelAt(caption, 120);  // 150, 175 ... then opaque again through the restore pass at the end
  EXPECT_TRUE(WaitFor([&] { return harness::Prop(app.Window(kScroll), L"qv WndLay") == 175; }));
  EXPECT_EQ(lib.UnHookGetMsg(), 1);
  EXPECT_EQ(harness::Prop(app.Window(kScroll), L"qv WndLay"), 0u);
}

// A program that draws its own title bar answers HTCAPTION only from its own WM_NCHITTEST: the
// caption wheel takes that answer, below the band the wheel passes, and the mouse hook does not
// activate the window over its title bar while a caption-wheel function is on.
TEST_F(WheelTest, OwnDrawnTitleBarTakesTheCaptionWheel) {
  const HWND own = app.Window(kOwnTitle);
  ASSERT_NE(own, nullptr);
  POINT band = {100, kOwnTitleBand / 2};
  POINT below = {100, kOwnTitleBand + 60};
  ClientToScreen(own, &band);
  ClientToScreen(own, &below);
  const auto alpha = [&] {
    COLORREF key;
    BYTE a = 0;
    DWORD flags = 0;
    return GetLayeredWindowAttributes(own, &key, &a, &flags) ? static_cast<int>(a) : -1;
  };
  Flags(Word(wheel_flag::kVertScroll, 3), main_flag::kWheelTranslucent | (5u << 24));
  LONG mark = WheelAt(below, -120);
  EXPECT_EQ(app.Expect(kOwnTitle, WM_MOUSEWHEEL, 1, mark).size(), 1u) << "below the band the wheel passes";
  EXPECT_EQ(GetWindowLongPtrW(own, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  mark = WheelAt(band, -120);
  EXPECT_TRUE(WaitFor([&] { return alpha() == 125; })) << alpha();
  ASSERT_TRUE(app.Drain(own));
  EXPECT_TRUE(app.Entries(kOwnTitle, WM_MOUSEWHEEL, mark).empty()) << "swallowed as a caption wheel";
  EXPECT_EQ(lib.UnHookGetMsg(), 1);
  EXPECT_EQ(harness::Prop(own, L"qv WndLay"), 0u);

  // Activation by the wheel skips the title bar, not the client area below it.
  ASSERT_EQ(lib.SetHookGetMsg(owner.Get(), kNotify, 0), 1);
  Flags(Word(wheel_flag::kForwardToPointer | wheel_flag::kActivate | wheel_flag::kVertScroll, 3),
        main_flag::kWheelFront);
  ASSERT_TRUE(focus.TakeFocus());
  WheelAt(band, -120);  // arrives, swallowed over the caption
  EXPECT_EQ(GetForegroundWindow(), focus.Get()) << "activated over its title bar";
  WheelAt(below, -120, false);  // the activating notch is dropped: the activation is its witness
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == own; }));
}

// A window without a redirection surface is left alone by the caption wheel: no layered style, no
// property; the wheel over an ordinary caption right after shows that the hook acts.
TEST_F(WheelTest, CompositionWindowIsNeverMadeTranslucent) {
  const HWND composed = app.Window(kComposed);
  ASSERT_NE(composed, nullptr);
  ASSERT_NE(GetWindowLongPtrW(composed, GWL_EXSTYLE) & 0x00200000, 0) << "WS_EX_NOREDIRECTIONBITMAP was not kept";
  const auto captionOf = [](HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return POINT{(r.left + r.right) / 2 - 40,
                 r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
  };
  Flags(Word(wheel_flag::kVertScroll, 3), main_flag::kWheelTranslucent | (5u << 24));
  const LONG mark = WheelAt(captionOf(composed), -120);
  ASSERT_TRUE(app.Drain(composed));
  EXPECT_TRUE(app.Entries(kComposed, WM_MOUSEWHEEL, mark).empty()) << "swallowed as a caption wheel";
  WheelAt(captionOf(app.Window(kScroll)), -120);
  EXPECT_TRUE(WaitFor([&] { return harness::Prop(app.Window(kScroll), L"qv WndLay") == 125; }));
  EXPECT_EQ(GetWindowLongPtrW(composed, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  EXPECT_EQ(harness::Prop(composed, L"qv WndLay"), 0u);
}

// The wheel over a caption, taken by a child whose top-level window belongs to another thread: a
// hung top-level window is left as it is and the child's thread goes on; once it answers again,
// the step crosses the threads.
TEST_F(WheelTest, CaptionWheelInAChildOfAHungWindowDoesNotHoldTheChildsThread) {
  RECT r;
  GetWindowRect(app.Window(kScroll), &r);
  const POINT caption = {(r.left + r.right) / 2 - 40, r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
  Flags(Word(wheel_flag::kVertScroll, 3), main_flag::kWheelTranslucent | (5u << 24));
  MoveCursor(caption);
  const HWND pane = app.Window(kHungPane);
  // Posted: the message takes the cursor's place, over the caption, wherever the pane lies.
  const auto turn = [&] { PostMessageW(pane, WM_MOUSEWHEEL, MAKEWPARAM(0, -120), MAKELPARAM(caption.x, caption.y)); };
  const auto alpha = [&] {
    COLORREF key;
    BYTE a = 0;
    DWORD flags = 0;
    return GetLayeredWindowAttributes(app.Window(kScroll), &key, &a, &flags) ? static_cast<int>(a) : -1;
  };

  PostMessageW(app.Window(kScroll), kCmdHang, 0, 3000);
  DWORD_PTR answer = 0;
  ASSERT_TRUE(WaitFor([&] { return GetPropW(app.Window(kScroll), kHangingProp) != nullptr; })) << "not hung";
  const LONG mark = app.Mark();
  turn();
  // The pane's thread takes what is posted behind the turn at once, not when the window wakes.
  ASSERT_TRUE(app.Drain(pane));
  EXPECT_NE(GetPropW(app.Window(kScroll), kHangingProp), nullptr) << "the pane waited for the hung window";
  EXPECT_TRUE(app.Entries(kHungPane, WM_MOUSEWHEEL, mark).empty()) << "not taken as a caption wheel";
  EXPECT_EQ(alpha(), -1);

  ASSERT_TRUE(SendMessageTimeoutW(app.Window(kScroll), kCmdPing, 0, 0, SMTO_NORMAL, 10000, &answer));
  turn();
  EXPECT_TRUE(WaitFor([&] { return alpha() == 125; })) << alpha();
}

// A notification sent from another thread carries a pointer into the sender's memory (from another
// process it may point anywhere): the hook reads it only when the window's own thread sent it. A
// double click on the empty area of a desktop's file list, sent from this thread, is reported; the
// same notification sent from another thread is not read at all.
LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return msg == WM_NOTIFY ? 0 : DefWindowProcW(hwnd, msg, wp, lp);
}

DWORD WINAPI SendNotification(LPVOID notify) {
  const auto* n = static_cast<const NMITEMACTIVATE*>(notify);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(GetParent(n->hdr.hwndFrom), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(n), SMTO_NORMAL, 5000,
                      &ignored);
  return 0;
}

TEST(CallWndNotify, NotificationIsReadOnlyWhenSentFromTheWindowsOwnThread) {
  harness::Library lib;
  harness::OwnerWindow owner;
  ASSERT_TRUE(lib.Loaded());
  ASSERT_EQ(lib.SetHookCallWnd(owner.Get(), kNotify + 2, 0), 1);
  lib.SetHookFlag(main_flag::kDesktopDblClickReport, 0, 0, 0);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  for (const wchar_t* name : {L"Progman", L"SHELLDLL_DefView"}) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = instance;
    wc.lpszClassName = name;
    RegisterClassW(&wc);
  }
  HWND desktop = CreateWindowExW(0, L"Progman", L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, instance, nullptr);
  HWND view = CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_CHILD, 0, 0, 200, 200, desktop, nullptr, instance, nullptr);
  HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD, 0, 0, 200, 200, view, nullptr, instance, nullptr);
  ASSERT_NE(list, nullptr);
  NMITEMACTIVATE notify = {};
  notify.hdr.hwndFrom = list;
  notify.hdr.code = static_cast<UINT>(NM_DBLCLK);
  notify.iItem = -1;
  const auto reports = [&] {
    size_t n = 0;
    for (const auto& p : owner.received) n += p.msg == kNotify + 2 && p.wp == 0x4E;
    return n;
  };

  HANDLE sender = CreateThread(nullptr, 0, SendNotification, &notify, 0, nullptr);
  ASSERT_TRUE(WaitFor([&] { return WaitForSingleObject(sender, 0) == WAIT_OBJECT_0; })) << "not taken";
  CloseHandle(sender);
  SendNotification(&notify);  // the witness: the same notification from the window's own thread
  EXPECT_TRUE(WaitFor([&] { return reports() >= 1; }));
  harness::Pump(100);
  EXPECT_EQ(reports(), 1u);
  DestroyWindow(desktop);
  EXPECT_EQ(lib.UnHookCallWnd(), 1);
}

using harness::PublishedTable;

qorv::MapEntry Row(uint32_t flag, uint32_t wheel, int32_t id, const char* file, const char* cls) {
  qorv::MapEntry e;
  e.EntryFlag = flag;
  e.EntryWheelFlag = wheel;
  e.WndId = id;
  e.FileName = file;
  e.ClassName = cls;
  return e;
}

TEST_F(WheelTest, PerWindowTableByProgramClassAndControlId) {
  const uint32_t global = Word(wheel_flag::kVertScroll | wheel_flag::kSearchScrollBar, 3);
  PublishedTable first(7, {Row(0x71, Word(wheel_flag::kVertScroll | wheel_flag::kSearchScrollBar, 4), 1,
                               "QORV_WHEEL.EXE", "QorvWheelPane"),
                           Row(0x41, Word(wheel_flag::kVertScroll, 1), 0, "", "QorvWheelScroll")});
  Flags(global, 0, qorv::extra_flag::kMapTableOn | 7);
  // The pane with control id 1 of this program: 4 lines to its parent.
  LONG mark = WheelOver(kPane, -120, 0.5, 0.5);
  EXPECT_EQ(app.Expect(kScroll, WM_VSCROLL, 5, mark).size(), 5u);
  // The same class with id 2 elsewhere: the global word, 3 lines ... but its parent has no bars.
  mark = WheelOver(kScroll, -120);
  EXPECT_EQ(Codes(app.Expect(kScroll, WM_VSCROLL, 2, mark)), (std::vector<uint64_t>{1, 8}));

  // A new table under a new number is read at the next lookup.
  PublishedTable second(8, {Row(0x41, Word(wheel_flag::kVertScroll, 2), 0, "", "QorvWheelScroll")});
  Flags(global, 0, qorv::extra_flag::kMapTableOn | 8);
  mark = WheelOver(kScroll, -120);
  EXPECT_EQ(Codes(app.Expect(kScroll, WM_VSCROLL, 3, mark)), (std::vector<uint64_t>{1, 1, 8}));
  // A row without option bit 0 leaves the global word in force.
  PublishedTable third(9, {Row(0x40, Word(wheel_flag::kVertScroll, 2), 0, "", "QorvWheelScroll")});
  Flags(global, 0, qorv::extra_flag::kMapTableOn | 9);
  mark = WheelOver(kScroll, -120);
  EXPECT_EQ(app.Expect(kScroll, WM_VSCROLL, 4, mark).size(), 4u);
}

TEST_F(WheelTest, FirstNotchActivatesAndNotificationCarriesTheNotch) {
  Flags(Word(wheel_flag::kForwardToPointer | wheel_flag::kActivate | wheel_flag::kVertScroll, 3));
  ASSERT_EQ(GetForegroundWindow(), focus.Get());
  const POINT p = ClientPoint(app.Window(kScroll), 0.75, 0.25);
  owner.received.clear();
  // The activating notch is dropped before the target's queue: the activation is its witness.
  LONG mark = WheelAt(p, -120, false);
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == app.Window(kScroll); }));
  ASSERT_TRUE(app.Drain(app.Window(kScroll)));
  EXPECT_TRUE(app.Entries(kScroll, WM_VSCROLL, mark).empty()) << "the activating notch is dropped";
  // Now active: the next notch scrolls and is reported.
  mark = WheelAt(p, -120);
  EXPECT_EQ(app.Expect(kScroll, WM_VSCROLL, 4, mark).size(), 4u);
  // The other hooks report to the same owner with their own message ids: take the message hook's.
  harness::OwnerWindow::Posted c = {};
  ASSERT_TRUE(WaitFor([&] {
    for (const auto& posted : owner.received) {
      if (posted.msg == kNotify) {
        c = posted;
        return true;
      }
    }
    return false;
  }));
  EXPECT_EQ(c.wp & 0xFFFF, 0x020Au);
  EXPECT_EQ((c.wp >> 16) & 0xFF, 0x88u);
  EXPECT_EQ(static_cast<uint32_t>(c.lp), (static_cast<uint32_t>(p.y) << 16) | static_cast<uint32_t>(p.x));

  // A per-window word with 0x8 keeps the activating notch.
  PublishedTable table(11, {Row(0x41, Word(wheel_flag::kForwardToPointer | wheel_flag::kMdiActivate |
                                           wheel_flag::kVertScroll, 3),
                                0, "", "QorvWheelScroll")});
  Flags(Word(wheel_flag::kForwardToPointer | wheel_flag::kActivate | wheel_flag::kVertScroll, 3), 0,
        qorv::extra_flag::kMapTableOn | 11);
  ASSERT_TRUE(focus.TakeFocus());
  mark = WheelAt(p, -120);
  EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == app.Window(kScroll); }));
  EXPECT_EQ(app.Expect(kScroll, WM_VSCROLL, 4, mark).size(), 4u);
}

TEST_F(WheelTest, DropDownListNeverActivates) {
  Flags(Word(wheel_flag::kForwardToPointer | wheel_flag::kActivate, 3));
  SetForegroundWindow(app.Window(kEditHost));
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == app.Window(kEditHost); }));
  HWND list = reinterpret_cast<HWND>(app.Command(kCmdDropDown));
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(list) != FALSE; }));
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == app.Window(kEditHost); }));
  const LONG mark = WheelAt(ClientPoint(list, 0.5, 0.5), -120);
  ASSERT_TRUE(app.WheelArrived(mark));
  ASSERT_TRUE(app.Drain(app.Window(kEditHost)));
  // Nothing was activated by the wheel: the window that was in front stays there.
  EXPECT_EQ(GetForegroundWindow(), app.Window(kEditHost))
      << "list still open: " << IsWindowVisible(list) << ", wheels at the combo box: "
      << app.Entries(kCombo, WM_MOUSEWHEEL, mark).size();
}

TEST_F(WheelTest, HungTargetDoesNotHoldTheHookedThread) {
  Flags(Word(wheel_flag::kVertScroll | wheel_flag::kSearchScrollBar, 3));
  PostMessageW(app.Window(kScroll), kCmdHang, 0, 3000);
  DWORD_PTR answer = 0;
  ASSERT_TRUE(WaitFor([&] { return GetPropW(app.Window(kScroll), kHangingProp) != nullptr; })) << "not hung";
  WheelOver(kHungPane, -120, 0.5, 0.5, false);
  harness::Pump(100);
  EXPECT_TRUE(SendMessageTimeoutW(app.Window(kHungPane), kCmdPing, 0, 0, SMTO_NORMAL, 1500, &answer));
  EXPECT_NE(GetPropW(app.Window(kScroll), kHangingProp), nullptr) << "the pane answered only after the hang";
  EXPECT_TRUE(SendMessageTimeoutW(app.Window(kScroll), kCmdPing, 0, 0, SMTO_NORMAL, 5000, &answer));
}

// The message table, with keys and clicks.
TEST_F(WheelTest, CtrlASelectsAllAndF2CyclesTheRenameSelection) {
  Flags(0, main_flag::kEditSelectAll | main_flag::kRenameAid);
  SetForegroundWindow(app.Window(kEditHost));
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == app.Window(kEditHost); }));
  app.Command(kCmdFocus, kEdit);
  LONG mark = app.Mark();
  input::Key(VK_CONTROL, true);
  input::Key('A', true);
  input::Key('A', false);
  input::Key(VK_CONTROL, false);
  EXPECT_TRUE(WaitFor([&] { return app.Command(kCmdGetSel, kEdit) == MAKELONG(0, 10); }));
  EXPECT_TRUE(app.Entries(kEdit, WM_CHAR, mark).empty()) << "Ctrl+A never reaches the control";

  app.Command(kCmdFocus, kRename);
  std::vector<LRESULT> selections;
  for (int i = 0; i < 3; ++i) {
    const LRESULT before = app.Command(kCmdGetSel, kRename);
    input::Key(VK_F2, true);
    input::Key(VK_F2, false);
    WaitFor([&] { return app.Command(kCmdGetSel, kRename) != before; }, 3000);
    selections.push_back(app.Command(kCmdGetSel, kRename));
  }
  EXPECT_EQ(selections, (std::vector<LRESULT>{MAKELONG(0, 6), MAKELONG(7, 10), MAKELONG(0, 10)}));
}

TEST_F(WheelTest, StartMenuGuard) {
  Flags(0, main_flag::kNoWinKeyStart);
  LONG mark = app.Mark();
  PostMessageW(app.Window(kTray), 0x0504, 0, 0);
  ASSERT_TRUE(app.Drain(app.Window(kTray)));
  EXPECT_TRUE(app.Entries(kTray, 0x0504, mark).empty());
  Flags(0, 0);
  mark = app.Mark();
  PostMessageW(app.Window(kTray), 0x0504, 0, 0);
  EXPECT_EQ(app.Expect(kTray, 0x0504, 1, mark).size(), 1u);
}

TEST_F(WheelTest, RolledUpWindowRefusesSizingAndMaximising) {
  Flags(0, main_flag::kRollUp);
  HWND hwnd = app.Window(kScroll);
  RECT r;
  GetWindowRect(hwnd, &r);
  const int before = r.bottom - r.top;
  MoveCursor({(r.left + r.right) / 2 - 40, r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2});
  input::Mouse(MOUSEEVENTF_RIGHTDOWN);
  input::Mouse(MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(WaitFor([&] { return harness::Prop(hwnd, L"qv WndHight") == static_cast<UINT_PTR>(before); }));
  EXPECT_TRUE(WaitFor([&] { return harness::WindowHeight(hwnd) < before; }));

  LONG mark = app.Mark();
  PostMessageW(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  PostMessageW(hwnd, WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, 0);
  const auto nc = app.Expect(hwnd == nullptr ? kScroll : kScroll, WM_NCLBUTTONDOWN, 1, mark);
  ASSERT_EQ(nc.size(), 1u);
  EXPECT_EQ(nc[0].wp, static_cast<uint64_t>(HTRIGHT));
  EXPECT_TRUE(app.Entries(kScroll, WM_SYSCOMMAND, mark).empty());

  // Clearing the roll-up bit restores it (the resize is posted to the window's thread).
  Flags(0, 0);
  EXPECT_TRUE(WaitFor([&] { return harness::WindowHeight(hwnd) == before; })) << harness::WindowHeight(hwnd);
}

TEST_F(WheelTest, MiddleClickOnAFolderListGoesUp) {
  Flags(0, main_flag::kWheelClickUpFolder);
  SetForegroundWindow(app.Window(kCabinet));
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == app.Window(kCabinet); }));
  app.Command(kCmdFocus, kFolderList);
  MoveCursor(ClientPoint(app.Window(kFolderList), 0.5, 0.6));
  const LONG mark = app.Mark();
  input::Mouse(MOUSEEVENTF_MIDDLEDOWN);
  input::Mouse(MOUSEEVENTF_MIDDLEUP);
  // This system reports version 6 or later: an Explorer window gets Alt+Up.
  // The stroke goes to the window with the keyboard focus in the folder window.
  bool altUp = false;
  WaitFor([&] {
    for (uint32_t kind = 0; kind < kKindCount && !altUp; ++kind) {
      for (const Entry& e : app.Entries(static_cast<Kind>(kind), WM_SYSKEYDOWN, mark)) altUp |= e.wp == VK_UP;
    }
    return altUp;
  }, 5000);
  EXPECT_TRUE(altUp) << "middle button seen: " << app.Entries(kFolderList, WM_MBUTTONDOWN, mark).size()
                     << ", foreground " << GetForegroundWindow() << " cabinet " << app.Window(kCabinet);
}

}  // namespace

namespace {

// A window of this process that holds the mouse capture and counts the wheel turns it gets.
class CaptureWindow {
 public:
  CaptureWindow() {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QorvTestCapture";
    RegisterClassExW(&wc);
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST, L"QorvTestCapture", L"qorv capture", WS_POPUP | WS_VISIBLE, 900, 600, 100,
                            50, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    wheels_ = 0;
  }
  ~CaptureWindow() {
    ReleaseCapture();
    DestroyWindow(hwnd_);
  }
  CaptureWindow(const CaptureWindow&) = delete;
  CaptureWindow& operator=(const CaptureWindow&) = delete;
  HWND Get() const { return hwnd_; }
  static int Wheels() { return wheels_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_MOUSEWHEEL) ++wheels_;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  HWND hwnd_;
  static int wheels_;
};
int CaptureWindow::wheels_;

// With the capture in this process, a wheel over another process's window first reaches this
// process: the mouse hook here sends it on to the window under the cursor, unless that window's
// program (asked through the module-path exchange) has a row that turns forwarding off.
TEST_F(WheelTest, WheelForAnotherProcessWindowFollowsThatProgramsRow) {
  CaptureWindow capture;
  SetForegroundWindow(capture.Get());
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == capture.Get(); }));
  SetCapture(capture.Get());
  ASSERT_TRUE(WaitFor([&] { return GetCapture() == capture.Get(); }));
  Flags(Word(wheel_flag::kForwardToPointer | wheel_flag::kVertScroll, 3));
  LONG mark = WheelOver(kScroll, -120, 0.75, 0.25, false);
  const auto forwarded = app.Expect(kScroll, WM_VSCROLL, 4, mark);
  ASSERT_FALSE(forwarded.empty() && CaptureWindow::Wheels() == 0)
      << "the wheel reached neither window; capture " << GetCapture() << ", foreground " << GetForegroundWindow()
      << ", capture window " << capture.Get();
  EXPECT_EQ(forwarded.size(), 4u);
  EXPECT_EQ(CaptureWindow::Wheels(), 0);

  PublishedTable table(31, {Row(0x21, 0, 0, "qorv_wheel.exe", "")});
  Flags(Word(wheel_flag::kForwardToPointer | wheel_flag::kVertScroll, 3), 0, qorv::extra_flag::kMapTableOn | 31);
  SetCapture(capture.Get());
  mark = WheelOver(kScroll, -120, 0.75, 0.25, false);
  EXPECT_TRUE(WaitFor([&] { return CaptureWindow::Wheels() == 1; }, 5000));
  ASSERT_TRUE(app.Drain(app.Window(kScroll)));
  EXPECT_TRUE(app.Entries(kScroll, WM_VSCROLL, mark).empty());
}

}  // namespace

namespace {

// A copy of the wheel application that Wine tells it runs on Windows XP (major version 5).
std::wstring OldSystemCopy() {
  const std::wstring dir = harness::NewRunDir();
  const std::wstring exe = dir + L"\\qorv_wheelxp.exe";
  CopyFileW((harness::ExeDir() + L"\\qorv_wheel.exe").c_str(), exe.c_str(), FALSE);
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\qorv_wheelxp.exe", 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
    const wchar_t version[] = L"winxp";
    RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version), sizeof(version));
    RegCloseKey(key);
  }
  return exe;
}

TEST(WheelOldSystem, MiddleClickOnAFolderListPostsBackspace) {
  harness::Library lib;
  harness::OwnerWindow owner;
  ASSERT_TRUE(lib.Loaded());
  WheelApp app(OldSystemCopy());
  ASSERT_TRUE(app.Ready());
  ASSERT_EQ(lib.SetHookGetMsg(owner.Get(), kNotify, 0), 1);
  lib.SetHookFlag(main_flag::kWheelClickUpFolder, 0, 0, 0);
  MoveCursor(ClientPoint(app.Window(kFolderList), 0.5, 0.6));
  const LONG mark = app.Mark();
  input::Mouse(MOUSEEVENTF_MIDDLEDOWN);
  input::Mouse(MOUSEEVENTF_MIDDLEUP);
  const auto keys = app.Expect(kFolderList, WM_KEYDOWN, 1, mark);
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].wp, static_cast<uint64_t>(VK_BACK));
  EXPECT_EQ(keys[0].lp & 0xFFFF, 1);
  EXPECT_TRUE(app.Entries(kFolderList, WM_SYSKEYDOWN, mark).empty());
}

TEST_F(WheelTest, FrameDragTurnsAClickWithRightButtonAndRightCtrlIntoAMove) {
  Flags(0, main_flag::kFrameDrag);
  SetForegroundWindow(app.Window(kScroll));
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == app.Window(kScroll); }));
  LONG mark = app.Mark();
  input::Key(VK_RCONTROL, true);
  // The click is looked at once the target has seen the key go down.
  ASSERT_FALSE(app.Expect(kScroll, WM_KEYDOWN, 1, mark).empty());
  mark = app.Mark();
  PostMessageW(app.Window(kScroll), WM_LBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(20, 20));
  const auto nc = app.Expect(kScroll, WM_NCLBUTTONDOWN, 1, mark);
  input::Key(VK_RCONTROL, false);
  ASSERT_EQ(nc.size(), 1u);
  EXPECT_EQ(nc[0].wp, static_cast<uint64_t>(HTCAPTION));
}

}  // namespace

namespace {

// A window of the installing process itself, with its own scroll bar, counting the lines it scrolls.
class OwnScrollWindow {
 public:
  OwnScrollWindow() {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QorvTestOwnScroll";
    RegisterClassExW(&wc);
    hwnd_ = CreateWindowExW(0, L"QorvTestOwnScroll", L"qorv own scroll", WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_VISIBLE,
                            600, 420, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    lines_ = 0;
  }
  ~OwnScrollWindow() { DestroyWindow(hwnd_); }
  OwnScrollWindow(const OwnScrollWindow&) = delete;
  OwnScrollWindow& operator=(const OwnScrollWindow&) = delete;
  HWND Get() const { return hwnd_; }
  static int Lines() { return lines_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_VSCROLL && LOWORD(wp) == SB_LINEDOWN) ++lines_;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  HWND hwnd_;
  static int lines_;
};
int OwnScrollWindow::lines_;

TEST_F(WheelTest, PerWindowRowForTheInstallingProcessItself) {
  OwnScrollWindow own;
  const POINT p = ClientPoint(own.Get(), 0.5, 0.5);
  PublishedTable table(41, {Row(0x21, Word(wheel_flag::kVertScroll, 1), 0, "qorv_wine_tests.exe", "")});
  Flags(Word(wheel_flag::kVertScroll, 3));
  MoveCursor(p);
  input::Wheel(-120);
  EXPECT_TRUE(WaitFor([&] { return OwnScrollWindow::Lines() == 3; }, 5000)) << OwnScrollWindow::Lines();
  Flags(Word(wheel_flag::kVertScroll, 3), 0, qorv::extra_flag::kMapTableOn | 41);
  input::Wheel(-120);
  EXPECT_TRUE(WaitFor([&] { return OwnScrollWindow::Lines() == 4; }, 5000)) << OwnScrollWindow::Lines();
  harness::Pump(200);
  EXPECT_EQ(OwnScrollWindow::Lines(), 4);
}

}  // namespace

namespace {

// Double clicks on the file list of a folder window, and a rename box opened on an older system.
class OldSystemFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.Loaded());
    ASSERT_TRUE(app.Ready());
    ASSERT_EQ(lib.SetHookGetMsg(owner.Get(), kNotify, 0), 1);
    ASSERT_EQ(lib.SetHookCallWnd(owner.Get(), kNotify + 2, 0), 1);
    lib.SetHookFlag(main_flag::kDoubleClickUpFolder | main_flag::kRenameAid, 0, 0, 0);
  }
  void TearDown() override { input::ReleaseAll(); }
  LONG DoubleClickAt(POINT p) {
    MoveCursor(p);
    const LONG mark = app.Mark();
    for (int i = 0; i < 2; ++i) {
      input::Mouse(MOUSEEVENTF_LEFTDOWN);
      input::Mouse(MOUSEEVENTF_LEFTUP);
    }
    return mark;
  }

  harness::Library lib;
  harness::OwnerWindow owner;
  WheelApp app{OldSystemCopy()};
};

TEST_F(OldSystemFolderTest, DoubleClickOnEmptySpaceGoesUpAndOnAnItemDoesNot) {
  HWND list = app.Window(kFolderList);
  SetForegroundWindow(app.Window(kCabinet));
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == app.Window(kCabinet); }));
  LONG mark = DoubleClickAt(ClientPoint(list, 0.5, 0.8));
  const auto keys = app.Expect(kFolderList, WM_KEYDOWN, 1, mark);
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].wp, static_cast<uint64_t>(VK_BACK));
  // The first row, just below the column header, holds an item: a double click on its label does
  // not go up.
  RECT header = {};
  GetWindowRect(FindWindowExW(list, nullptr, L"SysHeader32", nullptr), &header);
  Sleep(600);  // not a double click with the clicks before
  mark = DoubleClickAt({header.left + 25, header.bottom + 7});
  ASSERT_TRUE(WaitFor([&] { return !app.Entries(kFolderList, WM_LBUTTONDBLCLK, mark).empty(); }))
      << "the double click did not reach the list";
  ASSERT_TRUE(app.Drain(list));
  EXPECT_TRUE(app.Entries(kFolderList, WM_KEYDOWN, mark).empty());
}

TEST_F(OldSystemFolderTest, NewRenameBoxStartsWithTheNameSelected) {
  const auto edit = reinterpret_cast<HWND>(app.Command(kCmdNewRenameBox));
  ASSERT_NE(edit, nullptr);
  EXPECT_TRUE(WaitFor([&] { return app.Command(kCmdGetSel, kRename) == MAKELONG(0, 6); }))
      << std::hex << app.Command(kCmdGetSel, kRename);
}

}  // namespace
