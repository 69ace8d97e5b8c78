// Per-process state of the hook library, set once at process attach and read-only afterwards.
#pragma once
#include <windows.h>

#include <cstdint>

#include "common/mouse_btn.h"

namespace qorv {

extern HINSTANCE g_libraryModule;   // this library in this process; the module of every hook it installs
extern DWORD g_osMajorVersion;      // major version of the running system, 0 if unknown
extern char g_hostPath[MAX_PATH];   // executable of the host process, 8-bit
extern DWORD g_hostPathLength;
extern DWORD g_hostNameOffset;      // offset of the file-name part in g_hostPath
extern UINT g_moduleQueryMsg;       // registered "QorvMsgGetModule "

// Fills the per-process state above, as process attach does.
void InitProcessState(HINSTANCE module);

// Set once, before its first SetWindowsHookExW, in a process that installs a hook of this library.
// Windows runs a global hook out of context for every process of the other bitness: inside the
// installing process, on the installing thread. Such a call must change nothing, for the event
// belongs to another process, which only its own copy of a library of its bitness can serve.
extern bool g_installingProcess;
inline void MarkInstallingProcess() { g_installingProcess = true; }

// Set once at attach in a process that the library does not serve (an AppContainer process,
// process_role.h): every hook procedure passes its events on unchanged there, as out of context.
extern bool g_passThroughProcess;

// True when this call answers out of context for another process, or in a process not served: in the installing process only
// (everywhere else the cost is one load and a branch), for an event addressed to a window of
// another process, or to no window at all, which cannot be told apart.
inline bool OutOfContext(HWND hwnd) {
  if (g_passThroughProcess) return true;
  if (!g_installingProcess) return false;
  DWORD pid = 0;
  if (hwnd == nullptr || GetWindowThreadProcessId(hwnd, &pid) == 0) return true;
  return pid != GetCurrentProcessId();
}
// The debug hook names the thread about to call a hook: out of context when that is not this thread.
inline bool OutOfContextThread(DWORD threadId) {
  return g_passThroughProcess || (g_installingProcess && threadId != GetCurrentThreadId());
}

// Handles are stored in the shared block as 32-bit values; window and hook handles are 32-bit
// significant on 64-bit Windows and sign-extended when widened.
inline HWND WndFrom32(uint32_t value) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<int32_t>(value))); }
inline HHOOK HookFrom32(uint32_t value) { return reinterpret_cast<HHOOK>(static_cast<INT_PTR>(static_cast<int32_t>(value))); }
inline uint32_t To32(const void* handle) { return static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(handle)); }

// One read of a word of the shared block: any process may change it at any moment, so a check and
// the use that follows must see the same value.
inline uint32_t ReadShared(const uint32_t& word) { return __atomic_load_n(&word, __ATOMIC_RELAXED); }

// Posts to the owner window held in a shared word, read once; nothing without an owner, so that a
// post never lands in this thread's own queue.
inline void PostToOwner(const uint32_t& owner, const uint32_t& notifyMsg, WPARAM wp, LPARAM lp) {
  const uint32_t hwnd = ReadShared(owner);
  if (hwnd != 0) PostMessageW(WndFrom32(hwnd), ReadShared(notifyMsg), wp, lp);
}

// The four flag words as one SetHookFlag call left them: never a new MainFlag with an old WheelFlag.
struct FlagWords {
  uint32_t main;
  uint32_t wheel;
  uint32_t wnd;
  uint32_t extra;
};
FlagWords ReadFlags();

// An owner recorded in the shared block whose window no longer exists: its program ended without
// removing its hooks (killed, crashed), and the block outlives it while any process keeps the
// library loaded. Such a slot is taken over by the next install.
inline bool OwnerGone(uint32_t owner) { return owner != 0 && !IsWindow(WndFrom32(owner)); }

// Before a slot is taken over: removes the hook it records in case it still lives (its program's
// window went but the program did not); a hook of an ended program is gone already and this fails.
inline void DropOrphanHook(uint32_t hook) {
  if (hook != 0) UnhookWindowsHookEx(HookFrom32(hook));
}

// UnhookWindowsHookEx failed because the handle names no hook any more: the slot may be cleared.
inline bool HookHandleDead() { return GetLastError() == ERROR_INVALID_HOOK_HANDLE; }

// Hook procedures installed by the exports.
LRESULT CALLBACK GetMsgProc(int code, WPARAM wp, LPARAM lp);
LRESULT CALLBACK CallWndHookProc(int code, WPARAM wp, LPARAM lp);
LRESULT CALLBACK MouseHookProc(int code, WPARAM wp, LPARAM lp);
LRESULT CALLBACK LLMouseProc(int code, WPARAM wp, LPARAM lp);
// Gives the low-level hook thread's private state a conversion table, as SetHookLLMouse does,
// without starting the thread: for calling LLMouseProc directly in the benchmark.
void LLMouseUseBlock(const MouseBtnBlock& block);
LRESULT CALLBACK DebugProc(int code, WPARAM wp, LPARAM lp);

}  // namespace qorv
