// The main program's hotkeys as plain decisions: what a hotkey word registers, which action an id
// stands for, the mouse combinations watched on the low-level hook, and the priority steps.
#pragma once
#include <cstdint>

namespace qorv {

// The hotkey ids are the indices of the words in the "HotKey" section.
enum class HotkeyAction : int {
  None = -1,
  Prop = 0,  // start the settings program
  Pause,     // remove every hook / install them again
  LayTop,    // toggle translucency of the foreground window
  WndTop,    // toggle top-most
  WndBtm,    // keep at the bottom of the z-order / release
  PrioHigh,  // raise the priority class one step
  PrioLow,   // lower it one step
  WndMin,    // minimise
  WndMax,    // maximise, or restore a maximised window
  WndClose,  // close
  VolUp,
  VolDown,
  VolMute,
  MouseBtn,  // mouse-button conversion on/off
  DbgHook,   // debug hook on/off
};
constexpr int kHotkeyActionCount = 15;

HotkeyAction HotkeyActionOf(int id);

enum class HotkeyKind { None, Keyboard, Mouse };

struct HotkeyBinding {
  HotkeyKind kind;
  uint32_t modifiers;  // RegisterHotKey's: 1 Alt, 2 Ctrl, 4 Shift, 8 Win
  uint32_t vk;         // virtual key; for the mouse 1, 2, 4, 5, 6 buttons, 0x0A/0x0B wheel
};

HotkeyBinding HotkeyBindingOf(uint32_t word);

// True when any of the words is a mouse combination: only then does the program watch the mouse.
bool AnyMouseHotkey(const uint32_t* words, int count);

// One event of the low-level mouse hook, as far as the mouse hotkeys care.
enum class MouseEventKind { Other, ButtonDown, ButtonUp, Wheel };
struct MouseEvent {
  MouseEventKind kind;
  uint32_t vk;  // button: 1 left, 2 right, 4 middle, 5 X1, 6 X2
  int delta;    // wheel
};

// Buttons whose press was taken as a hotkey: their release is swallowed too.
struct MouseHotkeyState {
  uint32_t swallowUp;  // bit vk
};

struct MouseHotkeyResult {
  int id;        // hotkey id that fired, or -1
  bool swallow;  // the event goes no further
};

// modifiers: RegisterHotKey's bits of the keys down now.
MouseHotkeyResult MouseHotkeyStep(MouseHotkeyState& state, const uint32_t* words, int count, const MouseEvent& event,
                                  uint32_t modifiers);

// Priority classes in order; RealTime stands outside the steps and is never entered.
enum class PriorityLevel : int { Idle = 0, BelowNormal, Normal, AboveNormal, High, RealTime };

// The level one step up or down; the same level when there is no step to take.
PriorityLevel PriorityStep(PriorityLevel level, bool up);

}  // namespace qorv
