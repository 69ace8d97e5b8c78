// The debug hook (WH_DEBUG): keeps chosen kinds of hooks from being called, in every process it
// reaches. The decision is in debughook.cpp.
#define VANTEL_BUILD
#include "hooklib/core_win.h"
#include "hooklib/debughook.h"
#include "hooklib/shared_state.h"
#include "hooklib/vantel.h"

namespace qorv {

// Runs on the thread that is about to call another hook; the mask is read at every call, so a new
// one takes effect at once everywhere. Gate, facts, decision, act, next hook: a negative code passes
// on (in the decision); the facts are the mask and the kind about to be called.
LRESULT CALLBACK DebugProc(int code, WPARAM wp, LPARAM lp) {
  const auto* info = reinterpret_cast<const DEBUGHOOKINFO*>(lp);
  if (info != nullptr && OutOfContextThread(info->idThread)) {
    return CallNextHookEx(HookFrom32(g_shared.DebugHook), code, wp, lp);
  }
  // wParam is the kind about to be called; WH_MSGFILTER (-1) arrives sign-extended on 64-bit.
  const int64_t kind = static_cast<int64_t>(static_cast<INT_PTR>(wp));
  switch (DebugDecide(ReadShared(g_shared.DebugMask), code, kind)) {
    case DebugVerdict::Block:
      return 1;
    case DebugVerdict::Allow:
      return 0;
    case DebugVerdict::PassOn:
      break;
  }
  return CallNextHookEx(HookFrom32(g_shared.DebugHook), code, wp, lp);
}

}  // namespace qorv

using namespace qorv;

VANTEL_API int WINAPI SetHookDebug(DWORD owner, DWORD mask, DWORD threadId) {
  if (owner == 0) return 0;
  // The owner may be any number; the main program passes its window. A caller naming a live window
  // takes over a slot whose owner names a window that no longer exists.
  if (g_shared.DebugOwner != 0 && g_shared.DebugOwner != owner && IsWindow(WndFrom32(owner)) &&
      OwnerGone(g_shared.DebugOwner)) {
    DropOrphanHook(g_shared.DebugHook);
    g_shared.DebugOwner = 0;
  }
  if (g_shared.DebugOwner != 0) {
    if (g_shared.DebugOwner != owner) return -1;
    if (threadId == 0 || threadId == g_shared.DebugThread) {
      g_shared.DebugMask = mask;  // the hook stays on its thread
      return 2;
    }
    if (!UnhookWindowsHookEx(HookFrom32(g_shared.DebugHook))) return 0;
  }
  g_shared.DebugOwner = owner;
  g_shared.DebugMask = mask;
  g_shared.DebugThread = threadId;
  MarkInstallingProcess();
  HHOOK hook = SetWindowsHookExW(WH_DEBUG, DebugProc, g_libraryModule, threadId);
  g_shared.DebugHook = To32(hook);
  if (hook == nullptr) {
    g_shared.DebugOwner = 0;
    return 0;
  }
  return 1;
}

VANTEL_API int WINAPI UnHookDebug() {
  if (g_shared.DebugOwner == 0) return 1;
  if (!UnhookWindowsHookEx(HookFrom32(g_shared.DebugHook)) && !HookHandleDead()) return 0;
  g_shared.DebugOwner = 0;
  return 1;
}
