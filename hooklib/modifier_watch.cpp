#include "hooklib/modifier_watch.h"

#include "common/mouse_btn.h"

namespace qorv {

void WatchModifierDown(ModifierUpWatch& watch, uint32_t hotkeyBit, bool downBefore) {
  // Only the first hold decides: later holds find the key down by the first one.
  if ((watch.sent & hotkeyBit) == 0) {
    if (downBefore) {
      watch.heldBefore |= hotkeyBit;
    } else {
      watch.heldBefore &= ~hotkeyBit;
    }
  }
  watch.sent |= hotkeyBit;
  watch.pending &= ~hotkeyBit;  // the new key down takes the place of a key-up still to come
}

void WatchModifierUp(ModifierUpWatch& watch, uint32_t hotkeyBit, bool stillDown) {
  watch.sent &= ~hotkeyBit;
  if (stillDown && (watch.heldBefore & hotkeyBit) == 0) {
    watch.pending |= hotkeyBit;
  } else {
    watch.pending &= ~hotkeyBit;
  }
}

uint32_t ModifierUpsToRepeat(ModifierUpWatch& watch, ModifierDownReader isDown) {
  static const uint32_t kModifiers[4] = {hotkey::kShift, hotkey::kCtrl, hotkey::kAlt, hotkey::kWin};
  uint32_t again = 0;
  for (uint32_t bit : kModifiers) {
    if ((watch.pending & bit) == 0) continue;
    if (isDown(bit)) {
      again |= bit;
    } else {
      watch.pending &= ~bit;
    }
  }
  return again;
}

}  // namespace qorv
