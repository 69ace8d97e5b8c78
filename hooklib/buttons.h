// Mouse-button conversion decisions: which pair converts an event, what its press and release do,
// which modifier keys go down and up, and when the posting target window is taken and dropped.
// The state is the conversion part of the shared block, changed in place; the window-system side
// (buttons_win.cpp) carries out the returned actions in order. Plain code, no <windows.h>.
#pragma once
#include <cstdint>

#include "common/geometry.h"
#include "hooklib/shared_state.h"
#include "hooklib/wheel_accum.h"

namespace qorv {

constexpr int kButtonIndexCount = 7;  // left, right, wheel forward, wheel back, middle, X1, X2

// Trigger bit of a button index; for the five buttons it equals the button's MK_ value.
constexpr uint32_t ButtonTriggerBit(int index) {
  return (index >= 0 && index < kButtonIndexCount) ? (index < 4 ? 1u << index : 0x10u << (index - 4)) : 0u;
}

struct ButtonEvent {
  int index;      // button index 0-6
  bool up;        // a button release
  int32_t delta;  // wheel delta; 0 for buttons
  uint32_t time = 0;  // event time in milliseconds, for collecting fine wheel deltas
  uint32_t depth = 0;  // injected by this library: how many conversions led to it; 0 for real input
};

// The library's own injected input carries this signature in its extra information, with the depth
// of the conversion chain in the low byte (1 for input injected for a real event). Conversions that
// point at each other (X1 to X2 and X2 to X1, wheel forward to back and back to forward) would
// otherwise feed themselves for ever.
constexpr uint32_t kInjectionSignature = 0x51560000u;
constexpr uint32_t kInjectionSignatureMask = 0xFFFFFF00u;
// An own injected press or wheel turn this deep converts nothing: the chain ends there.
constexpr uint32_t kMaxInjectionDepth = 8;
// The extra information of input injected while handling an event of depth `depth`.
constexpr uint64_t InjectionExtraInfo(uint32_t depth) {
  return kInjectionSignature | (depth < kMaxInjectionDepth ? depth + 1 : kMaxInjectionDepth);
}
// The depth of an injected event from its extra information; 0 when another program injected it.
constexpr uint32_t InjectionDepth(uint64_t extraInfo) {
  return (extraInfo & ~static_cast<uint64_t>(0xFF)) == kInjectionSignature ? static_cast<uint32_t>(extraInfo & 0xFF)
                                                                           : 0;
}

// Maps a low-level mouse message and its mouseData to a button event; false for every other
// message, for a wheel turn of delta 0 and for an X button other than 1 and 2.
bool ButtonEventFromMessage(uint32_t message, uint32_t mouseData, ButtonEvent& event);

// Modifiers held now, as condition bits 0xF00; asked at most once per event and only when a pair
// with a condition is looked at.
using ModifierReader = uint32_t (*)();

enum class ButtonActionKind : uint8_t {
  Report,              // post the event to the owner (press, release or wheel turn)
  CancelReport,        // post the cancel report: release-all dropped a reported conversion
  PostWheelToPointer,  // unconverted wheel turn: post it to the window under the cursor
  ModifierKey,         // a modifier key event: key = hotkey modifier bit (Shift, Ctrl, Alt or Win)
  MouseButton,         // inject a button: key = 1, 2, 4, 5 or 6
  MouseWheel,          // inject a wheel turn: delta
  Key,                 // inject a key: key = the HotkeyWord (vk, scan code, extended flag)
  PostToWindow,        // post the key word as window messages, see take/drop/attach
  DropPostTarget,      // release-all: undo the posting attachment and clear PostTargetWnd
};

struct ButtonAction {
  ButtonActionKind kind;
  bool up;
  bool attach;      // PostToWindow: first press with this target, or last release
  bool takeTarget;  // PostToWindow press: the window it used becomes PostTargetWnd (0 when none)
  bool dropTarget;  // PostToWindow release: PostTargetWnd becomes 0 afterwards
  int32_t delta;    // MouseWheel
  uint32_t key;
};

// Release-all can release seven conversions with a key and four modifiers each.
constexpr int kMaxButtonActions = 40;

struct ButtonActions {
  int count;
  bool swallow;  // return 1 from the hook procedure instead of passing the event on
  ButtonAction items[kMaxButtonActions];
};

// One event through the state machine: updates HeldButtons, ModifierHolds, ActiveButtons,
// ActiveRecords and PostModButtons of state, and lists the actions. PostTargetWnd is changed by
// the caller as the PostToWindow actions say. Reads the pairs of state.MouseBtn (at most eight).
// A real press of a button whose conversion is still active (its release was lost) first releases
// that conversion, then converts as any press; an own injected press of it converts nothing, nor
// does an own injected press or wheel turn at kMaxInjectionDepth.
// With wheelParts, a wheel conversion collects fine deltas per conversion and direction and runs
// once per whole notch (at most kMaxWheelNotchesPerEvent per event); an event that completes no notch
// is only swallowed or passed as the conversion says. Without it every wheel event is one notch.
struct ButtonWheelParts {
  WheelAccum accum;
  uint32_t pauseMs;  // a remainder older than this is dropped
};
constexpr int32_t kMaxWheelNotchesPerEvent = 3;  // what kMaxButtonActions holds with a report each
void ButtonStep(SharedState& state, const ButtonEvent& event, ModifierReader readModifiers, ButtonActions& out,
                ButtonWheelParts* wheelParts = nullptr);

// The release-all pass at the end of the hook thread: key ups and modifier ups of every active
// conversion, the cancel report, and the posting target dropped.
void ButtonReleaseAll(SharedState& state, ButtonActions& out);

// The block as the hook takes it: SetNum above eight becomes eight, so the walk never leaves the pairs.
void ButtonCopyBlock(MouseBtnBlock& to, const MouseBtnBlock& from);

// Posting helpers.

// Last posted button press, for telling a double click.
struct ClickMemory {
  uint64_t window;  // 0 = none
  uint32_t vk;
  int32_t x, y;
  uint32_t time;
};

// True when a press of vk on window at (x, y, time) completes a double click with the remembered
// one: same window and button, within [x0 - cx, x0 + cx) and [y0 - cy, y0 + cy), and no later than
// the double-click time after it.
bool IsDoubleClick(const ClickMemory& memory, uint64_t window, uint32_t vk, int32_t x, int32_t y, uint32_t time,
                   int32_t cx, int32_t cy, uint32_t doubleClickTime);

// The message of a posted click of vk (1, 2, 4, 5, 6): client or non-client form, press, release or
// double click. 0 for any other vk.
uint32_t ClickMessage(uint32_t vk, bool up, bool doubleClick, bool client);
// The XBUTTON1 / XBUTTON2 word of an X-button click (already shifted into the high word), else 0.
uint32_t ClickXButtonWord(uint32_t vk);
// MK_ bit of a mouse vk (1, 2, 4, 5, 6), else 0.
uint32_t ClickKeyStateBit(uint32_t vk);

// A posted key: WM_KEYDOWN/WM_KEYUP, or the WM_SYS forms when the key word holds Alt.
struct KeyMessage {
  uint32_t message;
  uint32_t lParam;
};
KeyMessage PostedKeyMessage(uint32_t key, bool up);

// wParam of a posted WM_MOUSEWHEEL: delta in the high word, MK_CONTROL, MK_SHIFT and the held buttons.
uint32_t WheelWParam(int32_t delta, bool ctrlDown, bool shiftDown, uint32_t heldButtons);


}  // namespace qorv
