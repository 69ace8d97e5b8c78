#include "host/hook_thread_win.h"

#include "host/hooks_wanted.h"
#include "host/hotkeys_win.h"

namespace qorv {

namespace {

constexpr UINT kApplyMsg = WM_APP + 1;  // thread message; lParam: a HookRequest on the process heap
constexpr UINT kDropWatchMsg = WM_APP + 2;  // thread message: the tests' silent removal of the watch
constexpr DWORD kStartWaitMs = 5000;

struct HookThreadState {
  LibraryApi api;
  HWND replyTo;
  UINT replyMsg;
  HANDLE thread;
  DWORD threadId;
  HANDLE ready;
  uint32_t held;         // kinds installed by this thread
  DWORD debugThread;     // the thread the debug hook was installed for (0: every thread)
  bool leaveMessageHook;  // as last requested: also for what the thread removes as it ends
};
HookThreadState g_thread;

void Install(const HookRequest& r, uint32_t bit, SetHookFn set, UINT notify, uint32_t& failed) {
  if ((r.kinds & bit) == 0 || (g_thread.held & bit) != 0) return;
  // -1 (another program holds the kind) is a failure too, and that hook is never removed by us.
  if (set(r.owner, notify, 0) == 1) {
    g_thread.held |= bit;
  } else {
    failed |= bit;
  }
}

void Remove(const HookRequest& r, uint32_t bit, UnHookFn unset) {
  if ((r.kinds & bit) == 0 && (g_thread.held & bit) != 0 && unset() == 1) g_thread.held &= ~bit;
}

void Apply(const HookRequest& r) {
  const LibraryApi& api = g_thread.api;
  uint32_t failed = 0;
  LPARAM extra = 0;
  // Removed in the reverse order of installation, the message hook last: its removal restores
  // rolled-up and translucent windows, which the UI thread has done already by handing over flag
  // words without those functions, so that the pass here finds nothing left to change.
  Remove(r, hook_bit::kDebug, api.unHookDebug);
  Remove(r, hook_bit::kMouse, api.unHookMouse);
  Remove(r, hook_bit::kCallWnd, api.unHookCallWnd);
  g_thread.leaveMessageHook = r.leaveMessageHook;
  if (!r.leaveMessageHook) Remove(r, hook_bit::kGetMsg, api.unHookGetMsg);
  Install(r, hook_bit::kGetMsg, api.setHookGetMsg, r.getMsgNotify, failed);
  Install(r, hook_bit::kCallWnd, api.setHookCallWnd, r.callWndNotify, failed);
  Install(r, hook_bit::kMouse, api.setHookMouse, r.mouseNotify, failed);
  if ((r.kinds & hook_bit::kDebug) != 0) {
    const bool held = (g_thread.held & hook_bit::kDebug) != 0;
    bool stuck = false;  // the old hook could not be removed: it stays on its thread
    if (DebugHookRemoveFirst(held, g_thread.debugThread, r.debugThread)) {
      if (api.unHookDebug() == 1) {
        g_thread.held &= ~hook_bit::kDebug;
      } else {
        stuck = true;
      }
    }
    // Called each time: a new mask for the same thread is handed over by the same call (result 2).
    const int result = stuck ? 0 : api.setHookDebug(r.debugOwner, r.debugMask, r.debugThread);
    if (result == 1) g_thread.debugThread = r.debugThread;
    if (result == 1 || result == 2) {
      g_thread.held |= hook_bit::kDebug;
    } else {
      failed |= hook_bit::kDebug;
    }
  }
  if ((r.kinds & hook_bit::kWatch) != 0) {
    if (r.freshWatch) MouseWatchRemove();
    const bool fresh = !MouseWatchInstalled();
    if (MouseWatchInstall(r.owner, r.watchNotify, r.watchWords, r.watchHotkeys ? kHotkeyActionCount : 0)) {
      g_thread.held |= hook_bit::kWatch;
      if (fresh) extra = kReplyWatchNew;
    } else {
      g_thread.held &= ~hook_bit::kWatch;
      failed |= hook_bit::kWatch;
    }
  } else {
    MouseWatchRemove();
    g_thread.held &= ~hook_bit::kWatch;
  }
  PostMessageW(g_thread.replyTo, g_thread.replyMsg, g_thread.held, static_cast<LPARAM>(failed) | extra);
}

DWORD WINAPI HookThreadProc(LPVOID) {
  MSG msg;
  PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // the queue exists before anyone posts
  SetEvent(g_thread.ready);
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.hwnd == nullptr && msg.message == kApplyMsg) {
      auto* request = reinterpret_cast<HookRequest*>(msg.lParam);
      Apply(*request);
      HeapFree(GetProcessHeap(), 0, request);
      continue;
    }
    if (msg.hwnd == nullptr && msg.message == kDropWatchMsg) {
      MouseWatchDropSilently();
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // Whatever is still held goes with the thread.
  HookRequest none = {};
  none.leaveMessageHook = g_thread.leaveMessageHook;
  Apply(none);
  return 0;
}

}  // namespace

bool HookThreadStart(const LibraryApi& api, HWND replyTo, UINT replyMsg) {
  if (g_thread.thread != nullptr) return true;
  g_thread.api = api;
  g_thread.replyTo = replyTo;
  g_thread.replyMsg = replyMsg;
  g_thread.held = 0;
  g_thread.debugThread = 0;
  g_thread.leaveMessageHook = false;
  g_thread.ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (g_thread.ready == nullptr) return false;
  g_thread.thread = CreateThread(nullptr, 0, HookThreadProc, nullptr, 0, &g_thread.threadId);
  if (g_thread.thread == nullptr) {
    CloseHandle(g_thread.ready);
    g_thread.ready = nullptr;
    return false;
  }
  const HANDLE waits[2] = {g_thread.ready, g_thread.thread};
  const DWORD started = WaitForMultipleObjects(2, waits, FALSE, kStartWaitMs);
  CloseHandle(g_thread.ready);
  g_thread.ready = nullptr;
  if (started != WAIT_OBJECT_0) {
    HookThreadStop(0);
    return false;
  }
  return true;
}

bool HookThreadRequest(const HookRequest& request) {
  if (g_thread.thread == nullptr) return false;
  auto* copy = static_cast<HookRequest*>(HeapAlloc(GetProcessHeap(), 0, sizeof(HookRequest)));
  if (copy == nullptr) return false;
  *copy = request;
  if (!PostThreadMessageW(g_thread.threadId, kApplyMsg, 0, reinterpret_cast<LPARAM>(copy))) {
    HeapFree(GetProcessHeap(), 0, copy);
    return false;
  }
  return true;
}

bool HookThreadStop(DWORD timeoutMs) {
  if (g_thread.thread == nullptr) return true;
  PostThreadMessageW(g_thread.threadId, WM_QUIT, 0, 0);
  if (WaitForSingleObject(g_thread.thread, timeoutMs) != WAIT_OBJECT_0) return false;
  CloseHandle(g_thread.thread);
  g_thread.thread = nullptr;
  g_thread.threadId = 0;
  return true;
}

DWORD HookThreadId() { return g_thread.threadId; }

bool HookThreadDropWatch() {
  return g_thread.thread != nullptr && PostThreadMessageW(g_thread.threadId, kDropWatchMsg, 0, 0);
}

}  // namespace qorv
