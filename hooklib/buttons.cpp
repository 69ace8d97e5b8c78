#include "hooklib/buttons.h"

#include "common/flags.h"
#include "common/mouse_keys.h"

namespace qorv {

namespace {

// Low-level mouse messages (winuser.h values).
constexpr uint32_t kLButtonDown = 0x0201;
constexpr uint32_t kLButtonUp = 0x0202;
constexpr uint32_t kRButtonDown = 0x0204;
constexpr uint32_t kRButtonUp = 0x0205;
constexpr uint32_t kMButtonDown = 0x0207;
constexpr uint32_t kMButtonUp = 0x0208;
constexpr uint32_t kMouseWheel = 0x020A;
constexpr uint32_t kXButtonDown = 0x020B;
constexpr uint32_t kXButtonUp = 0x020C;
constexpr uint32_t kNcLButtonDown = 0x00A1;
constexpr uint32_t kNcRButtonDown = 0x00A4;
constexpr uint32_t kNcMButtonDown = 0x00A7;
constexpr uint32_t kNcXButtonDown = 0x00AB;
constexpr uint32_t kKeyDown = 0x0100;
constexpr uint32_t kKeyUp = 0x0101;
constexpr uint32_t kSysKeyDown = 0x0104;
constexpr uint32_t kSysKeyUp = 0x0105;
constexpr int32_t kWheelDelta = 120;
// A notch converts into at most a report, four modifier downs, a key down and up, four modifier ups.
static_assert(1 + kMaxWheelNotchesPerEvent * 10 <= kMaxButtonActions, "a wheel event's notches fit the actions");

// Virtual keys that stand for a modifier when they are the converted key.
constexpr uint32_t kVkShift = 0x10, kVkControl = 0x11, kVkMenu = 0x12, kVkLWin = 0x5B;
constexpr uint32_t kVkLShift = 0xA0, kVkLControl = 0xA2, kVkLMenu = 0xA4;

// The modifiers in the order they are pressed and released, with their byte in ModifierHolds.
struct ModifierSlot {
  uint32_t hotkeyBit;
  uint32_t shift;
};
constexpr ModifierSlot kModifierOrder[4] = {
    {hotkey::kShift, 0}, {hotkey::kCtrl, 8}, {hotkey::kAlt, 16}, {hotkey::kWin, 24}};

class Emitter {
 public:
  Emitter(SharedState& state, ButtonActions& out) : state_(state), out_(out) {}

  void Push(ButtonActionKind kind, bool up = false, uint32_t key = 0, int32_t delta = 0) {
    if (out_.count >= kMaxButtonActions) return;
    ButtonAction& action = out_.items[out_.count++];
    action.kind = kind;
    action.up = up;
    action.attach = false;
    action.takeTarget = false;
    action.dropTarget = false;
    action.delta = delta;
    action.key = key;
  }

  void PushPost(uint32_t key, bool up, bool attach) {
    Push(ButtonActionKind::PostToWindow, up, key);
    if (out_.count == 0) return;
    ButtonAction& action = out_.items[out_.count - 1];
    action.attach = attach;
    action.takeTarget = !up;
    action.dropTarget = up && attach;
  }

  // Each modifier of m goes down with every hold; it goes up once, when the last hold of it is
  // released. A trigger that no longer holds the modifier sends no second key up.
  void PressModifiers(uint32_t m, bool up, uint32_t t) {
    for (const ModifierSlot& slot : kModifierOrder) {
      if ((m & slot.hotkeyBit) == 0) continue;
      const uint32_t bit = t << slot.shift;
      if (!up) {
        state_.ModifierHolds |= bit;
        Push(ButtonActionKind::ModifierKey, false, slot.hotkeyBit);
        continue;
      }
      const bool held = (state_.ModifierHolds & bit) != 0;
      state_.ModifierHolds &= ~bit;
      if (held && ((state_.ModifierHolds >> slot.shift) & 0xFFu) == 0) {
        Push(ButtonActionKind::ModifierKey, true, slot.hotkeyBit);
      }
    }
  }

  // Injects the converted key of trigger t; a button is never converted into itself.
  void SendConvertedKey(uint32_t key, bool up, uint32_t t) {
    const uint32_t vk = hotkey::Vk(key);
    switch (vk) {
      case 0:
        return;
      case 1:
      case 2:
      case 4:
      case 5:
      case 6:
        if (t != ClickKeyStateBit(vk)) Push(ButtonActionKind::MouseButton, up, vk);
        return;
      case hotkey::kVkWheelForward:
        if (!up && t != ButtonTriggerBit(2)) Push(ButtonActionKind::MouseWheel, false, vk, kWheelDelta);
        return;
      case hotkey::kVkWheelBack:
        if (!up && t != ButtonTriggerBit(3)) Push(ButtonActionKind::MouseWheel, false, vk, -kWheelDelta);
        return;
      case kVkShift:
      case kVkLShift:
        PressModifiers(hotkey::kShift, up, t);
        return;
      case kVkControl:
      case kVkLControl:
        PressModifiers(hotkey::kCtrl, up, t);
        return;
      case kVkMenu:
      case kVkLMenu:
        PressModifiers(hotkey::kAlt, up, t);
        return;
      case kVkLWin:
        PressModifiers(hotkey::kWin, up, t);
        return;
      default:
        Push(ButtonActionKind::Key, up, key);
        return;
    }
  }

 private:
  SharedState& state_;
  ButtonActions& out_;
};

}  // namespace

bool ButtonEventFromMessage(uint32_t message, uint32_t mouseData, ButtonEvent& event) {
  const uint32_t high = mouseData >> 16;
  event.delta = 0;
  switch (message) {
    case kLButtonDown:
    case kLButtonUp:
      event.index = 0;
      event.up = message == kLButtonUp;
      return true;
    case kRButtonDown:
    case kRButtonUp:
      event.index = 1;
      event.up = message == kRButtonUp;
      return true;
    case kMButtonDown:
    case kMButtonUp:
      event.index = 4;
      event.up = message == kMButtonUp;
      return true;
    case kXButtonDown:
    case kXButtonUp:
      if (high != 1 && high != 2) return false;
      event.index = high == 1 ? 5 : 6;
      event.up = message == kXButtonUp;
      return true;
    case kMouseWheel: {
      const int32_t delta = static_cast<int16_t>(high);
      if (delta == 0) return false;
      event.index = delta > 0 ? 2 : 3;
      event.up = false;
      event.delta = delta;
      return true;
    }
    default:
      return false;
  }
}

namespace {

void Step(SharedState& state, const ButtonEvent& event, ModifierReader readModifiers, ButtonActions& out,
          ButtonWheelParts* wheelParts);

}  // namespace

void ButtonStep(SharedState& state, const ButtonEvent& event, ModifierReader readModifiers, ButtonActions& out,
                ButtonWheelParts* wheelParts) {
  out.count = 0;
  out.swallow = false;
  const uint32_t t = ButtonTriggerBit(event.index);
  if (t == 0) return;
  // A real press of a button whose conversion is still active: its release was lost on the way.
  // That conversion is released first (its keys go up), and the press converts afresh. A press that
  // this library injected comes from another conversion and is no sign of a lost release.
  if (!event.up && event.delta == 0 && (state.ActiveButtons & t) != 0 && event.depth == 0) {
    Step(state, ButtonEvent{event.index, true, 0, event.time}, readModifiers, out, nullptr);
  }
  Step(state, event, readModifiers, out, wheelParts);
}

namespace {

void Step(SharedState& state, const ButtonEvent& event, ModifierReader readModifiers, ButtonActions& out,
          ButtonWheelParts* wheelParts) {
  out.swallow = false;
  const int a = event.index;
  const uint32_t t = ButtonTriggerBit(a);
  const bool wheel = event.delta != 0;

  // 1. The conversion: the active record for a release, the first fitting pair for a press.
  bool found = false;
  uint32_t condition = 0;
  uint32_t key = 0;
  if (event.up) {
    if ((state.ActiveButtons & t) != 0) {
      condition = state.ActiveRecords[a].condition;
      key = state.ActiveRecords[a].key;
      found = true;
    }
  } else if ((state.ActiveButtons & t) == 0 && event.depth < kMaxInjectionDepth) {
    const uint32_t count = state.MouseBtn.setNum < kMaxButtonPairs ? state.MouseBtn.setNum : kMaxButtonPairs;
    bool modifiersRead = false;
    uint32_t modifiers = 0;
    for (uint32_t i = 0; i < count; ++i) {
      const ButtonPair& pair = state.MouseBtn.pairs[i];
      if (Field(pair.condition, btn_cond::kButtonIndexMask, btn_cond::kButtonIndexShift) != static_cast<uint32_t>(a)) {
        continue;
      }
      constexpr uint32_t kConditionBits = btn_cond::kHeldButtonMask | btn_cond::kModifierMask;
      if ((pair.condition & kConditionBits) != 0) {
        if ((pair.condition & btn_cond::kHeldButtonMask) != state.HeldButtons) continue;
        if (!modifiersRead) {
          modifiers = readModifiers != nullptr ? readModifiers() & btn_cond::kModifierMask : 0;
          modifiersRead = true;
        }
        if ((pair.condition & btn_cond::kModifierMask) != modifiers) continue;
      }
      condition = pair.condition;
      key = pair.key;
      found = true;
      break;
    }
  }
  const bool enabled = found && (condition & btn_cond::kEnabled) != 0;
  const bool swallow = enabled && (condition & btn_cond::kSuppressButton) != 0;

  // 2. The held buttons; a swallowed press is not held for the applications, nor for conditions.
  // A press decides afresh: a bit left over from a lost release does not outlive it.
  if (!wheel) {
    if (event.up || swallow) {
      state.HeldButtons &= ~t;
    } else {
      state.HeldButtons |= t;
    }
  }

  Emitter emit(state, out);
  // 3. Nothing converts.
  if (!enabled) {
    if (wheel && (state.MouseBtn.btnFlag & btn_flag::kWheelToPointer) != 0) {
      emit.Push(ButtonActionKind::PostWheelToPointer, false, 0, event.delta);
      out.swallow = true;
    }
    return;
  }

  // A wheel conversion runs once per whole notch; parts of a notch wait for the rest.
  int32_t notches = 1;
  if (wheel && wheelParts != nullptr) {
    const uint64_t conversion = (static_cast<uint64_t>(condition) << 32) | key;
    notches = WheelAccumulate(wheelParts->accum, conversion, t, event.delta, event.time, wheelParts->pauseMs);
    if (notches < 0) notches = -notches;
    if (notches > kMaxWheelNotchesPerEvent) notches = kMaxWheelNotchesPerEvent;
    if (notches == 0) {
      out.swallow = swallow;
      return;
    }
  }

  // 4. The conversion; a wheel turn is a press and a release at once.
  if ((condition & btn_cond::kReport) != 0) emit.Push(ButtonActionKind::Report, event.up, 0, event.delta);
  const uint32_t m = key & hotkey::kModifierMask;
  const bool post = (condition & btn_cond::kPostMessages) != 0;
  const bool hasKey = hotkey::Vk(key) != 0;
  for (int32_t notch = 0; notch < notches; ++notch) {
    if (!event.up) {
      if (hasKey) {
        if (post) {
          emit.PushPost(key, false, state.PostTargetWnd == 0);
          if (m != 0) state.PostModButtons |= t;
        } else {
          if (m != 0) emit.PressModifiers(m, false, t);
          emit.SendConvertedKey(key, false, t);
        }
      }
      state.ActiveButtons |= t;
      state.ActiveRecords[a].condition = condition;
      state.ActiveRecords[a].key = key;
    }
    if (event.up || wheel) {
      if (hasKey) {
        if (post) {
          state.PostModButtons &= ~t;
          emit.PushPost(key, true, state.PostModButtons == 0);
        } else {
          emit.SendConvertedKey(key, true, t);
          if (m != 0) emit.PressModifiers(m, true, t);
        }
      }
      state.ActiveButtons &= ~t;
      state.ActiveRecords[a].condition = 0;
      state.ActiveRecords[a].key = 0;
    }
  }
  out.swallow = swallow;
}

}  // namespace

void ButtonReleaseAll(SharedState& state, ButtonActions& out) {
  out.count = 0;
  out.swallow = false;
  Emitter emit(state, out);
  bool reported = false;
  for (int a = 0; a < kButtonIndexCount; ++a) {
    const uint32_t t = ButtonTriggerBit(a);
    if ((state.ActiveButtons & t) == 0) continue;
    ActiveRecord& record = state.ActiveRecords[a];
    if ((record.condition & btn_cond::kPostMessages) == 0 && hotkey::Vk(record.key) != 0) {
      emit.SendConvertedKey(record.key, true, t);
      const uint32_t m = record.key & hotkey::kModifierMask;
      if (m != 0) emit.PressModifiers(m, true, t);
    }
    if ((record.condition & btn_cond::kReport) != 0) reported = true;
    record.condition = 0;
    record.key = 0;
  }
  state.ActiveButtons = 0;
  state.PostModButtons = 0;
  if (reported) emit.Push(ButtonActionKind::CancelReport);
  if (state.PostTargetWnd != 0) emit.Push(ButtonActionKind::DropPostTarget);
}

void ButtonCopyBlock(MouseBtnBlock& to, const MouseBtnBlock& from) {
  to.btnFlag = from.btnFlag;
  to.setNum = from.setNum < kMaxButtonPairs ? from.setNum : kMaxButtonPairs;
  for (uint32_t i = 0; i < kMaxButtonPairs; ++i) to.pairs[i] = from.pairs[i];
}

bool IsDoubleClick(const ClickMemory& memory, uint64_t window, uint32_t vk, int32_t x, int32_t y, uint32_t time,
                   int32_t cx, int32_t cy, uint32_t doubleClickTime) {
  if (memory.window == 0 || memory.window != window || memory.vk != vk) return false;
  if (x < memory.x - cx || x >= memory.x + cx) return false;
  if (y < memory.y - cy || y >= memory.y + cy) return false;
  // Unsigned difference: the tick count may wrap between the two presses.
  return time - memory.time <= doubleClickTime;
}

uint32_t ClickMessage(uint32_t vk, bool up, bool doubleClick, bool client) {
  uint32_t base = 0;
  switch (vk) {
    case 1:
      base = client ? kLButtonDown : kNcLButtonDown;
      break;
    case 2:
      base = client ? kRButtonDown : kNcRButtonDown;
      break;
    case 4:
      base = client ? kMButtonDown : kNcMButtonDown;
      break;
    case 5:
    case 6:
      base = client ? kXButtonDown : kNcXButtonDown;
      break;
    default:
      return 0;
  }
  if (up) return base + 1;
  return doubleClick ? base + 2 : base;
}

uint32_t ClickXButtonWord(uint32_t vk) {
  if (vk == 5) return 0x00010000;
  if (vk == 6) return 0x00020000;
  return 0;
}

uint32_t ClickKeyStateBit(uint32_t vk) {
  switch (vk) {
    case 1:
      return 0x01;
    case 2:
      return 0x02;
    case 4:
      return 0x10;
    case 5:
      return 0x20;
    case 6:
      return 0x40;
    default:
      return 0;
  }
}

KeyMessage PostedKeyMessage(uint32_t key, bool up) {
  const bool alt = (key & hotkey::kAlt) != 0;
  KeyMessage result;
  result.message = alt ? (up ? kSysKeyUp : kSysKeyDown) : (up ? kKeyUp : kKeyDown);
  result.lParam = (key & (hotkey::kScanMask | hotkey::kExtended)) | 1u;
  if (alt) result.lParam |= 0x20000000u;
  if (up) result.lParam |= 0xC0000000u;
  return result;
}

uint32_t WheelWParam(int32_t delta, bool ctrlDown, bool shiftDown, uint32_t heldButtons) {
  uint32_t wp = static_cast<uint32_t>(delta) << 16;
  if (ctrlDown) wp |= kMkControl;
  if (shiftDown) wp |= kMkShift;
  return wp | (heldButtons & btn_cond::kHeldButtonMask);
}

}  // namespace qorv
