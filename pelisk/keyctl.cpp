#include "pelisk/keyctl.h"

#include "common/mouse_keys.h"

namespace qorv {

namespace {

constexpr uint32_t kVkTab = 0x09;
constexpr uint32_t kVkShift = 0x10;
constexpr uint32_t kVkControl = 0x11;
constexpr uint32_t kVkMenu = 0x12;
constexpr uint32_t kVkLeftWin = 0x5B;
constexpr uint32_t kVkRightWin = 0x5C;
constexpr uint32_t kKeyBits = 0x01FF0000;  // scan code and extended flag of a key message's lParam
constexpr uint32_t kAltDown = 0x20000000;  // lParam bit 29

// Keys that have no use as a hotkey: cancel, kanji, and the input-method and OEM codes.
constexpr uint8_t kRefusedKeys[] = {0x03, 0x19, 0xF1, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xFA, 0xFB, 0xFF};

bool IsModifierKey(uint32_t vk) {
  return vk == kVkShift || vk == kVkControl || vk == kVkMenu || vk == kVkLeftWin || vk == kVkRightWin;
}

bool HasKey(uint32_t value) { return (value & hotkey::kVkMask) != 0; }

void Append(char16_t* out, size_t capacity, size_t& length, const char16_t* text) {
  for (; *text != 0 && length + 1 < capacity; ++text) out[length++] = *text;
  out[length] = 0;
}

}  // namespace

void KeyCoreInit(KeyControlCore& core) {
  core = KeyControlCore{};
  for (uint8_t key : kRefusedKeys) core.flags[key] = kKeyRefuse;
}

unsigned KeyCoreKeyDown(KeyControlCore& core, uint32_t vk, uint32_t lParam, unsigned held, bool tabStop) {
  uint32_t key = vk & 0xFF;
  if (key == 0) return 0;
  unsigned modifiers = held & (kModWin | kModShift | kModCtrl);
  if ((lParam & kAltDown) != 0) modifiers |= kModAlt;

  if (key == kVkTab && (modifiers == 0 || modifiers == kModShift) && tabStop) {
    unsigned actions = modifiers == kModShift ? kKeyPrevControl : kKeyNextControl;
    // Only a value that holds no key yet (modifiers being pressed) falls back, as on focus loss;
    // a mouse-button or wheel code set from outside has no scan code but is a whole value.
    if (!HasKey(core.value)) {
      core.value = core.saved;
      core.saved = 0;
      actions |= kKeyRepaint;
    }
    return actions;
  }

  const uint8_t g = core.flags[0];
  const uint8_t k = core.flags[key];
  const uint8_t f = g | k;
  if ((g & kKeyRefuse) != 0) {
    modifiers = 0;
  } else {
    if ((f & kKeyDropCtrl) != 0) modifiers &= ~kModCtrl;
    if ((f & kKeyDropShift) != 0) modifiers &= ~kModShift;
    if ((f & kKeyDropAlt) != 0) modifiers &= ~kModAlt;
    if ((f & kKeyDropWin) != 0) modifiers &= ~kModWin;
  }
  if ((k & kKeyRefuse) != 0) key = 0;
  if ((f & kKeyNeedModifier) != 0 && modifiers == 0) key = 0;
  if ((f & kKeyNoShiftAlone) != 0 && modifiers == kModShift) key = 0;
  if ((f & kKeyNoCtrlAlone) != 0 && modifiers == kModCtrl) key = 0;

  if ((g & kKeyRefuse) != 0) {
    core.value = (lParam & kKeyBits) | key;
    core.saved = 0;
  } else if (key == 0 || IsModifierKey(key)) {
    if (HasKey(core.value) && core.saved == 0) core.saved = core.value;
    core.value = modifiers << 8;
  } else {
    core.value = (modifiers << 8) | (lParam & kKeyBits) | key;
    core.saved = 0;
  }
  return kKeyRepaint | kKeyNotify;
}

unsigned KeyCoreKeyUp(KeyControlCore& core, uint32_t vk, uint32_t lParam) {
  if (HasKey(core.value)) return 0;
  const uint32_t key = vk & 0xFF;
  if (key == 0) return 0;
  const uint32_t modifiers = core.value & hotkey::kModifierMask;
  const bool single = modifiers == hotkey::kAlt || modifiers == hotkey::kCtrl || modifiers == hotkey::kShift ||
                      modifiers == hotkey::kWin;
  // Only a modifier key released alone becomes the value. Any other key that gets here was refused
  // when it went down, and must not slip in on its release.
  if (single && IsModifierKey(key) && (core.flags[key] & kKeyRefuse) == 0) {
    core.value = (lParam & kKeyBits) | key;
  } else {
    core.value = 0;
  }
  if (((core.flags[0] | core.flags[key]) & kKeyNeedModifier) != 0) core.value = 0;
  core.saved = 0;
  return kKeyRepaint | kKeyNotify;
}

unsigned KeyCoreFocusLost(KeyControlCore& core) {
  if (HasKey(core.value)) return 0;
  core.value = core.saved;
  core.saved = 0;
  return kKeyRepaint;
}

int KeyCoreSetValue(KeyControlCore& core, uint32_t value) {
  if (!HasKey(value)) return 0;
  core.value = value;
  core.saved = 0;
  return 1;
}

uint32_t KeyCoreSetFlags(KeyControlCore& core, uint32_t index, uint32_t value) {
  if (index == kKeyOptionsIndex) {
    const uint32_t old = core.options;
    core.options = value;
    return old;
  }
  if (index > 0xFF) return 0;
  const uint32_t old = core.flags[index];
  core.flags[index] = static_cast<uint8_t>(value);
  return old;
}

void KeyCoreSetEmptyText(KeyControlCore& core, const char16_t* text) {
  size_t n = 0;
  if (text != nullptr) {
    for (; n + 1 < kEmptyTextCapacity && text[n] != 0; ++n) core.emptyText[n] = text[n];
  }
  core.emptyText[n] = 0;
}

unsigned KeyCoreLeftDown(KeyControlCore& core, bool rightHeld) {
  if (!rightHeld || core.saved == 0) return 0;
  core.value = core.saved;
  return kKeyRepaint;
}

unsigned KeyCoreRightUp(KeyControlCore& core) {
  if (core.saved != 0) {
    core.saved = 0;
    return 0;
  }
  return HasKey(core.value) ? kKeyShowMenu : 0;
}

unsigned KeyCoreMenuChoice(KeyControlCore& core, unsigned id) {
  if (id != kModAlt && id != kModCtrl && id != kModShift && id != kModWin) return 0;
  core.value ^= id << 8;
  return kKeyRepaint;
}

unsigned KeyCoreWheel(KeyControlCore& core, int delta, uint32_t keyState, bool focused, ScanToVirtualKey map,
                      void* context) {
  if (!focused || keyState != kMkRButton) return 0;
  uint8_t s = static_cast<uint8_t>(core.value >> 16);
  if (s == 0 || s > 0x53) return 0;
  const int step = delta / -120;
  s = static_cast<uint8_t>(s + step);
  // Scan codes of the numeric keypad's operator keys share their keys with others: step over them.
  if (s == 0x37 || s == 0x4A || s == 0x4C || s == 0x4E) s = static_cast<uint8_t>(s + step);
  bool extended;
  if (s == 0) {
    s = 0x53;
    extended = true;
  } else if (s > 0x53) {
    s = 1;
    extended = false;
  } else {
    extended = (s >= 0x47 && s <= 0x49) || s == 0x4B || s == 0x4D || (s >= 0x4F && s <= 0x53);
  }
  const uint32_t vk = map != nullptr ? map(s, context) & 0xFF : 0;
  if (vk == 0) return 0;
  if (core.saved == 0) core.saved = core.value;
  core.value =
      (core.value & hotkey::kModifierMask) | (static_cast<uint32_t>(s) << 16) | vk | (extended ? hotkey::kExtended : 0);
  return kKeyRepaint;
}

size_t HotkeyText(uint32_t value, const char16_t* emptyText, KeyNameFunction keyName, void* context, char16_t* out,
                  size_t capacity) {
  if (out == nullptr || capacity == 0) return 0;
  if (capacity > kHotkeyTextCapacity) capacity = kHotkeyTextCapacity;
  size_t length = 0;
  out[0] = 0;
  if (value == 0) {
    Append(out, capacity, length, emptyText != nullptr && emptyText[0] != 0 ? emptyText : u"none");
    return length;
  }
  const uint32_t key = value & hotkey::kVkMask;
  if ((value & hotkey::kCtrl) != 0 && key != kVkControl) Append(out, capacity, length, u"Ctrl + ");
  if ((value & hotkey::kShift) != 0 && key != kVkShift) Append(out, capacity, length, u"Shift + ");
  if ((value & hotkey::kAlt) != 0 && key != kVkMenu) Append(out, capacity, length, u"Alt + ");
  if ((value & hotkey::kWin) != 0 && key != kVkLeftWin && key != kVkRightWin) Append(out, capacity, length, u"Win + ");
  if (key == 0) return length;
  if ((value & hotkey::kScanMask) != 0 && keyName != nullptr) {
    char16_t name[64];
    const size_t n = keyName((value & kKeyBits) | 0x02000000, name, 64, context);
    if (n > 0 && n < 64) {
      name[n] = 0;
      Append(out, capacity, length, name);
      return length;
    }
  }
  switch (key) {
    case 1:
      Append(out, capacity, length, u"L Click");
      break;
    case 2:
      Append(out, capacity, length, u"R Click");
      break;
    case 4:
      Append(out, capacity, length, u"M Click");
      break;
    case 5:
      Append(out, capacity, length, u"X1 Click");
      break;
    case 6:
      Append(out, capacity, length, u"X2 Click");
      break;
    case hotkey::kVkWheelForward:
      Append(out, capacity, length, u"Wheel Up");
      break;
    case hotkey::kVkWheelBack:
      Append(out, capacity, length, u"Wheel Down");
      break;
    default: {
      static const char16_t kHex[] = u"0123456789ABCDEF";
      const char16_t code[] = {u'0', u'x', kHex[key >> 4], kHex[key & 0xF], 0};
      Append(out, capacity, length, code);
    }
  }
  return length;
}

}  // namespace qorv
