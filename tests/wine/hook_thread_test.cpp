// The main program's hook thread: it installs and removes the hooks it is asked for and answers its
// low-level hook while the thread that asked (the UI thread here) does not pump.
#include <gtest/gtest.h>

#include "host/hook_thread_win.h"
#include "host/hooks_wanted.h"
#include "host/hotkeys_win.h"
#include "host/library_win.h"
#include "tests/wine/harness.h"
#include "tests/wine/input.h"

namespace {

using harness::WaitFor;
using namespace qorv;

constexpr UINT kReply = WM_APP + 40;

struct Witness {
  uint32_t before;
  POINT to;
  bool seen;
  HANDLE done;
};

// Moves the cursor and waits until the hook thread's low-level hook has seen the move; then lets
// the UI thread go on.
DWORD WINAPI InjectAndWatch(LPVOID p) {
  auto* w = static_cast<Witness*>(p);
  input::MoveTo(w->to.x, w->to.y);
  const DWORD start = GetTickCount();
  while (!w->seen && GetTickCount() - start < 10000) {
    w->seen = MouseWatchEvents() != w->before;
    if (!w->seen) Sleep(1);
  }
  SetEvent(w->done);
  return 0;
}

class HookThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.Loaded());
    ASSERT_TRUE(LibraryLoad((lib.Dir() + L"\\vantel.dll").c_str(), api));
    ASSERT_TRUE(HookThreadStart(api, owner.Get(), kReply));
  }
  void TearDown() override {
    EXPECT_TRUE(HookThreadStop(10000));
    if (api.module != nullptr) FreeLibrary(api.module);
  }

  // Posts a request and waits for its answer; returns the kinds held.
  bool Ask(uint32_t kinds, WPARAM* held, DWORD debugThread = 0) {
    HookRequest r = {};
    r.debugThread = debugThread;
    r.kinds = kinds;
    r.owner = owner.Get();
    r.getMsgNotify = WM_APP + 41;
    r.callWndNotify = WM_APP + 42;
    r.mouseNotify = WM_APP + 43;
    r.debugOwner = 7;
    r.watchNotify = WM_APP + 44;
    owner.received.clear();
    if (!HookThreadRequest(r)) return false;
    harness::OwnerWindow::Posted answer = {};
    const bool answered = WaitFor([&] {
      for (const auto& p : owner.received) {
        if (p.msg == kReply) answer = p;
      }
      return answer.msg == kReply;
    });
    *held = answer.wp;
    return answered && answer.lp == (answer.lp & kReplyWatchNew);  // nothing failed
  }

  harness::Library lib;
  harness::OwnerWindow owner;
  LibraryApi api;
};

TEST_F(HookThreadTest, InstallsWhatItIsAskedForAndRemovesTheRest) {
  WPARAM held = 0;
  const uint32_t all = hook_bit::kLibraryWindowHooks | hook_bit::kDebug | hook_bit::kWatch;
  ASSERT_TRUE(Ask(all, &held));
  EXPECT_EQ(held, all);
  volatile SharedState* shared = lib.Shared();
  const auto me = static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(owner.Get()));
  EXPECT_EQ(shared->GetMsgOwner, me);
  EXPECT_EQ(shared->CallWndOwner, me);
  EXPECT_EQ(shared->MouseOwner, me);
  EXPECT_EQ(shared->DebugOwner, 7u);
  EXPECT_TRUE(MouseWatchInstalled());

  ASSERT_TRUE(Ask(hook_bit::kMouse, &held));
  EXPECT_EQ(held, hook_bit::kMouse);
  EXPECT_EQ(shared->GetMsgOwner, 0u);
  EXPECT_EQ(shared->CallWndOwner, 0u);
  EXPECT_EQ(shared->MouseOwner, me);
  EXPECT_EQ(shared->DebugOwner, 0u);
  EXPECT_FALSE(MouseWatchInstalled());

  // What is still held goes with the thread.
  ASSERT_TRUE(HookThreadStop(10000));
  EXPECT_EQ(shared->MouseOwner, 0u);
  ASSERT_TRUE(HookThreadStart(api, owner.Get(), kReply));
}

DWORD WINAPI WaitForEvent(LPVOID event) {
  WaitForSingleObject(event, INFINITE);
  return 0;
}

// The debug hook follows the foreground thread: moved to every thread or to another thread, the old
// hook goes first and the slot names the new thread, also when the old thread has ended.
TEST_F(HookThreadTest, DebugHookMovesBetweenThreads) {
  HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD first = 0;
  HANDLE thread = CreateThread(nullptr, 0, WaitForEvent, stop, 0, &first);
  ASSERT_NE(thread, nullptr);
  volatile SharedState* shared = lib.Shared();
  WPARAM held = 0;
  ASSERT_TRUE(Ask(hook_bit::kDebug, &held, first));
  EXPECT_EQ(shared->DebugThread, first);
  ASSERT_TRUE(Ask(hook_bit::kDebug, &held));  // every thread: not a mask change on the old thread
  EXPECT_EQ(held, hook_bit::kDebug);
  EXPECT_EQ(shared->DebugThread, 0u);
  ASSERT_TRUE(Ask(hook_bit::kDebug, &held, first));
  EXPECT_EQ(shared->DebugThread, first);
  // The target thread ends; the next target is the test's own thread.
  SetEvent(stop);
  WaitForSingleObject(thread, INFINITE);
  ASSERT_TRUE(Ask(hook_bit::kDebug, &held, GetCurrentThreadId()));
  EXPECT_EQ(held, hook_bit::kDebug);
  EXPECT_EQ(shared->DebugOwner, 7u);
  EXPECT_EQ(shared->DebugThread, GetCurrentThreadId());
  ASSERT_TRUE(Ask(0, &held));
  EXPECT_EQ(shared->DebugOwner, 0u);
  CloseHandle(thread);
  CloseHandle(stop);
}

// The UI thread waits without pumping until the low-level hook has answered a mouse move: were the
// hook on this thread, the move would wait for it and the witness would never come.
TEST_F(HookThreadTest, LowLevelHookAnswersWhileTheUiThreadDoesNotPump) {
  WPARAM held = 0;
  ASSERT_TRUE(Ask(hook_bit::kLibraryWindowHooks | hook_bit::kWatch, &held));
  ASSERT_EQ(held, hook_bit::kLibraryWindowHooks | hook_bit::kWatch);
  POINT at;
  GetCursorPos(&at);
  Witness w = {MouseWatchEvents(),
               {at.x < 300 ? at.x + 40 : at.x - 40, 300},
               false,
               CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  HANDLE helper = CreateThread(nullptr, 0, InjectAndWatch, &w, 0, nullptr);
  ASSERT_NE(helper, nullptr);
  EXPECT_EQ(WaitForSingleObject(w.done, 30000), WAIT_OBJECT_0);  // busy: no message is pumped here
  EXPECT_TRUE(w.seen) << "the low-level hook did not see the move while the UI thread was busy";
  WaitForSingleObject(helper, 30000);
  CloseHandle(helper);
  CloseHandle(w.done);
  ASSERT_TRUE(Ask(0, &held));
  EXPECT_EQ(held, 0u);
}

}  // namespace
