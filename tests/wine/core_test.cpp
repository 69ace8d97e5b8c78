// The hook library in real processes: copy counting, installing and removing hooks, the flag words.
#include <gtest/gtest.h>

#include "common/flags.h"
#include "tests/wine/harness.h"

using harness::Library;
using harness::OwnerWindow;
using harness::Target;
using harness::WaitFor;

namespace {

constexpr UINT kNotify = WM_APP + 7;

TEST(DllCount, CountsCopiesAcrossProcesses) {
  Library lib;
  ASSERT_TRUE(lib.Loaded());
  ASSERT_NE(lib.Shared(), nullptr);
  EXPECT_EQ(lib.GetDllCount(nullptr, nullptr), 1);
  int attached = -1;
  int detached = -1;
  EXPECT_EQ(lib.GetDllCount(&attached, &detached), 1);
  EXPECT_EQ(attached, 1);
  EXPECT_EQ(detached, 0);

  OwnerWindow owner;
  ASSERT_EQ(lib.SetHookGetMsg(owner.Get(), kNotify, 0), 1);
  int loadedWithTarget = 0;
  {
    Target target({L"normal"});
    ASSERT_NE(target.Window(L"normal"), nullptr);
    // The target retrieves messages, so the system maps the library into it.
    target.Send(target.Window(L"normal"), WM_NULL);
    PostMessageW(target.Window(L"normal"), WM_NULL, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return lib.GetDllCount(nullptr, nullptr) >= 2; }))
        << "copies: " << lib.GetDllCount(nullptr, nullptr);
    harness::Pump(300);  // let other processes that got the hook settle
    loadedWithTarget = lib.GetDllCount(&attached, &detached);
    const int attachedBefore = attached;
    const int detachedBefore = detached;
    ASSERT_TRUE(target.Quit());
    EXPECT_TRUE(WaitFor([&] { return lib.GetDllCount(nullptr, nullptr) < loadedWithTarget; }));
    lib.GetDllCount(&attached, &detached);
    EXPECT_GE(attached, attachedBefore);
    EXPECT_GT(detached, detachedBefore);
  }
  EXPECT_EQ(lib.UnHookGetMsg(), 1);
}

TEST(HookInstall, ResultsFollowTheOwnerMarker) {
  Library lib;
  ASSERT_TRUE(lib.Loaded());
  volatile qorv::SharedState* shared = lib.Shared();
  ASSERT_NE(shared, nullptr);
  OwnerWindow owner;
  OwnerWindow other;
  const auto owner32 = static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(owner.Get()));

  EXPECT_EQ(lib.SetHookGetMsg(owner.Get(), kNotify, 0), 1);
  EXPECT_EQ(shared->GetMsgOwner, owner32);
  EXPECT_EQ(shared->GetMsgNotifyMsg, kNotify);
  EXPECT_NE(shared->GetMsgHook, 0u);
  // A second install, by the same owner or another, changes nothing.
  EXPECT_EQ(lib.SetHookGetMsg(owner.Get(), kNotify, 0), -1);
  EXPECT_EQ(lib.SetHookGetMsg(other.Get(), kNotify + 1, 0), -1);
  EXPECT_EQ(shared->GetMsgOwner, owner32);
  EXPECT_EQ(shared->GetMsgNotifyMsg, kNotify);

  // A null owner installs nothing; removing what is not installed succeeds.
  EXPECT_EQ(lib.SetHookMouse(nullptr, kNotify, 0), 0);
  EXPECT_EQ(shared->MouseOwner, 0u);
  EXPECT_EQ(shared->MouseHookHandle, 0u);
  EXPECT_EQ(lib.UnHookMouse(), 1);
  EXPECT_EQ(lib.UnHookCallWnd(), 1);

  EXPECT_EQ(lib.SetHookCallWnd(owner.Get(), kNotify + 2, 0), 1);
  EXPECT_EQ(lib.SetHookMouse(owner.Get(), kNotify + 3, 0), 1);
  EXPECT_EQ(shared->MouseNotifyMsg, kNotify + 3u);
  const uint32_t callWndHook = shared->CallWndHook;
  EXPECT_NE(callWndHook, 0u);

  // Removal clears the owner and keeps the old handle.
  EXPECT_EQ(lib.UnHookCallWnd(), 1);
  EXPECT_EQ(shared->CallWndOwner, 0u);
  EXPECT_EQ(shared->CallWndHook, callWndHook);
  EXPECT_EQ(lib.UnHookMouse(), 1);
  EXPECT_EQ(shared->MouseOwner, 0u);
  EXPECT_EQ(lib.UnHookGetMsg(), 1);
  EXPECT_EQ(shared->GetMsgOwner, 0u);
  // Installable again once removed.
  EXPECT_EQ(lib.SetHookGetMsg(other.Get(), kNotify, 0), 1);
  EXPECT_EQ(lib.UnHookGetMsg(), 1);
}

// A program that ended without removing its hooks leaves its owner in the block, which outlives it
// while any process keeps the library loaded; the next program must be able to take over.
TEST(HookInstall, SlotOfAGoneOwnerIsTakenOverAndADeadHandleIsCleared) {
  Library lib;
  ASSERT_TRUE(lib.Loaded());
  volatile qorv::SharedState* shared = lib.Shared();
  OwnerWindow next;
  const auto next32 = static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(next.Get()));
  {
    OwnerWindow gone;
    ASSERT_EQ(lib.SetHookGetMsg(gone.Get(), kNotify, 0), 1);
    ASSERT_EQ(lib.SetHookMouse(gone.Get(), kNotify, 0), 1);
    qorv::MouseBtnBlock block = {};
    ASSERT_EQ(lib.SetHookLLMouse(gone.Get(), kNotify, &block, 0), 1);
    ASSERT_EQ(lib.SetHookDebug(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(gone.Get())), 0x20, 0), 1);
  }
  // The window has gone, the slots still name it: a live owner takes them over.
  EXPECT_EQ(lib.SetHookGetMsg(next.Get(), kNotify + 1, 0), 1);
  EXPECT_EQ(shared->GetMsgOwner, next32);
  EXPECT_EQ(shared->GetMsgNotifyMsg, kNotify + 1u);
  EXPECT_EQ(lib.SetHookMouse(next.Get(), kNotify + 1, 0), 1);
  qorv::MouseBtnBlock block = {};
  EXPECT_EQ(lib.SetHookLLMouse(next.Get(), kNotify + 1, &block, 0), 1);
  EXPECT_EQ(shared->LLMouseOwner, next32);
  EXPECT_EQ(lib.SetHookDebug(next32, 0x40, 0), 1);
  EXPECT_EQ(shared->DebugMask, 0x40u);
  // A live owner keeps its slot.
  OwnerWindow other;
  EXPECT_EQ(lib.SetHookGetMsg(other.Get(), kNotify, 0), -1);
  EXPECT_EQ(lib.SetHookDebug(78, 0x20, 0), -1);

  // A hook that no longer exists (removed behind the library's back): removal clears the slot.
  ASSERT_TRUE(UnhookWindowsHookEx(
      reinterpret_cast<HHOOK>(static_cast<INT_PTR>(static_cast<int32_t>(shared->MouseHookHandle)))));
  EXPECT_EQ(lib.UnHookMouse(), 1);
  EXPECT_EQ(shared->MouseOwner, 0u);
  ASSERT_TRUE(
      UnhookWindowsHookEx(reinterpret_cast<HHOOK>(static_cast<INT_PTR>(static_cast<int32_t>(shared->DebugHook)))));
  EXPECT_EQ(lib.UnHookDebug(), 1);
  EXPECT_EQ(shared->DebugOwner, 0u);
  EXPECT_EQ(lib.UnHookLLMouse(), 1);
  EXPECT_EQ(lib.UnHookGetMsg(), 1);
}

TEST(HookFlags, SetHookFlagStoresWordsAndReturnsPreviousMainFlag) {
  Library lib;
  ASSERT_TRUE(lib.Loaded());
  volatile qorv::SharedState* shared = lib.Shared();
  EXPECT_EQ(lib.SetHookFlag(qorv::kMainFlagDefault, qorv::kWheelFlagDefault, qorv::kWndFlagDefault, 0x00010003), 0u);
  EXPECT_EQ(shared->MainFlag, qorv::kMainFlagDefault);
  EXPECT_EQ(shared->WheelFlag, qorv::kWheelFlagDefault);
  EXPECT_EQ(shared->WndFlag, qorv::kWndFlagDefault);
  EXPECT_EQ(shared->ExtraFlag, 0x00010003u);
  // The snap distance is byte 2 of WndFlag at its fixed offset.
  EXPECT_EQ(reinterpret_cast<volatile uint8_t*>(shared)[0xCE], 10);
  EXPECT_EQ(lib.SetHookFlag(0x1234, 0, 0, 0), qorv::kMainFlagDefault);
  EXPECT_EQ(lib.SetHookFlag(0, 0, 0, 0), 0x1234u);
}

}  // namespace
