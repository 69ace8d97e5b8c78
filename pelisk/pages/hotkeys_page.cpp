#include "pelisk/pages/hotkeys_page.h"

#include "common/mouse_btn.h"

namespace qorv {

const int kHotkeyPageControls[kHotkeyPageCount] = {1101, 1102, 1106, 1107, 1108, 1062, 1063,
                                                   1109, 1110, 1111, 1114, 1115, 1116};

int HotkeyDuplicate(const uint32_t* table) {
  constexpr uint32_t kKeyAndModifiers = hotkey::kVkMask | hotkey::kModifierMask;
  for (int i = 0; i + 1 < kHotkeyPageCount; ++i) {
    const uint32_t a = table[i] & kKeyAndModifiers;
    if (a == 0) continue;
    for (int j = i + 1; j < kHotkeyPageCount; ++j) {
      if ((table[j] & kKeyAndModifiers) == a) return j;
    }
  }
  return -1;
}

int HotkeyFirstUnregistrable(const uint32_t* table, HotkeyTryRegister tryRegister, void* context) {
  for (int i = 0; i < kHotkeyPageCount; ++i) {
    if (hotkey::Vk(table[i]) == 0) continue;
    if (!tryRegister(context, i, table[i])) return i;
  }
  return -1;
}

}  // namespace qorv
