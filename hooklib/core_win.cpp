// Library entry, the shared section and the exports that hand over the flag words and install
// and remove the hooks.
#define VANTEL_BUILD
#include "hooklib/core_win.h"

#include "common/flags.h"
#include "hooklib/shared_state.h"
#include "hooklib/vantel.h"
#include "hooklib/window_win.h"

namespace qorv {

// One block for every process that maps this library: a section marked shared, zero at first load.
SharedState g_shared __attribute__((section(".shared"), shared)) = {};

namespace {

void ProcessAttach(HINSTANCE module) {
  InitProcessState(module);
  DisableThreadLibraryCalls(module);
  InterlockedIncrement(reinterpret_cast<volatile LONG*>(&g_shared.AttachCount));
}

// The three fields that describe one installable hook kind in the shared block.
struct HookSlot {
  uint32_t* owner;
  uint32_t* notifyMsg;
  uint32_t* hook;
};

int InstallHook(const HookSlot& slot, int kind, HOOKPROC proc, HWND owner, UINT notifyMsg, DWORD threadId) {
  if (*slot.owner != 0 && !OwnerGone(*slot.owner)) return -1;
  if (owner == nullptr) return 0;
  if (*slot.owner != 0) {
    DropOrphanHook(*slot.hook);
    *slot.owner = 0;
  }
  *slot.owner = To32(owner);
  *slot.notifyMsg = notifyMsg;
  MarkInstallingProcess();
  HHOOK hook = SetWindowsHookExW(kind, proc, g_libraryModule, threadId);
  *slot.hook = To32(hook);
  if (hook == nullptr) {
    *slot.owner = 0;
    return 0;
  }
  return 1;
}

int RemoveHook(const HookSlot& slot) {
  if (*slot.owner == 0) return 1;
  // A handle that names no hook any more (its program ended) leaves nothing to remove.
  if (!UnhookWindowsHookEx(HookFrom32(*slot.hook)) && !HookHandleDead()) return 0;
  *slot.owner = 0;
  return 1;
}

HookSlot GetMsgSlot() { return {&g_shared.GetMsgOwner, &g_shared.GetMsgNotifyMsg, &g_shared.GetMsgHook}; }
HookSlot CallWndSlot() { return {&g_shared.CallWndOwner, &g_shared.CallWndNotifyMsg, &g_shared.CallWndHook}; }
HookSlot MouseSlot() { return {&g_shared.MouseOwner, &g_shared.MouseNotifyMsg, &g_shared.MouseHookHandle}; }

}  // namespace

}  // namespace qorv

using namespace qorv;

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    ProcessAttach(module);
  } else if (reason == DLL_PROCESS_DETACH) {
    InterlockedIncrement(reinterpret_cast<volatile LONG*>(&g_shared.DetachCount));
  }
  return TRUE;
}

VANTEL_API int WINAPI GetDllCount(int* attachCount, int* detachCount) {
  const uint32_t attached = g_shared.AttachCount;
  const uint32_t detached = g_shared.DetachCount;
  if (attachCount != nullptr) *attachCount = static_cast<int>(attached);
  if (detachCount != nullptr) *detachCount = static_cast<int>(detached);
  return static_cast<int>(attached - detached);
}

// The four words are published under a sequence number that is odd while they change: a reader
// that sees it change or odd reads again (ReadFlags).
VANTEL_API DWORD WINAPI SetHookFlag(DWORD mainFlag, DWORD wheelFlag, DWORD wndFlag, DWORD extraFlag) {
  const DWORD old = g_shared.MainFlag;
  auto* sequence = reinterpret_cast<volatile LONG*>(&g_shared.FlagSequence);
  InterlockedIncrement(sequence);
  __atomic_store_n(&g_shared.MainFlag, mainFlag, __ATOMIC_RELAXED);
  __atomic_store_n(&g_shared.WheelFlag, wheelFlag, __ATOMIC_RELAXED);
  __atomic_store_n(&g_shared.WndFlag, wndFlag, __ATOMIC_RELAXED);
  __atomic_store_n(&g_shared.ExtraFlag, extraFlag, __ATOMIC_RELAXED);
  InterlockedIncrement(sequence);
  if ((old & main_flag::kRollUp) != 0 && (mainFlag & main_flag::kRollUp) == 0) UnrollAll();
  if ((old & main_flag::kWheelTranslucent) != 0 && (mainFlag & main_flag::kWheelTranslucent) == 0) {
    ClearWheelTranslucency();
  }
  return old;
}

VANTEL_API int WINAPI SetHookGetMsg(HWND owner, UINT notifyMsg, DWORD threadId) {
  return InstallHook(GetMsgSlot(), WH_GETMESSAGE, GetMsgProc, owner, notifyMsg, threadId);
}

VANTEL_API int WINAPI UnHookGetMsg() {
  if (g_shared.GetMsgOwner == 0) return 1;
  // Undo what the message hook did to windows of every process before it goes.
  UnrollAll();
  ClearWheelTranslucency();
  return RemoveHook(GetMsgSlot());
}

VANTEL_API int WINAPI SetHookCallWnd(HWND owner, UINT notifyMsg, DWORD threadId) {
  return InstallHook(CallWndSlot(), WH_CALLWNDPROC, CallWndHookProc, owner, notifyMsg, threadId);
}

VANTEL_API int WINAPI UnHookCallWnd() { return RemoveHook(CallWndSlot()); }

VANTEL_API int WINAPI SetHookMouse(HWND owner, UINT notifyMsg, DWORD threadId) {
  return InstallHook(MouseSlot(), WH_MOUSE, MouseHookProc, owner, notifyMsg, threadId);
}

VANTEL_API int WINAPI UnHookMouse() { return RemoveHook(MouseSlot()); }
