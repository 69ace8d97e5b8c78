// The hotkeys page's decisions: which control holds which hotkey, and the two checks that may send
// the user back on OK.
#pragma once
#include <cstdint>

namespace qorv {

constexpr int kHotkeyPageCount = 13;
// Control id of HotkeyTable entry i ("HkProp" ... "HkVolMute").
extern const int kHotkeyPageControls[kHotkeyPageCount];

// The first entry j that repeats an earlier entry's key and modifiers (scan codes are not
// compared), or -1.
int HotkeyDuplicate(const uint32_t* table);

// Tries to register hotkey word `hotkey` under id; on success it is released again at once.
using HotkeyTryRegister = bool (*)(void* context, int id, uint32_t hotkey);
// The first entry with a key that cannot be registered, or -1. Entries without a key are skipped.
int HotkeyFirstUnregistrable(const uint32_t* table, HotkeyTryRegister tryRegister, void* context);

}  // namespace qorv
