// Lost releases of converted buttons. A conversion that holds keys (Ctrl, Shift, ...) lets them go
// at its button's release; when that release never reaches the low-level hook (another program's
// hook swallowed it, an elevated window took it, the system removed the hook for being slow), the
// keys would stay down. The hook thread therefore compares the held conversions with the physical
// button state at each event and on a short timer, and releases what is no longer held.
// Plain code; the window-system side (buttons_win.cpp) gathers the states and carries out releases.
#pragma once
#include <cstdint>

#include "hooklib/buttons.h"
#include "hooklib/shared_state.h"

namespace qorv {

// How long a held conversion must be seen without its button before it is released: the raw state
// and the system's key state may lag the hook's own event by a little.
constexpr uint32_t kLostReleaseGraceMs = 150;
// How often the hook thread looks while a button conversion is held.
constexpr uint32_t kLostReleaseTickMs = 50;

struct ButtonWatch {
  uint32_t rawHeld;                   // trigger bits of the buttons down as raw input reported them
  uint32_t rawSeen;                   // buttons raw input has reported at all: their raw state can be trusted
  uint32_t suspects;                  // held conversions whose button was last seen up
  uint32_t since[kButtonIndexCount];  // when each suspect was first seen up
};

// Applies the button transitions of one raw mouse report (RI_MOUSE_*_BUTTON_DOWN/UP flags).
void WatchRawButtons(ButtonWatch& watch, uint16_t buttonFlags);

// What the system's key state says, for conversions whose press reached the system.
struct SystemButtons {
  uint32_t held;        // trigger bits of the buttons down (GetAsyncKeyState)
  bool leftRightKnown;  // false while the buttons are swapped: left and right are then not compared
};

// Buttons (never the wheel) whose release is to be carried out now because the button is no longer
// held: an active conversion, or a press held for the conditions of other pairs. For a press that
// went on to the system the system's key state tells; for a swallowed press (which never reached
// that state) raw input does, once it has reported that button. A release that another program's
// hook took before the system of a press that went on stays unseen; the button's next press
// releases that conversion. exclude: triggers not to judge now (the release being handled).
uint32_t WatchLostReleases(ButtonWatch& watch, const SharedState& state, const SystemButtons& system, uint32_t now,
                           uint32_t exclude);

// Whether the hook thread has to look again soon: a button conversion or a button is held.
inline bool WatchNeeded(const SharedState& state) { return ((state.ActiveButtons | state.HeldButtons) & 0x73u) != 0; }

// The low-level release message and mouse data of a button index (0, 1, 4, 5, 6); false otherwise.
bool ButtonReleaseMessage(int index, uint32_t* message, uint32_t* mouseData);

}  // namespace qorv
