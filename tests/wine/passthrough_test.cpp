// Out-of-context pass-through: Windows runs a global hook for every process of the other bitness
// inside the installing process, on the installing thread. Every hook procedure called there with
// an event for another process's window passes it on and changes nothing. These machines run no
// 32-bit code, so the procedures, linked into this program, are called directly with events for
// the windows of the wheel application; the same calls made as in that application's own context
// are the control that shows each witness would have seen the effect.
#include <gtest/gtest.h>

#include <string>

#include "common/flags.h"
#include "hooklib/core_win.h"
#include "hooklib/shared_state.h"
#include "hooklib/window_win.h"
#include "tests/wine/harness.h"
#include "tests/wine/wheel_log.h"

namespace qorv {
void BenchInitGlobals();
}

namespace {

using harness::WaitFor;
using namespace qorv;
using namespace wheelapp;

constexpr UINT kGetMsgNotify = WM_APP + 51;
constexpr UINT kCallWndNotify = WM_APP + 52;
constexpr UINT kMouseNotify = WM_APP + 53;
constexpr UINT kOwnerMark = WM_APP + 54;

// What each procedure did with its event.
struct Seen {
  bool messageRewritten;  // message hook: the message became WM_NULL
  bool rolledUp;          // message hook: the window carries the rolled-up height
  bool reportPosted;      // window-procedure hook: a report reached the owner
  bool wheelReposted;     // mouse hook: the wheel went to the window under the cursor
  bool wheelDiscarded;    // mouse hook: returned 1
  bool notchReported;     // mouse hook: notification C reached the owner
  bool hookBlocked;       // debug hook: returned 1
};

class PassThroughTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(app.Ready());
    BenchInitGlobals();
    const auto me = static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(owner.Get()));
    g_shared.GetMsgOwner = me;
    g_shared.GetMsgNotifyMsg = kGetMsgNotify;
    g_shared.CallWndOwner = me;
    g_shared.CallWndNotifyMsg = kCallWndNotify;
    g_shared.MouseOwner = me;
    g_shared.MouseNotifyMsg = kMouseNotify;
    g_shared.MainFlag = main_flag::kRollUp;
    g_shared.WheelFlag = wheel_flag::kForwardToPointer;
    g_shared.DebugMask = 1u << (WH_CALLWNDPROC + 1);
  }
  void TearDown() override {
    g_installingProcess = false;
    UnrollAll();
  }

  // Waits until a marker posted to the owner after the calls has arrived; true when a message
  // `msg` came before it.
  bool OwnerGot(UINT msg) {
    const WPARAM id = ++marks_;
    PostMessageW(owner.Get(), kOwnerMark, id, 0);
    EXPECT_TRUE(WaitFor([&] {
      for (const auto& p : owner.received) {
        if (p.msg == kOwnerMark && p.wp == id) return true;
      }
      return false;
    }));
    bool got = false;
    for (const auto& p : owner.received) got = got || p.msg == msg;
    return got;
  }

  Seen CallEach() {
    Seen seen = {};
    owner.received.clear();
    HWND scroll = app.Window(kScroll);
    HWND other = app.Window(kEditHost);
    RECT r;
    GetWindowRect(scroll, &r);
    const POINT caption = {(r.left + r.right) / 2, r.top + GetSystemMetrics(SM_CYFRAME) + 4};
    const LONG mark = app.Mark();

    // Mouse hook, first: the roll-up below takes the scroll window away from under the cursor, and
    // its program may carry it out before or after the wheel is looked at. A wheel for another window
    // of the application (its focus) with the cursor over the scroll window is reposted there and
    // reported.
    MOUSEHOOKSTRUCTEX w = {};
    GetCursorPos(&w.pt);
    w.hwnd = other;
    w.wHitTestCode = HTCLIENT;
    w.mouseData = static_cast<DWORD>(static_cast<WORD>(-120)) << 16;
    HWND under = WindowFromPoint(w.pt);
    seen.wheelDiscarded = MouseHookProc(HC_ACTION, WM_MOUSEWHEEL, reinterpret_cast<LPARAM>(&w)) == 1;
    seen.notchReported = OwnerGot(kGetMsgNotify);
    for (uint32_t kind = 0; kind < kKindCount; ++kind) {
      if (under == app.Window(static_cast<Kind>(kind)) && app.Count(static_cast<Kind>(kind), WM_MOUSEWHEEL, mark) > 0) {
        seen.wheelReposted = true;
      }
    }

    // Message hook: a right click on the caption rolls the window up.
    MSG m = {scroll, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(caption.x, caption.y), GetTickCount(), caption};
    GetMsgProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&m));
    seen.messageRewritten = m.message == WM_NULL;
    seen.rolledUp = harness::Prop(scroll, L"qv WndHight") != 0;

    // Window-procedure hook: an activation of a top-level window is reported.
    CWPSTRUCT c = {0, TRUE, WM_NCACTIVATE, scroll};
    CallWndHookProc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&c));
    seen.reportPosted = OwnerGot(kCallWndNotify);

    // Debug hook: a hook of the application's thread about to be called would be blocked.
    DEBUGHOOKINFO d = {GetWindowThreadProcessId(scroll, nullptr), GetCurrentThreadId(), 0, 0, HC_ACTION};
    seen.hookBlocked = DebugProc(HC_ACTION, WH_CALLWNDPROC, reinterpret_cast<LPARAM>(&d)) == 1;
    return seen;
  }

  wheellog::App app;
  harness::OwnerWindow owner;
  WPARAM marks_ = 0;
};

// The cursor is put over a window of the application so that the mouse hook has a window under it.
bool CursorOverApp(const wheellog::App& app) {
  HWND scroll = app.Window(kScroll);
  RECT r;
  GetClientRect(scroll, &r);
  POINT p = {r.right / 2, r.bottom / 2};
  ClientToScreen(scroll, &p);
  return WaitFor([&] {
    SetCursorPos(p.x, p.y);
    POINT now;
    GetCursorPos(&now);
    return now.x == p.x && now.y == p.y && GetAncestor(WindowFromPoint(now), GA_ROOT) == scroll;
  });
}

TEST_F(PassThroughTest, EveryProcedurePassesOnAnEventForAnotherProcessInTheInstallingProcess) {
  ASSERT_TRUE(CursorOverApp(app)) << "the scroll window is not under the cursor";
  g_installingProcess = true;
  const Seen out = CallEach();
  EXPECT_FALSE(out.messageRewritten);
  EXPECT_FALSE(out.rolledUp);
  EXPECT_FALSE(out.reportPosted);
  EXPECT_FALSE(out.wheelDiscarded);
  EXPECT_FALSE(out.wheelReposted);
  EXPECT_FALSE(out.notchReported);
  EXPECT_FALSE(out.hookBlocked);
  EXPECT_FALSE(harness::IsLayered(app.Window(kScroll)));

  // The control: the same calls where this process is no installer act on every witness.
  g_installingProcess = false;
  const Seen in = CallEach();
  EXPECT_TRUE(in.messageRewritten);
  EXPECT_TRUE(WaitFor([&] { return harness::Prop(app.Window(kScroll), L"qv WndHight") != 0; }));
  EXPECT_TRUE(in.reportPosted);
  EXPECT_TRUE(in.wheelDiscarded);
  EXPECT_TRUE(in.wheelReposted);
  EXPECT_TRUE(in.notchReported);
  EXPECT_TRUE(in.hookBlocked);
}

// The installing process's own windows are served as before.
TEST_F(PassThroughTest, TheInstallingProcesssOwnWindowsAreServed) {
  g_installingProcess = true;
  owner.received.clear();
  CWPSTRUCT c = {0, TRUE, WM_NCACTIVATE, owner.Get()};
  CallWndHookProc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&c));
  EXPECT_TRUE(WaitFor([&] {
    for (const auto& p : owner.received) {
      if (p.msg == kCallWndNotify) return true;
    }
    return false;
  }));
  DEBUGHOOKINFO d = {GetCurrentThreadId(), GetCurrentThreadId(), 0, 0, HC_ACTION};
  EXPECT_EQ(DebugProc(HC_ACTION, WH_CALLWNDPROC, reinterpret_cast<LPARAM>(&d)), 1);
}

}  // namespace
