// The thread that installs and holds the hooks of the main program: the library's message,
// window-procedure, mouse and debug hooks and the program's own low-level mouse hook.
//
// Windows calls a global hook out of context, on the thread that installed it, for every process of
// the other bitness, and a low-level hook always: the hooked thread waits for that answer, and a
// low-level hook that answers too late is removed without a word. So this thread does nothing but
// install, remove and pump: no dialogs, no shell calls, no sends to other programs' windows, no
// waits. The UI thread posts it requests and gets the outcome posted back.
#pragma once
#include <windows.h>

#include <cstdint>

#include "host/hotkeys.h"
#include "host/library_win.h"

namespace qorv {

// What the thread is to hold after a request; every hook kind not in kinds is removed.
struct HookRequest {
  uint32_t kinds;  // hook_bit values; kConversion is the UI thread's (SetHookLLMouse waits for its thread)
  HWND owner;      // owner window of the library's hooks and target of the watch's posts
  UINT getMsgNotify;
  UINT callWndNotify;
  UINT mouseNotify;
  DWORD debugOwner;
  uint32_t debugMask;
  DWORD debugThread;
  UINT watchNotify;   // posted to owner with the hotkey id of a mouse hotkey
  bool watchHotkeys;  // the watch serves the mouse hotkeys below; else it only counts events
  bool freshWatch;    // remove the watch and install it again (Windows removed it silently)
  // The session ends: the message hook is not removed through the library (whose removal export
  // restores windows all over the desktop) but goes with this thread when it ends.
  bool leaveMessageHook;
  uint32_t watchWords[kHotkeyActionCount];
};

// Posted to the reply window after each request: wParam the hook_bit kinds held now, lParam the
// kinds that could not be installed, with kReplyWatchNew when the watch was installed afresh.
constexpr LPARAM kReplyWatchNew = 0x10000;

// Starts the thread and waits until it takes requests; false when it could not be started.
bool HookThreadStart(const LibraryApi& api, HWND replyTo, UINT replyMsg);
// Posts a request (copied); false when the thread does not run.
bool HookThreadRequest(const HookRequest& request);
// Removes every hook the thread holds and ends it; waits at most timeoutMs for that.
bool HookThreadStop(DWORD timeoutMs);
DWORD HookThreadId();
// For the tests (QORV_TEST_WITNESS): the watch goes as Windows removes a slow low-level hook.
bool HookThreadDropWatch();

}  // namespace qorv
