#include "pelisk/keyctl.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace qorv {
namespace {

constexpr uint32_t kVkF5 = 0x74;
constexpr uint32_t kF5Bits = 0x003F0000;     // lParam of F5: scan code 0x3F
constexpr uint32_t kCtrlBits = 0x001D0000;   // left Ctrl
constexpr uint32_t kShiftBits = 0x002A0000;  // left Shift
constexpr uint32_t kAltBit = 0x20000000;     // lParam bit 29: Alt is down

// A control driven by key events, tracking what the window would have been told to do.
struct Control {
  KeyControlCore core;
  unsigned last = 0;
  Control() { KeyCoreInit(core); }
  Control& Down(uint32_t vk, uint32_t bits, unsigned held, bool tabStop = true) {
    last = KeyCoreKeyDown(core, vk, bits, held, tabStop);
    return *this;
  }
  Control& Up(uint32_t vk, uint32_t bits) {
    last = KeyCoreKeyUp(core, vk, bits);
    return *this;
  }
  Control& Limited() {
    KeyCoreSetFlags(core, 0, kKeyLimitFlags);
    return *this;
  }
};

TEST(KeyControl, CtrlThenF5GivesModifierScanAndKey) {
  Control c;
  c.Down(0x11, kCtrlBits, kModCtrl);
  EXPECT_EQ(c.core.value, 0x200u);  // only the prefix is shown while Ctrl is held
  c.Down(kVkF5, kF5Bits, kModCtrl);
  EXPECT_EQ(c.core.value, 0x200u | kF5Bits | kVkF5);
  EXPECT_EQ(c.last, kKeyRepaint | kKeyNotify);
  c.Up(kVkF5, kF5Bits).Up(0x11, kCtrlBits);
  EXPECT_EQ(c.core.value, 0x200u | kF5Bits | kVkF5);  // releasing changes nothing
  EXPECT_EQ(c.last, 0u);
}

// Bit 24 of the key message tells Right Ctrl from Left Ctrl, Delete from the keypad's, arrows from
// the keypad's: the captured word keeps it.
TEST(KeyControl, ExtendedKeysKeepTheirFlag) {
  constexpr uint32_t kExtended = 0x01000000;
  Control del;
  del.Down(0x2E, kExtended | 0x00530000, 0);
  EXPECT_EQ(del.core.value, kExtended | 0x00530000u | 0x2Eu);
  Control arrow;
  arrow.Down(0x11, kCtrlBits, kModCtrl).Down(0x25, kExtended | 0x004B0000, kModCtrl);
  EXPECT_EQ(arrow.core.value, 0x200u | kExtended | 0x004B0000u | 0x25u);
  Control rightCtrl;
  rightCtrl.Down(0x11, kExtended | kCtrlBits, kModCtrl).Up(0x11, kExtended | kCtrlBits);
  EXPECT_EQ(rightCtrl.core.value, kExtended | kCtrlBits | 0x11u);
}

TEST(KeyControl, ModifierKeysReleasedAlone) {
  Control c;
  c.Down(0x11, kCtrlBits, kModCtrl).Up(0x11, kCtrlBits);
  EXPECT_EQ(c.core.value, kCtrlBits | 0x11u);  // Ctrl itself, without modifier bits
  Control both;
  both.Down(0x11, kCtrlBits, kModCtrl).Down(0x10, kShiftBits, kModCtrl | kModShift).Up(0x10, kShiftBits);
  EXPECT_EQ(both.core.value, 0u);
  Control alt;
  alt.Down(0x12, 0x00380000 | kAltBit, 0).Up(0x12, 0x00380000);
  EXPECT_EQ(alt.core.value, 0x00380012u);
}

TEST(KeyControl, LimitedControlRefusesPlainShiftAndCtrlKeys) {
  const struct {
    unsigned held;
    uint32_t modifierVk;
    uint32_t modifierBits;
    bool taken;
  } kCases[] = {
      {0, 0, 0, false},
      {kModShift, 0x10, kShiftBits, false},
      {kModCtrl, 0x11, kCtrlBits, false},
      {kModCtrl | kModShift, 0x11, kCtrlBits, true},
  };
  for (const auto& k : kCases) {
    Control c;
    c.Limited();
    KeyCoreSetValue(c.core, 0x00200000 | 0x100 | 0x41);  // Alt + A before
    if (k.modifierVk != 0) c.Down(k.modifierVk, k.modifierBits, k.held);
    c.Down(kVkF5, kF5Bits, k.held);
    if (k.taken) {
      EXPECT_EQ(c.core.value, (k.held << 8) | kF5Bits | kVkF5) << k.held;
      continue;
    }
    EXPECT_EQ(c.core.value, k.held << 8) << k.held;  // only the prefixes while held
    Control lost = c;
    KeyCoreFocusLost(lost.core);
    EXPECT_EQ(lost.core.value, 0x00200000u | 0x100 | 0x41) << "the old value comes back on focus loss";
    c.Up(kVkF5, kF5Bits);
    EXPECT_EQ(c.core.value, 0u) << k.held;
  }
  Control alt;
  alt.Limited().Down(kVkF5, kF5Bits | kAltBit, 0);
  EXPECT_EQ(alt.core.value, 0x100u | kF5Bits | kVkF5);
  Control lone;
  lone.Limited().Down(0x11, kCtrlBits, kModCtrl).Up(0x11, kCtrlBits);
  EXPECT_EQ(lone.core.value, 0u);  // a lone modifier is refused too
}

TEST(KeyControl, RefusedKeyGivesNoValueOnItsRelease) {
  Control c;  // no limit: only the key's own refusal applies
  c.Down(0x11, kCtrlBits, kModCtrl).Down(0x19, 0x00700000, kModCtrl);
  EXPECT_EQ(c.core.value, 0x200u);
  c.Up(0x19, 0x00700000);
  EXPECT_EQ(c.core.value, 0u);
  Control shift;  // Shift + key refused by flag 0x20 alone
  KeyCoreSetFlags(shift.core, 0, kKeyNoShiftAlone);
  shift.Down(0x10, kShiftBits, kModShift).Down(kVkF5, kF5Bits, kModShift).Up(kVkF5, kF5Bits);
  EXPECT_EQ(shift.core.value, 0u);
}

TEST(KeyControl, TabMovesFocusAndKeepsWholeValues) {
  Control c;
  KeyCoreSetValue(c.core, 0x200 | 0x04);  // Ctrl + middle button: no scan code, but a whole value
  c.Down(0x09, 0x000F0000, 0);
  EXPECT_EQ(c.last, kKeyNextControl);
  EXPECT_EQ(c.core.value, 0x204u);
  c.Down(0x09, 0x000F0000, kModShift);
  EXPECT_EQ(c.last & kKeyPrevControl, kKeyPrevControl);
  Control held;  // modifiers held: Tab falls back to the value before them
  KeyCoreSetValue(held.core, 0x100 | kF5Bits | kVkF5);
  held.Down(0x10, kShiftBits, kModShift).Down(0x09, 0x000F0000, kModShift);
  EXPECT_EQ(held.core.value, 0x100u | kF5Bits | kVkF5);
  Control noStop;  // without WS_TABSTOP, Tab is a key like any other
  noStop.Down(0x09, 0x000F0000, 0, false);
  EXPECT_EQ(noStop.core.value, 0x000F0009u);
}

TEST(KeyControl, MessagesAndTheirLimits) {
  KeyControlCore core;
  KeyCoreInit(core);
  EXPECT_EQ(core.flags[0x19], kKeyRefuse);
  EXPECT_EQ(KeyCoreSetValue(core, 0x00000200), 0);  // no key: refused, nothing changes
  EXPECT_EQ(KeyCoreSetValue(core, 0x0A), 1);
  EXPECT_EQ(KeyCoreSetValue(core, 0), 0);
  EXPECT_EQ(core.value, 0x0Au);
  EXPECT_EQ(KeyCoreSetFlags(core, kKeyOptionsIndex, kKwsWheelScan), 0u);
  EXPECT_EQ(KeyCoreSetFlags(core, kKeyOptionsIndex, 0), kKwsWheelScan);
  EXPECT_EQ(KeyCoreSetFlags(core, 0x19, 0), kKeyRefuse);
  const KeyControlCore before = core;
  for (uint32_t outside : {0x100u, 0xFFFu, 0x1001u, 0xFFFFFFFFu}) {
    EXPECT_EQ(KeyCoreSetFlags(core, outside, 0x77), 0u);
  }
  EXPECT_EQ(std::memcmp(&before, &core, sizeof(core)), 0) << "an index outside the table writes nothing";
  KeyCoreSetEmptyText(core, u"0123456789abcdefgh");
  EXPECT_EQ(std::u16string(core.emptyText), u"0123456789abcde");
  KeyCoreSetEmptyText(core, nullptr);
  EXPECT_EQ(core.emptyText[0], 0);
}

uint32_t IdentityScan(uint32_t scan, void*) { return scan == 0x45 ? 0 : 0x80 + scan; }

TEST(KeyControl, WheelStepsScanCodesWithTheRightButtonHeld) {
  KeyControlCore core;
  KeyCoreInit(core);
  KeyCoreSetValue(core, 0x200 | 0x00360000 | 0xA1);  // Ctrl + right Shift
  const uint32_t kRight = 0x0002;
  EXPECT_EQ(KeyCoreWheel(core, -120, kRight, true, IdentityScan, nullptr), kKeyRepaint);
  EXPECT_EQ(core.value, 0x200u | 0x00380000 | (0x80 + 0x38));  // 0x37 is stepped over
  EXPECT_EQ(core.saved, 0x200u | 0x00360000 | 0xA1);
  KeyCoreSetValue(core, 0x00530000 | hotkey::kExtended | 0x2E);
  KeyCoreWheel(core, -120, kRight, true, IdentityScan, nullptr);
  EXPECT_EQ(core.value, 0x00010000u | 0x81);  // past 0x53 comes 1, not extended
  KeyCoreWheel(core, 120, kRight, true, IdentityScan, nullptr);
  EXPECT_EQ(core.value, 0x00530000u | hotkey::kExtended | (0x80 + 0x53));
  const uint32_t steady = core.value;
  KeyCoreWheel(core, 120, kRight | 0x0008, true, IdentityScan, nullptr);  // Ctrl held too
  KeyCoreWheel(core, 120, kRight, false, IdentityScan, nullptr);          // no focus
  EXPECT_EQ(core.value, steady);
  KeyCoreSetValue(core, 0x204);  // a mouse code has no scan code to step
  KeyCoreWheel(core, -120, kRight, true, IdentityScan, nullptr);
  EXPECT_EQ(core.value, 0x204u);
  KeyCoreSetValue(core, 0x00440000 | 0x80);
  KeyCoreWheel(core, -120, kRight, true, IdentityScan, nullptr);  // 0x45 maps to no key
  EXPECT_EQ(core.value, 0x00440080u);
}

TEST(KeyControl, MouseSavedValueAndModifierMenu) {
  KeyControlCore core;
  KeyCoreInit(core);
  KeyCoreSetValue(core, kF5Bits | kVkF5);
  KeyCoreKeyDown(core, 0x11, kCtrlBits, kModCtrl, true);
  EXPECT_EQ(core.saved, kF5Bits | kVkF5);
  EXPECT_EQ(KeyCoreLeftDown(core, false), 0u);
  EXPECT_EQ(KeyCoreLeftDown(core, true), kKeyRepaint);
  EXPECT_EQ(core.value, kF5Bits | kVkF5);
  EXPECT_EQ(KeyCoreRightUp(core), 0u);  // first drops the saved value
  EXPECT_EQ(core.saved, 0u);
  EXPECT_EQ(KeyCoreRightUp(core), kKeyShowMenu);
  KeyCoreMenuChoice(core, kModShift);
  KeyCoreMenuChoice(core, kModWin);
  KeyCoreMenuChoice(core, 3);  // not an item
  EXPECT_EQ(core.value, 0xC00u | kF5Bits | kVkF5);
  KeyCoreMenuChoice(core, kModShift);
  EXPECT_EQ(core.value, 0x800u | kF5Bits | kVkF5);
}

size_t FakeName(uint32_t bits, char16_t* out, size_t capacity, void*) {
  const std::u16string name = bits == (kF5Bits | 0x02000000) ? u"F5" : u"";
  for (size_t i = 0; i < name.size() && i < capacity; ++i) out[i] = name[i];
  return name.size();
}

TEST(KeyControl, TextOfValues) {
  const struct {
    uint32_t value;
    const char16_t* text;
  } kCases[] = {
      {0, u"none"},
      {0x200 | 0x100 | kF5Bits | kVkF5, u"Ctrl + Alt + F5"},
      {0xF00 | 0x0A, u"Ctrl + Shift + Alt + Win + Wheel Up"},
      {0x200, u"Ctrl + "},
      {kCtrlBits | 0x200 | 0x11, u"0x11"},  // no name known: the code
      {0x400 | 0x10, u"0x10"},              // Shift is not its own prefix
      {0x800 | 0x5C, u"0x5C"},
      {0x02, u"R Click"},
      {0x06, u"X2 Click"},
      {0x0B, u"Wheel Down"},
  };
  for (const auto& k : kCases) {
    char16_t out[kHotkeyTextCapacity];
    HotkeyText(k.value, nullptr, FakeName, nullptr, out, kHotkeyTextCapacity);
    EXPECT_EQ(std::u16string(out), k.text) << std::hex << k.value;
  }
  char16_t out[kHotkeyTextCapacity];
  HotkeyText(0, u"なし", FakeName, nullptr, out, kHotkeyTextCapacity);
  EXPECT_EQ(std::u16string(out), u"なし");
  EXPECT_EQ(HotkeyText(0xF00 | 0x0A, nullptr, FakeName, nullptr, out, 8), 7u);  // cut, terminated
  EXPECT_EQ(std::u16string(out), u"Ctrl + ");
}

}  // namespace
}  // namespace qorv
