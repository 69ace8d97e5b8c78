// The hotkey capture control's decisions, without any window: its state, what a key, mouse or
// wheel event does to it, and the text of a value. keyctl_win.cpp is the window around it.
#pragma once
#include <cstddef>
#include <cstdint>

#include "common/mouse_btn.h"

namespace qorv {

// Options of the control (KWM_SETFLAGS with kKeyOptionsIndex).
constexpr uint32_t kKwsModifierMenu = 0x00010000;  // right click toggles modifiers by a menu
constexpr uint32_t kKwsWheelScan = 0x00020000;     // wheel with the right button steps scan codes
constexpr uint32_t kKeyOptionsIndex = 0x1000;

// Per-key flag bits; on byte 0 they apply to every key.
constexpr uint8_t kKeyDropAlt = 0x01;
constexpr uint8_t kKeyDropCtrl = 0x02;
constexpr uint8_t kKeyDropShift = 0x04;
constexpr uint8_t kKeyDropWin = 0x08;
constexpr uint8_t kKeyNeedModifier = 0x10;  // refuse keys without modifiers and lone modifier keys
constexpr uint8_t kKeyNoShiftAlone = 0x20;  // refuse Shift + key
constexpr uint8_t kKeyNoCtrlAlone = 0x40;   // refuse Ctrl + key
constexpr uint8_t kKeyRefuse = 0x80;        // byte 0: ignore all modifiers; a key's byte: refuse it
// Byte 0 while the user may not use plain keys (KeyLimit on).
constexpr uint8_t kKeyLimitFlags = kKeyNeedModifier | kKeyNoShiftAlone | kKeyNoCtrlAlone;

// Modifiers held, in the order of the hotkey word's modifier nibble (word bits 8-11 >> 8).
constexpr unsigned kModAlt = 1;
constexpr unsigned kModCtrl = 2;
constexpr unsigned kModShift = 4;
constexpr unsigned kModWin = 8;

constexpr size_t kEmptyTextCapacity = 16;  // 15 characters and the terminator
constexpr size_t kHotkeyTextCapacity = 65;

struct KeyControlCore {
  uint32_t value;
  uint32_t saved;    // value to fall back to while only modifiers are held; 0 when none
  uint32_t options;  // kKwsModifierMenu, kKwsWheelScan
  char16_t emptyText[kEmptyTextCapacity];
  uint8_t flags[256];
};

// What the window has to do after an event.
constexpr unsigned kKeyRepaint = 0x01;
constexpr unsigned kKeyNotify = 0x02;       // WM_COMMAND with EN_CHANGE to the parent
constexpr unsigned kKeyNextControl = 0x04;  // move the focus on in the dialog
constexpr unsigned kKeyPrevControl = 0x08;  // move the focus back in the dialog
constexpr unsigned kKeyShowMenu = 0x10;     // show the modifier menu

// Zero state with the keys that can never be captured refused.
void KeyCoreInit(KeyControlCore& core);

// Key down: vk from wParam, lParam as given, held = kMod* bits of Shift, Ctrl and Win from the key
// state (Alt is taken from lParam bit 29). tabStop: the control has WS_TABSTOP.
unsigned KeyCoreKeyDown(KeyControlCore& core, uint32_t vk, uint32_t lParam, unsigned held, bool tabStop);
unsigned KeyCoreKeyUp(KeyControlCore& core, uint32_t vk, uint32_t lParam);
// Focus lost: a value without a key falls back to the saved value.
unsigned KeyCoreFocusLost(KeyControlCore& core);

// KWM_SETVALUE: 0 and no change for a value without a key, else 1.
int KeyCoreSetValue(KeyControlCore& core, uint32_t value);
// KWM_SETFLAGS: index kKeyOptionsIndex sets the options, 0-255 a key's flag byte; returns the old
// value. Any other index returns 0 and changes nothing.
uint32_t KeyCoreSetFlags(KeyControlCore& core, uint32_t index, uint32_t value);
// KWM_SETEMPTYTEXT: copies at most 15 characters; null clears it.
void KeyCoreSetEmptyText(KeyControlCore& core, const char16_t* text);

// Left button down; rightHeld: MK_RBUTTON in wParam. Returns kKeyRepaint when the saved value
// came back, 0 when the window should take the focus and go on as usual.
unsigned KeyCoreLeftDown(KeyControlCore& core, bool rightHeld);
// Right button up with the modifier menu on and the focus: drops a saved value, or asks for the
// menu (kKeyShowMenu) when the value has a key.
unsigned KeyCoreRightUp(KeyControlCore& core);
// Menu item chosen: id 1, 2, 4 or 8 toggles that modifier.
unsigned KeyCoreMenuChoice(KeyControlCore& core, unsigned id);

// Maps a scan code to a virtual key (MapVirtualKey type 1); 0 when there is none.
using ScanToVirtualKey = uint32_t (*)(uint32_t scan, void* context);
// Wheel with the wheel-scan option; keyState is the low word of wParam. Steps the scan code of the
// value through the keyboard's scan codes.
unsigned KeyCoreWheel(KeyControlCore& core, int delta, uint32_t keyState, bool focused, ScanToVirtualKey map,
                      void* context);

// Writes the name of a key given as lParam bits (scan code, extended flag and 0x02000000); returns
// its length, 0 when there is none.
using KeyNameFunction = size_t (*)(uint32_t lParamBits, char16_t* out, size_t capacity, void* context);
// Text of a value, at most 64 characters: "Ctrl + ", "Shift + ", "Alt + ", "Win + " prefixes, then
// the key's name. 0 shows the empty text or "none". Returns the length.
size_t HotkeyText(uint32_t value, const char16_t* emptyText, KeyNameFunction keyName, void* context, char16_t* out,
                  size_t capacity);

}  // namespace qorv
