// The hotkeys page's decisions: which control holds which hotkey, how the controls are set up for
// KeyLimit, and the two checks that may send the user back on OK.
#pragma once
#include <cstdint>

namespace qorv {

constexpr int kHotkeyPageCount = 13;
// Control id of HotkeyTable entry i ("HkProp" ... "HkVolMute").
extern const int kHotkeyPageControls[kHotkeyPageCount];

// How every hotkey control of the page is set up.
struct HotkeyControlSetup {
  bool limited;           // KeyLimit non-zero: show the empty text, refuse plain, Shift and Ctrl keys
  uint8_t allKeysFlags;   // key-flag byte 0 when limited
  uint32_t options;       // options when not limited: modifier menu and wheel scan
};
HotkeyControlSetup HotkeyPageSetup(int32_t keyLimit);

// The first entry j that repeats an earlier entry's key and modifiers (scan codes are not
// compared), or -1.
int HotkeyDuplicate(const uint32_t* table);

// Tries to register a hotkey (id, modifiers as RegisterHotKey takes them, virtual key); on success
// it is released again at once.
using HotkeyTryRegister = bool (*)(void* context, int id, uint32_t modifiers, uint32_t vk);
// The first entry with a key that cannot be registered, or -1. Entries without a key are skipped.
int HotkeyFirstUnregistrable(const uint32_t* table, HotkeyTryRegister tryRegister, void* context);

}  // namespace qorv
