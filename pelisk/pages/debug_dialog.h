// Decisions of the debug settings dialog: which DebugFlag bit each check box stands for, and which
// hotkey a new hook-disabling hotkey would duplicate.
#pragma once
#include <cstddef>
#include <cstdint>

namespace qorv {

struct DebugCheckBox {
  int id;
  uint32_t mask;
};

// The twenty-one check boxes: five switches and one box per hook kind (box 1183 + n is bit n).
constexpr size_t kDebugCheckBoxCount = 21;
extern const DebugCheckBox kDebugCheckBoxes[kDebugCheckBoxCount];

// Bits of DebugFlag that the dialog owns; every other bit is 0 after its OK.
constexpr uint32_t kDebugOwnedBits = 0x1330FFFF;

// Index of the first non-zero HotkeyTable entry among 0-13 (the thirteen keyboard hotkeys and the
// mouse-button hotkey) whose low 16 bits equal the hotkey's, or -1. A hotkey without a key has none.
int DebugHotkeyDuplicate(uint32_t hotkey, const uint32_t* table);

}  // namespace qorv
