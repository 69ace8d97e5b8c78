#include "host/hotkeys.h"

#include "common/mouse_btn.h"

namespace qorv {

namespace {

bool IsMouseVk(uint32_t vk) {
  return vk == 1 || vk == 2 || vk == 4 || vk == 5 || vk == 6 || vk == hotkey::kVkWheelForward ||
         vk == hotkey::kVkWheelBack;
}

}  // namespace

HotkeyAction HotkeyActionOf(int id) {
  if (id < 0 || id >= kHotkeyActionCount) return HotkeyAction::None;
  return static_cast<HotkeyAction>(id);
}

HotkeyBinding HotkeyBindingOf(uint32_t word) {
  const uint32_t vk = hotkey::Vk(word);
  const uint32_t modifiers = (word & hotkey::kModifierMask) >> 8;
  if (vk == 0) return {HotkeyKind::None, 0, 0};
  return {IsMouseVk(vk) ? HotkeyKind::Mouse : HotkeyKind::Keyboard, modifiers, vk};
}

bool AnyMouseHotkey(const uint32_t* words, int count) {
  for (int i = 0; i < count; ++i) {
    if (HotkeyBindingOf(words[i]).kind == HotkeyKind::Mouse) return true;
  }
  return false;
}

MouseHotkeyResult MouseHotkeyStep(MouseHotkeyState& state, const uint32_t* words, int count, const MouseEvent& event,
                                  uint32_t modifiers) {
  uint32_t vk = 0;
  switch (event.kind) {
    case MouseEventKind::ButtonUp: {
      const uint32_t bit = event.vk < 32 ? 1u << event.vk : 0;
      if ((state.swallowUp & bit) == 0) return {-1, false};
      state.swallowUp &= ~bit;
      return {-1, true};
    }
    case MouseEventKind::ButtonDown:
      vk = event.vk;
      break;
    case MouseEventKind::Wheel:
      if (event.delta == 0) return {-1, false};
      vk = event.delta > 0 ? hotkey::kVkWheelForward : hotkey::kVkWheelBack;
      break;
    case MouseEventKind::Other:
      return {-1, false};
  }
  for (int i = 0; i < count; ++i) {
    const HotkeyBinding binding = HotkeyBindingOf(words[i]);
    if (binding.kind != HotkeyKind::Mouse || binding.vk != vk || binding.modifiers != modifiers) continue;
    if (event.kind == MouseEventKind::ButtonDown && vk < 32) state.swallowUp |= 1u << vk;
    return {i, true};
  }
  return {-1, false};
}

PriorityLevel PriorityStep(PriorityLevel level, bool up) {
  const int value = static_cast<int>(level);
  const int high = static_cast<int>(PriorityLevel::High);
  if (level == PriorityLevel::RealTime) return up ? level : PriorityLevel::High;
  if (up) return static_cast<PriorityLevel>(value < high ? value + 1 : high);
  return static_cast<PriorityLevel>(value > 0 ? value - 1 : 0);
}

}  // namespace qorv
