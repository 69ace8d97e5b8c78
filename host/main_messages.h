// Messages of the main window and which of them may come from processes of lower integrity.
// Plain code, no <windows.h>.
#pragma once
#include <cstdint>

namespace qorv {

constexpr uint32_t kAppMessageBase = 0x8000;  // WM_APP

// Notify messages of the hooks and answers of the program's own threads, posted to the main window.
constexpr uint32_t kGetMsgNotify = kAppMessageBase + 1;
constexpr uint32_t kCallWndNotify = kAppMessageBase + 2;
constexpr uint32_t kMouseNotify = kAppMessageBase + 3;
constexpr uint32_t kLLMouseNotify = kAppMessageBase + 4;
constexpr uint32_t kMouseHotkey = kAppMessageBase + 5;      // wParam: hotkey id seen on the low-level mouse hook
constexpr uint32_t kHookThreadReply = kAppMessageBase + 6;  // the hook thread's answer (hook_thread_win.h)
constexpr uint32_t kCompanionEnded = kAppMessageBase + 7;   // the 32-bit companion's process ended

// The messages that ordinary processes send to an elevated main window and that the system would
// otherwise drop: the reports that the library posts from every process, the settings program's
// "QorvWnd" broadcast and the shell's "TaskbarCreated". Everything else stays filtered, above all
// the mouse hotkey, which only the program's own low-level hook posts. A registered message that
// could not be registered (0) is left out.
struct LowerIntegrityMessages {
  uint32_t ids[6];
  int count;
};
LowerIntegrityMessages MessagesFromLowerIntegrity(uint32_t settingsMsg, uint32_t taskbarCreated);

}  // namespace qorv
