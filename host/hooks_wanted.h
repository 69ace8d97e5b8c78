// Which hooks the main program wants installed, from its state: paused, the settings program open,
// the mouse-button conversion and the debug hook switched on, mouse hotkeys set. Plain code.
#pragma once
#include <cstdint>

namespace qorv {

// Hook kinds as bits: in the hook thread's answers, the failure notices and the companion's handover.
namespace hook_bit {
constexpr uint32_t kGetMsg = 0x01;
constexpr uint32_t kCallWnd = 0x02;
constexpr uint32_t kMouse = 0x04;
constexpr uint32_t kConversion = 0x08;
constexpr uint32_t kDebug = 0x10;
constexpr uint32_t kWatch = 0x20;  // the program's own low-level hook: mouse hotkeys and the watch
constexpr uint32_t kLibraryWindowHooks = kGetMsg | kCallWnd | kMouse;
}  // namespace hook_bit

struct HookWishes {
  bool stopping;      // the program ends: nothing stays
  bool paused;        // pause removes every library hook; the hotkeys stay
  bool editing;       // the settings program is open: the hotkeys are released
  bool conversionOn;  // the mouse-button conversion is switched on
  bool debugOn;       // the debug hook is switched on
  bool mouseHotkeys;  // some hotkey is a mouse combination
};

struct WantedHooks {
  uint32_t kinds;     // hook_bit values
  bool watchHotkeys;  // the own low-level hook serves the mouse hotkeys (else it only watches)
};

WantedHooks DecideWantedHooks(const HookWishes& wishes);

// The hooks that a 32-bit companion installs for the processes of the other bitness: the library's
// window hooks and the debug hook as wanted here. The low-level hooks stay with the main program,
// whose low-level hooks see the input of every process whatever its bitness.
uint32_t CompanionKinds(uint32_t wanted);

// The debug hook is held on heldThread (0: every thread) and wanted on wantedThread: the old hook is
// removed first whenever the thread changes. The library only changes the mask for a call with
// thread 0 after a thread-specific install, and fails to move a hook whose thread has ended;
// removing first covers both (a removal finds an ended thread's hook gone and clears its slot).
bool DebugHookRemoveFirst(bool held, uint32_t heldThread, uint32_t wantedThread);

// Why the program is asked to end.
enum class StopCause {
  Exit,              // the user ended it: window closed, tray menu, "/quit"
  SessionEnds,       // WM_ENDSESSION with the session ending (log-off, shut-down)
  SessionContinues,  // WM_ENDSESSION after another program refused the end: the session goes on
};

struct StopPlan {
  bool stop;            // hotkeys released, hooks removed, the window destroyed
  bool undoOwnChanges;  // the hotkeys' translucency and bottom keeping undone (qorv's own marks)
  // The library's passes over every window of the desktop (rolled-up windows restored,
  // wheel-translucent ones made opaque): they send to every such window. At session end those
  // windows are being closed anyway, so the message hook is left to go with the hook thread and
  // the passes that its removal export runs are skipped.
  bool restorePasses;
};

StopPlan DecideStop(StopCause cause);

}  // namespace qorv
