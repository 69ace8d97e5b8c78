// The 72-byte mouse-button block and the HotkeyWord layout shared by the settings program,
// the main program and the low-level mouse hook.
#pragma once
#include <cstddef>
#include <cstdint>

namespace qorv {

constexpr uint32_t kMaxButtonPairs = 8;

struct ButtonPair {
  uint32_t condition;  // condition word
  uint32_t key;        // HotkeyWord produced
};

struct MouseBtnBlock {
  uint32_t btnFlag;
  uint32_t setNum;  // pairs in use, 0-8
  ButtonPair pairs[kMaxButtonPairs];
};
static_assert(sizeof(MouseBtnBlock) == 72, "MouseBtnBlock is 72 bytes");
static_assert(offsetof(MouseBtnBlock, setNum) == 4, "SetNum at 4");
static_assert(offsetof(MouseBtnBlock, pairs) == 8, "pairs at 8");

// HotkeyWord: bits 0-7 virtual key, 8-11 modifiers, 16-23 scan code, 24 extended key.
namespace hotkey {
constexpr uint32_t kVkMask = 0x000000FF;
constexpr uint32_t kAlt = 0x00000100;
constexpr uint32_t kCtrl = 0x00000200;
constexpr uint32_t kShift = 0x00000400;
constexpr uint32_t kWin = 0x00000800;
constexpr uint32_t kModifierMask = 0x00000F00;
constexpr uint32_t kScanMask = 0x00FF0000;
constexpr uint32_t kScanShift = 16;
constexpr uint32_t kExtended = 0x01000000;
// Virtual keys standing for mouse actions in a HotkeyWord.
constexpr uint32_t kVkWheelForward = 0x0A;
constexpr uint32_t kVkWheelBack = 0x0B;

constexpr uint32_t Vk(uint32_t word) { return word & kVkMask; }
constexpr uint32_t Scan(uint32_t word) { return (word & kScanMask) >> kScanShift; }
}  // namespace hotkey

}  // namespace qorv
