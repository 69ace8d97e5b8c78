#include "hooklib/button_watch.h"

#include "common/flags.h"

namespace qorv {

namespace {

// RI_MOUSE_* button flags of a raw mouse report, down and up, per button index.
struct RawFlags {
  int index;
  uint16_t down;
  uint16_t up;
};
constexpr RawFlags kRawFlags[] = {
    {0, 0x0001, 0x0002}, {1, 0x0004, 0x0008}, {4, 0x0010, 0x0020}, {5, 0x0040, 0x0080}, {6, 0x0100, 0x0200}};

}  // namespace

void WatchRawButtons(ButtonWatch& watch, uint16_t buttonFlags) {
  for (const RawFlags& f : kRawFlags) {
    const uint32_t t = ButtonTriggerBit(f.index);
    if ((buttonFlags & f.down) != 0) {
      watch.rawHeld |= t;
      watch.rawSeen |= t;
    }
    if ((buttonFlags & f.up) != 0) {
      watch.rawHeld &= ~t;
      watch.rawSeen |= t;
    }
  }
}

uint32_t WatchLostReleases(ButtonWatch& watch, const SharedState& state, const SystemButtons& system, uint32_t now,
                           uint32_t exclude) {
  uint32_t lost = 0;
  for (const RawFlags& f : kRawFlags) {
    const uint32_t t = ButtonTriggerBit(f.index);
    bool up = false;
    if (((state.ActiveButtons | state.HeldButtons) & t) != 0 && (exclude & t) == 0) {
      const bool leftOrRight = f.index <= 1;
      if ((state.HeldButtons & t) != 0) {
        // Held buttons are exactly the presses that went on to the system: its state saw the press
        // and sees a release that reached it.
        if (!leftOrRight || system.leftRightKnown) up = (system.held & t) == 0;
      } else if ((watch.rawSeen & t) != 0) {
        // A swallowed press: only raw input knows whether the button is still down.
        up = (watch.rawHeld & t) == 0;
      }
    }
    if (!up) {
      watch.suspects &= ~t;
      continue;
    }
    if ((watch.suspects & t) == 0) {
      watch.suspects |= t;
      watch.since[f.index] = now;
    } else if (now - watch.since[f.index] >= kLostReleaseGraceMs) {
      lost |= t;
      watch.suspects &= ~t;
    }
  }
  return lost;
}

bool ButtonReleaseMessage(int index, uint32_t* message, uint32_t* mouseData) {
  *mouseData = 0;
  switch (index) {
    case 0:
      *message = 0x0202;  // WM_LBUTTONUP
      return true;
    case 1:
      *message = 0x0205;  // WM_RBUTTONUP
      return true;
    case 4:
      *message = 0x0208;  // WM_MBUTTONUP
      return true;
    case 5:
    case 6:
      *message = 0x020C;  // WM_XBUTTONUP
      *mouseData = static_cast<uint32_t>(index - 4) << 16;
      return true;
    default:
      return false;
  }
}

}  // namespace qorv
