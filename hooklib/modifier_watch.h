// Modifier key-ups that the system dropped. Input injected while a window of a higher integrity level
// is in front is discarded without a word (UIPI; SendInput and keybd_event report nothing): a
// converted Ctrl whose key-up goes while an elevated console is active stays down for every program.
// After each modifier key-up the hook thread reads the system's key state; a key still down keeps its
// key-up pending, and it is sent again at the next event and on the watch's tick until the key is
// up. Plain code; buttons_win.cpp reads the key state and sends the keys.
#pragma once
#include <cstdint>

namespace qorv {

struct ModifierUpWatch {
  uint32_t pending;     // hotkey modifier bits whose key-up has not reached the system yet
  uint32_t sent;        // modifier bits that conversions hold down now
  uint32_t heldBefore;  // of those, the ones the system had down already: the user holds them
};

// Whether the system has a modifier down (hotkey modifier bit: Shift, Ctrl, Alt or Win).
using ModifierDownReader = bool (*)(uint32_t hotkeyBit);

// A conversion sends a modifier key down; downBefore: the system had it down just before. A key the
// user already held is not watched: its key-up cannot bring it up while the user holds it.
void WatchModifierDown(ModifierUpWatch& watch, uint32_t hotkeyBit, bool downBefore);
// A conversion sent a modifier key-up; stillDown: the system's key state right after it.
void WatchModifierUp(ModifierUpWatch& watch, uint32_t hotkeyBit, bool stillDown);
// At the next event or tick: the pending modifiers that are still down, whose key-up is to be sent
// again; those found up are done.
uint32_t ModifierUpsToRepeat(ModifierUpWatch& watch, ModifierDownReader isDown);

}  // namespace qorv
