// The mouse-button conversion state machine and its posting helpers.
#include "hooklib/buttons.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <vector>

#include "common/flags.h"
#include "hooklib/button_watch.h"

namespace qorv {
namespace {

constexpr int kLeft = 0, kRight = 1, kWheelFwd = 2, kWheelBack = 3, kMiddle = 4, kX1 = 5, kX2 = 6;
constexpr uint32_t kOn = btn_cond::kEnabled;
constexpr uint32_t kSwallow = btn_cond::kSuppressButton;

constexpr uint32_t Index(int a) { return static_cast<uint32_t>(a) << btn_cond::kButtonIndexShift; }
constexpr uint32_t KeyWord(uint32_t vk, uint32_t mods = 0, uint32_t scan = 0, bool ext = false) {
  return vk | mods | (scan << 16) | (ext ? hotkey::kExtended : 0);
}

uint32_t g_modifiers;  // what the modifier reader reports
int g_modifierReads;
uint32_t ReadMods() {
  ++g_modifierReads;
  return g_modifiers;
}

struct Machine {
  SharedState state;
  Machine() { std::memset(&state, 0, sizeof(state)); }
  void Table(std::vector<ButtonPair> pairs, uint32_t btnFlag = 0) {
    state.MouseBtn.btnFlag = btnFlag;
    state.MouseBtn.setNum = static_cast<uint32_t>(pairs.size());
    for (size_t i = 0; i < pairs.size(); ++i) state.MouseBtn.pairs[i] = pairs[i];
  }
  ButtonActions Step(int index, bool up, int32_t delta = 0) {
    ButtonActions out;
    ButtonStep(state, ButtonEvent{index, up, delta}, ReadMods, out);
    // Play the posting target as the window side does, with a window that always exists.
    for (int i = 0; i < out.count; ++i) {
      if (out.items[i].takeTarget) state.PostTargetWnd = 0x1234;
      if (out.items[i].dropTarget) state.PostTargetWnd = 0;
    }
    return out;
  }
  ButtonActions Press(int index) { return Step(index, false); }
  ButtonActions Release(int index) { return Step(index, true); }
  ButtonActions Wheel(int32_t delta) { return Step(delta > 0 ? kWheelFwd : kWheelBack, false, delta); }
};

struct Act {
  ButtonActionKind kind;
  bool up;
  uint32_t key;
  bool operator==(const Act& o) const { return kind == o.kind && up == o.up && key == o.key; }
};
std::ostream& operator<<(std::ostream& os, const Act& a) {
  return os << "{kind " << static_cast<int>(a.kind) << (a.up ? " up " : " down ") << std::hex << a.key << "}";
}
std::vector<Act> Acts(const ButtonActions& out) {
  std::vector<Act> acts;
  for (int i = 0; i < out.count; ++i) acts.push_back({out.items[i].kind, out.items[i].up, out.items[i].key});
  return acts;
}
const Act kCtrlDown{ButtonActionKind::ModifierKey, false, hotkey::kCtrl};
const Act kCtrlUp{ButtonActionKind::ModifierKey, true, hotkey::kCtrl};

class ButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_modifiers = 0;
    g_modifierReads = 0;
  }
  Machine m;
};

TEST(ButtonEventTest, MapsTheSevenButtonEventsAndNothingElse) {
  struct Case {
    uint32_t message, mouseData;
    bool ok;
    int index;
    bool up;
    int32_t delta;
  } cases[] = {
      {0x0201, 0, true, 0, false, 0},
      {0x0202, 0, true, 0, true, 0},
      {0x0204, 0, true, 1, false, 0},
      {0x0205, 0, true, 1, true, 0},
      {0x020A, 0x00780000, true, 2, false, 120},
      {0x020A, 0xFF880000, true, 3, false, -120},
      {0x020A, 0x0000FFFF, false, 0, false, 0},
      {0x0207, 0, true, 4, false, 0},
      {0x0208, 0, true, 4, true, 0},
      {0x020B, 0x00010000, true, 5, false, 0},
      {0x020C, 0x00020000, true, 6, true, 0},
      {0x020B, 0x00030000, false, 0, false, 0},
      {0x0200, 0, false, 0, false, 0},
      {0x020E, 0x00780000, false, 0, false, 0},
  };
  for (const Case& c : cases) {
    ButtonEvent e{-1, false, 99};
    ASSERT_EQ(ButtonEventFromMessage(c.message, c.mouseData, e), c.ok) << std::hex << c.message;
    if (!c.ok) continue;
    EXPECT_EQ(e.index, c.index);
    EXPECT_EQ(e.up, c.up);
    EXPECT_EQ(e.delta, c.delta);
  }
  EXPECT_EQ(ButtonTriggerBit(kX2), 0x40u);
  EXPECT_EQ(ButtonTriggerBit(kWheelBack), 0x08u);
  EXPECT_EQ(ButtonTriggerBit(7), 0u);
}

TEST_F(ButtonTest, HeldButtonConditionMatchesOnlyTheExactButtonsAndModifiers) {
  m.Table({{Index(kRight) | btn_cond::kLeft | kOn, KeyWord('B')}});
  EXPECT_EQ(m.Press(kRight).count, 0);  // left not held
  m.Release(kRight);
  m.Press(kLeft);
  EXPECT_EQ(Acts(m.Press(kRight)), (std::vector<Act>{{ButtonActionKind::Key, false, 'B'}}));
  EXPECT_EQ(Acts(m.Release(kRight)), (std::vector<Act>{{ButtonActionKind::Key, true, 'B'}}));
  g_modifiers = btn_cond::kShift;
  EXPECT_EQ(m.Press(kRight).count, 0);
  m.Release(kRight);
  g_modifiers = 0;
  m.Press(kMiddle);  // left and middle held: not exactly the left button
  EXPECT_EQ(m.Press(kRight).count, 0);
}

TEST_F(ButtonTest, ModifiersAreReadOnlyForPairsWithAConditionAndOncePerEvent) {
  m.Table({{Index(kX1) | kOn, KeyWord('A')},
           {Index(kX2) | btn_cond::kCtrl | kOn, KeyWord('B')},
           {Index(kX2) | btn_cond::kShift | kOn, KeyWord('C')}});
  m.Press(kX1);
  m.Release(kX1);
  EXPECT_EQ(g_modifierReads, 0);
  g_modifiers = btn_cond::kShift | 0x8000;  // bits other than the four modifiers are ignored
  EXPECT_EQ(Acts(m.Press(kX2)), (std::vector<Act>{{ButtonActionKind::Key, false, 'C'}}));
  EXPECT_EQ(g_modifierReads, 1);
}

TEST_F(ButtonTest, DisabledMatchingPairHidesLaterPairsAndPassesTheEvent) {
  m.Table({{Index(kX1) | kSwallow, KeyWord('A')}, {Index(kX1) | kOn | kSwallow, KeyWord('B')}});
  ButtonActions out = m.Press(kX1);
  EXPECT_EQ(out.count, 0);
  EXPECT_FALSE(out.swallow);
  EXPECT_EQ(m.state.HeldButtons, 0x20u);
  EXPECT_EQ(m.state.ActiveButtons, 0u);
}

TEST_F(ButtonTest, SwallowedX1ToCtrlCPressesAndReleasesInOrder) {
  m.Table({{Index(kX1) | kOn | kSwallow, KeyWord('C', hotkey::kCtrl, 0x2E)}});
  ButtonActions down = m.Press(kX1);
  EXPECT_TRUE(down.swallow);
  EXPECT_EQ(Acts(down),
            (std::vector<Act>{kCtrlDown, {ButtonActionKind::Key, false, KeyWord('C', hotkey::kCtrl, 0x2E)}}));
  EXPECT_EQ(m.state.HeldButtons, 0u);  // a swallowed press is not held
  EXPECT_EQ(m.state.ActiveButtons, 0x20u);
  EXPECT_EQ(m.state.ModifierHolds, 0x20u << 8);
  ButtonActions up = m.Release(kX1);
  EXPECT_TRUE(up.swallow);
  EXPECT_EQ(Acts(up), (std::vector<Act>{{ButtonActionKind::Key, true, KeyWord('C', hotkey::kCtrl, 0x2E)}, kCtrlUp}));
  EXPECT_EQ(m.state.ActiveButtons, 0u);
  EXPECT_EQ(m.state.ModifierHolds, 0u);
  EXPECT_EQ(m.state.ActiveRecords[kX1].key, 0u);
}

TEST_F(ButtonTest, SharedModifierGoesUpOnlyAtTheLastRelease) {
  m.Table({{Index(kX1) | kOn, KeyWord('A', hotkey::kCtrl | hotkey::kShift)},
           {Index(kX2) | kOn, KeyWord('B', hotkey::kCtrl)}});
  EXPECT_EQ(Acts(m.Press(kX1))[0], (Act{ButtonActionKind::ModifierKey, false, hotkey::kShift}));  // Shift first
  m.Press(kX2);
  std::vector<Act> first = Acts(m.Release(kX1));
  EXPECT_EQ(first, (std::vector<Act>{{ButtonActionKind::Key, true, KeyWord('A', hotkey::kCtrl | hotkey::kShift)},
                                     {ButtonActionKind::ModifierKey, true, hotkey::kShift}}));
  EXPECT_EQ(Acts(m.Release(kX2)),
            (std::vector<Act>{{ButtonActionKind::Key, true, KeyWord('B', hotkey::kCtrl)}, kCtrlUp}));
}

TEST_F(ButtonTest, ModifierKeyWithItsOwnModifierGoesUpOnce) {
  // Ctrl as the key and as a modifier of it: two holds of one trigger, one key up.
  m.Table({{Index(kX1) | kOn, KeyWord(0x11, hotkey::kCtrl)}});
  EXPECT_EQ(Acts(m.Press(kX1)), (std::vector<Act>{kCtrlDown, kCtrlDown}));
  EXPECT_EQ(Acts(m.Release(kX1)), (std::vector<Act>{kCtrlUp}));
  EXPECT_EQ(m.state.ModifierHolds, 0u);
}

TEST_F(ButtonTest, WheelTurnIsPressAndReleaseAtOnce) {
  m.Table({{Index(kWheelBack) | kOn | kSwallow, KeyWord(0x22, 0, 0x51, true)}});
  ButtonActions out = m.Wheel(-120);
  EXPECT_TRUE(out.swallow);
  EXPECT_EQ(Acts(out), (std::vector<Act>{{ButtonActionKind::Key, false, KeyWord(0x22, 0, 0x51, true)},
                                         {ButtonActionKind::Key, true, KeyWord(0x22, 0, 0x51, true)}}));
  EXPECT_EQ(m.state.ActiveButtons, 0u);
  EXPECT_EQ(m.state.HeldButtons, 0u);
  EXPECT_EQ(m.Wheel(120).count, 0);  // forward has no pair
}

TEST_F(ButtonTest, UnconvertedWheelGoesToThePointerOnlyWithTheFlag) {
  m.Table({{Index(kWheelBack) | kOn, KeyWord('A')}});
  EXPECT_EQ(m.Wheel(240).count, 0);
  m.Table({{Index(kWheelBack) | kOn, KeyWord('A')}}, btn_flag::kWheelToPointer);
  ButtonActions out = m.Wheel(240);
  ASSERT_EQ(out.count, 1);
  EXPECT_EQ(out.items[0].kind, ButtonActionKind::PostWheelToPointer);
  EXPECT_EQ(out.items[0].delta, 240);
  EXPECT_TRUE(out.swallow);
  EXPECT_EQ(m.Press(kX1).count, 0);  // buttons are never sent to the pointer
}

// Fine wheel deltas: a conversion runs once per whole notch, parts are swallowed or passed as the
// conversion says, and a wheel sent on to the pointer keeps its own delta.
TEST_F(ButtonTest, FineWheelDeltasConvertOncePerWholeNotch) {
  const Act pgDown{ButtonActionKind::Key, false, KeyWord(0x22)};
  const Act pgUp{ButtonActionKind::Key, true, KeyWord(0x22)};
  m.Table({{Index(kWheelBack) | kOn | kSwallow | btn_cond::kReport, KeyWord(0x22)},
           {Index(kWheelFwd) | kOn, KeyWord(0x21)}});
  ButtonWheelParts parts = {{}, 500};
  auto turn = [&](int32_t delta, uint32_t time) {
    ButtonActions out;
    ButtonStep(m.state, ButtonEvent{delta > 0 ? kWheelFwd : kWheelBack, false, delta, time}, ReadMods, out, &parts);
    return out;
  };
  int converted = 0;
  for (uint32_t i = 0; i < 8; ++i) {
    const ButtonActions out = turn(-15, i * 10);
    EXPECT_TRUE(out.swallow) << "part " << i;  // no part of a swallowed conversion reaches applications
    if (out.count == 0) continue;
    ++converted;
    EXPECT_EQ(i, 7u);
    EXPECT_EQ(Acts(out), (std::vector<Act>{{ButtonActionKind::Report, false, 0}, pgDown, pgUp}));
  }
  EXPECT_EQ(converted, 1);
  EXPECT_EQ(m.state.ActiveButtons, 0u);

  const ButtonActions forwardPart = turn(60, 100);  // not swallowed: the part passes on
  EXPECT_EQ(forwardPart.count, 0);
  EXPECT_FALSE(forwardPart.swallow);
  EXPECT_EQ(turn(60, 110).count, 2);
  EXPECT_EQ(turn(60, 900).count, 0);  // after the pause the part starts anew

  EXPECT_EQ(Acts(turn(-240, 1000)), (std::vector<Act>{{ButtonActionKind::Report, false, 0}, pgDown, pgUp, pgDown, pgUp}));
  EXPECT_EQ(turn(-30000, 1001).count, 1 + 2 * kMaxWheelNotchesPerEvent);

  m.Table({}, btn_flag::kWheelToPointer);
  const ButtonActions pointer = turn(15, 1100);
  ASSERT_EQ(pointer.count, 1);
  EXPECT_EQ(pointer.items[0].kind, ButtonActionKind::PostWheelToPointer);
  EXPECT_EQ(pointer.items[0].delta, 15);
}

TEST_F(ButtonTest, ButtonIsNeverConvertedIntoItself) {
  m.Table({{Index(kRight) | kOn, KeyWord(2)},
           {Index(kWheelFwd) | kOn, KeyWord(0x0A)},
           {Index(kX1) | kOn, KeyWord(4)},
           {Index(kWheelBack) | kOn, KeyWord(0x0A)}});
  EXPECT_EQ(m.Press(kRight).count, 0);
  EXPECT_EQ(m.state.ActiveButtons, 0x02u);
  EXPECT_EQ(m.Wheel(120).count, 0);
  EXPECT_EQ(Acts(m.Press(kX1)), (std::vector<Act>{{ButtonActionKind::MouseButton, false, 4}}));
  ButtonActions wheel = m.Wheel(-120);
  ASSERT_EQ(wheel.count, 1);  // a wheel conversion turns on the press only
  EXPECT_EQ(wheel.items[0].kind, ButtonActionKind::MouseWheel);
  EXPECT_EQ(wheel.items[0].delta, 120);
}

TEST_F(ButtonTest, VirtualKeyZeroConvertsToNothingButStillSwallowsBothHalves) {
  m.Table({{Index(kMiddle) | kOn | kSwallow, 0}});
  ButtonActions down = m.Press(kMiddle);
  EXPECT_EQ(down.count, 0);
  EXPECT_TRUE(down.swallow);
  ButtonActions up = m.Release(kMiddle);
  EXPECT_EQ(up.count, 0);
  EXPECT_TRUE(up.swallow);
}

TEST_F(ButtonTest, ReportsEveryEventOfTheConvertedButton) {
  m.Table({{Index(kX2) | kOn | btn_cond::kReport, KeyWord('R')}});
  EXPECT_EQ(Acts(m.Press(kX2)).front().kind, ButtonActionKind::Report);
  EXPECT_EQ(Acts(m.Release(kX2)).front(), (Act{ButtonActionKind::Report, true, 0}));
  EXPECT_EQ(Acts(m.Release(kX2)).size(), 0u);  // a release without an active conversion
}

TEST_F(ButtonTest, TableChangeDuringAHoldDoesNotChangeItsRelease) {
  m.Table({{Index(kX1) | kOn, KeyWord('A', hotkey::kAlt)}});
  m.Press(kX1);
  m.Table({{Index(kX1) | kOn, KeyWord('B', hotkey::kShift)}});
  EXPECT_EQ(Acts(m.Release(kX1)), (std::vector<Act>{{ButtonActionKind::Key, true, KeyWord('A', hotkey::kAlt)},
                                                    {ButtonActionKind::ModifierKey, true, hotkey::kAlt}}));
  m.Table({});
  EXPECT_EQ(m.Press(kX1).count, 0);
}

// A second press while the conversion is active means its release was lost: the keys it holds go
// up first, then the press converts again, so that no modifier stays down.
TEST_F(ButtonTest, PressAfterALostReleaseReleasesTheHeldKeysFirst) {
  m.Table({{Index(kX1) | kOn | kSwallow, KeyWord('A', hotkey::kCtrl)}});
  m.Press(kX1);
  const ButtonActions again = m.Press(kX1);
  EXPECT_TRUE(again.swallow);
  EXPECT_EQ(Acts(again), (std::vector<Act>{{ButtonActionKind::Key, true, KeyWord('A', hotkey::kCtrl)}, kCtrlUp,
                                           kCtrlDown, {ButtonActionKind::Key, false, KeyWord('A', hotkey::kCtrl)}}));
  EXPECT_EQ(Acts(m.Release(kX1)), (std::vector<Act>{{ButtonActionKind::Key, true, KeyWord('A', hotkey::kCtrl)}, kCtrlUp}));
  EXPECT_EQ(m.state.ModifierHolds, 0u);
  m.Table({{Index(kX1) | kOn, KeyWord('A')}});
  m.Press(kX1);
  m.Table({});
  const ButtonActions unconverted = m.Press(kX1);  // the new press finds no pair: it passes
  EXPECT_EQ(Acts(unconverted), (std::vector<Act>{{ButtonActionKind::Key, true, 'A'}}));
  EXPECT_FALSE(unconverted.swallow);
  EXPECT_EQ(m.state.ActiveButtons, 0u);
}

// Conversions that point at each other, run as the system would: every button or wheel turn the
// hook injects comes back through it, marked with the signature and one level deeper. One real click
// (or notch) must end after a bounded number of events with nothing active or held.
TEST(ButtonLoopTest, ConversionsThatPointAtEachOtherEndWithNothingActive) {
  struct Case {
    const char* name;
    std::vector<ButtonPair> pairs;
    int index;  // the real event: a click of this button, or one notch when it is a wheel index
  };
  const uint32_t on = kOn | kSwallow;
  const std::vector<Case> cases = {
      {"X1 and X2 swapped", {{Index(kX1) | on, KeyWord(6)}, {Index(kX2) | on, KeyWord(5)}}, kX1},
      {"X2 and X1 swapped, X2 clicked", {{Index(kX1) | on, KeyWord(6)}, {Index(kX2) | on, KeyWord(5)}}, kX2},
      {"left and right swapped", {{Index(kLeft) | on, KeyWord(2)}, {Index(kRight) | on, KeyWord(1)}}, kLeft},
      {"swapped without swallowing", {{Index(kX1) | kOn, KeyWord(6)}, {Index(kX2) | kOn, KeyWord(5)}}, kX1},
      {"X1 to X2 to middle to X1",
       {{Index(kX1) | on, KeyWord(6)}, {Index(kX2) | on, KeyWord(4)}, {Index(kMiddle) | on, KeyWord(5)}},
       kX1},
      {"wheel directions swapped",
       {{Index(kWheelFwd) | on, KeyWord(hotkey::kVkWheelBack)},
        {Index(kWheelBack) | on, KeyWord(hotkey::kVkWheelForward)}},
       kWheelFwd},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Machine m;
    m.Table(c.pairs);
    std::vector<ButtonEvent> queue;
    const bool wheel = c.index == kWheelFwd || c.index == kWheelBack;
    if (wheel) {
      queue.push_back(ButtonEvent{c.index, false, c.index == kWheelFwd ? 120 : -120});
    } else {
      queue.push_back(ButtonEvent{c.index, false, 0});
      queue.push_back(ButtonEvent{c.index, true, 0});
    }
    int events = 0;
    // Injected events are handled before the next real one, as the hook sees them.
    while (!queue.empty() && events < 1000) {
      const ButtonEvent event = queue.front();
      queue.erase(queue.begin());
      ++events;
      ButtonActions out;
      ButtonStep(m.state, event, ReadMods, out);
      const uint32_t depth = InjectionDepth(InjectionExtraInfo(event.depth));
      std::vector<ButtonEvent> injected;
      for (int i = 0; i < out.count; ++i) {
        const ButtonAction& a = out.items[i];
        if (a.kind == ButtonActionKind::MouseButton) {
          const int index = a.key == 1 ? kLeft : a.key == 2 ? kRight : a.key == 4 ? kMiddle : a.key == 5 ? kX1 : kX2;
          injected.push_back(ButtonEvent{index, a.up, 0, 0, depth});
        } else if (a.kind == ButtonActionKind::MouseWheel) {
          injected.push_back(ButtonEvent{a.delta > 0 ? kWheelFwd : kWheelBack, false, a.delta, 0, depth});
        }
      }
      queue.insert(queue.begin(), injected.begin(), injected.end());
    }
    EXPECT_TRUE(queue.empty());
    EXPECT_LE(events, wheel ? 1 + static_cast<int>(kMaxInjectionDepth) : 8);
    EXPECT_EQ(m.state.ActiveButtons, 0u);
    EXPECT_EQ(m.state.HeldButtons, 0u);
  }
}

TEST(ButtonLoopTest, InjectionSignatureCarriesTheDepthAndIgnoresOtherPrograms) {
  EXPECT_EQ(InjectionDepth(InjectionExtraInfo(0)), 1u);
  EXPECT_EQ(InjectionDepth(InjectionExtraInfo(3)), 4u);
  EXPECT_EQ(InjectionDepth(InjectionExtraInfo(kMaxInjectionDepth)), kMaxInjectionDepth);
  for (uint64_t other : {uint64_t{0}, uint64_t{0xFF515600}, uint64_t{0x1051560001}, uint64_t{0x51570001}}) {
    EXPECT_EQ(InjectionDepth(other), 0u) << std::hex << other;
  }
}

// The lost-release mend is for real presses: an own injected press of an active trigger converts
// nothing and releases nothing.
TEST_F(ButtonTest, OwnInjectedPressOfAnActiveTriggerConvertsNothing) {
  m.Table({{Index(kX1) | kOn | kSwallow, KeyWord('A', hotkey::kCtrl)}});
  m.Press(kX1);
  ButtonActions out;
  ButtonStep(m.state, ButtonEvent{kX1, false, 0, 0, 1}, ReadMods, out);
  EXPECT_EQ(out.count, 0);
  EXPECT_FALSE(out.swallow);
  EXPECT_EQ(m.state.ActiveButtons, ButtonTriggerBit(kX1));
  EXPECT_EQ(Acts(m.Release(kX1)),
            (std::vector<Act>{{ButtonActionKind::Key, true, KeyWord('A', hotkey::kCtrl)}, kCtrlUp}));
}

TEST_F(ButtonTest, PostedConversionsTakeTheTargetAndDropItAtTheLastRelease) {
  const uint32_t post = kOn | btn_cond::kPostMessages;
  m.Table({{Index(kX1) | post, KeyWord('C', hotkey::kCtrl)}, {Index(kX2) | post, KeyWord(1)}});
  ButtonActions a = m.Press(kX1);
  ASSERT_EQ(a.count, 1);
  EXPECT_EQ(a.items[0].kind, ButtonActionKind::PostToWindow);
  EXPECT_TRUE(a.items[0].attach);
  EXPECT_TRUE(a.items[0].takeTarget);
  EXPECT_EQ(m.state.PostModButtons, 0x20u);
  EXPECT_EQ(m.state.ModifierHolds, 0u);  // posted modifiers are never injected
  ButtonActions b = m.Press(kX2);
  EXPECT_FALSE(b.items[0].attach);  // the target is taken already
  ButtonActions c = m.Release(kX2);
  EXPECT_FALSE(c.items[0].attach);  // X1's Ctrl is still held
  EXPECT_FALSE(c.items[0].dropTarget);
  EXPECT_EQ(m.state.PostTargetWnd, 0x1234u);
  ButtonActions d = m.Release(kX1);
  EXPECT_TRUE(d.items[0].up);
  EXPECT_TRUE(d.items[0].attach);
  EXPECT_TRUE(d.items[0].dropTarget);
  EXPECT_EQ(m.state.PostTargetWnd, 0u);
  EXPECT_EQ(m.state.PostModButtons, 0u);
}

TEST_F(ButtonTest, ReleaseAllReleasesInjectedConversionsAndDropsTheTarget) {
  m.Table({{Index(kX1) | kOn | btn_cond::kReport, KeyWord('C', hotkey::kCtrl)},
           {Index(kLeft) | kOn, KeyWord(0x5B)},
           {Index(kX2) | kOn | btn_cond::kPostMessages, KeyWord('V', hotkey::kShift)}});
  m.Press(kX1);
  m.Press(kLeft);
  m.Press(kX2);
  ButtonActions out;
  ButtonReleaseAll(m.state, out);
  EXPECT_EQ(Acts(out), (std::vector<Act>{{ButtonActionKind::ModifierKey, true, hotkey::kWin},
                                         {ButtonActionKind::Key, true, KeyWord('C', hotkey::kCtrl)},
                                         kCtrlUp,
                                         {ButtonActionKind::CancelReport, false, 0},
                                         {ButtonActionKind::DropPostTarget, false, 0}}));
  EXPECT_EQ(m.state.ActiveButtons, 0u);
  EXPECT_EQ(m.state.ModifierHolds, 0u);
  EXPECT_EQ(m.state.PostModButtons, 0u);
  for (const ActiveRecord& r : m.state.ActiveRecords) EXPECT_EQ(r.condition | r.key, 0u);
  ButtonReleaseAll(m.state, out);
  EXPECT_EQ(out.count, 1);  // only the target is left for the window side to drop
}

TEST_F(ButtonTest, SetNumAboveEightNeverWalksPastThePairs) {
  // A pair the walk must never reach lies right after the eight: HeldButtons and ModifierHolds.
  m.state.MouseBtn.setNum = 1000;
  m.state.HeldButtons = 0;
  ButtonActions out = m.Press(kX2);
  EXPECT_EQ(out.count, 0);
  MouseBtnBlock from = {};
  from.btnFlag = 3;
  from.setNum = 9;
  from.pairs[7] = {Index(kX1) | kOn, 'Z'};
  MouseBtnBlock to;
  ButtonCopyBlock(to, from);
  EXPECT_EQ(to.setNum, 8u);
  EXPECT_EQ(to.btnFlag, 3u);
  EXPECT_EQ(to.pairs[7].key, static_cast<uint32_t>('Z'));
  from.setNum = 0xFFFFFFFF;
  ButtonCopyBlock(to, from);
  EXPECT_EQ(to.setNum, 8u);
  from.setNum = 5;
  ButtonCopyBlock(to, from);
  EXPECT_EQ(to.setNum, 5u);
}

// Long random runs: every modifier that goes down goes up exactly once after its last hold, no
// key up without its key down, a release uses what its press used, and releasing everything leaves
// no active conversion. Some releases get lost on the way, as the hook thread meets them: either the
// system saw the release (the hook was bypassed) or another hook swallowed it before the system; the
// watch then releases the conversion (with raw input, in half the runs, also that of a swallowed
// press), never one whose button is still held, and a new press of the button heals the rest.
TEST(ButtonRandomTest, RandomRunsLeaveNothingDown) {
  std::mt19937 rng(12345);
  const uint32_t kKeys[] = {0, 1, 2, 4, 5, 6, 0x0A, 0x0B, 0x10, 0x11, 0x12, 0x5B, 0xA0, 0xA2, 'A', 'C', 0x22};
  auto randomPair = [&]() {
    ButtonPair p;
    p.condition = Index(static_cast<int>(rng() % 7));
    if (rng() % 3 == 0) p.condition |= (rng() % 4 == 0 ? btn_cond::kLeft : 0) | (rng() % 4 == 0 ? btn_cond::kRight : 0);
    if (rng() % 4 == 0) p.condition |= btn_cond::kCtrl;
    if (rng() % 5 != 0) p.condition |= kOn;
    if (rng() % 2 == 0) p.condition |= kSwallow;
    if (rng() % 4 == 0) p.condition |= btn_cond::kPostMessages;
    if (rng() % 4 == 0) p.condition |= btn_cond::kReport;
    p.key = kKeys[rng() % (sizeof(kKeys) / sizeof(kKeys[0]))] | ((rng() % 16) << 8);
    return p;
  };
  for (int run = 0; run < 300; ++run) {
    Machine m;
    auto newTable = [&] {
      std::vector<ButtonPair> pairs;
      for (uint32_t i = 0, n = rng() % 9; i < n; ++i) pairs.push_back(randomPair());
      m.Table(pairs, rng() % 2 ? btn_flag::kWheelToPointer : 0);
    };
    newTable();
    bool modDown[4] = {};          // Shift, Ctrl, Alt, Win as the injected events left them
    std::map<uint32_t, int> keys;  // injected keys and buttons: downs minus ups
    bool physical[7] = {};
    ActiveRecord pressed[7] = {};  // the record each active press took
    const bool raw = run % 2 == 0;
    ButtonWatch watch = {};
    uint32_t systemHeld = 0;  // what the system's key state says
    uint32_t unseen = 0;      // releases no one saw: of a press that went on, taken before the system
    uint32_t now = 0;
    auto apply = [&](const ButtonActions& out, int index, bool up) {
      for (int i = 0; i < out.count; ++i) {
        const ButtonAction& a = out.items[i];
        if (a.kind == ButtonActionKind::ModifierKey) {
          const int slot = a.key == hotkey::kShift ? 0 : a.key == hotkey::kCtrl ? 1 : a.key == hotkey::kAlt ? 2 : 3;
          if (a.up) {
            ASSERT_TRUE(modDown[slot]) << "modifier up twice, run " << run;
          }
          modDown[slot] = !a.up;
        } else if (a.kind == ButtonActionKind::Key || a.kind == ButtonActionKind::MouseButton) {
          keys[hotkey::Vk(a.key)] += a.up ? -1 : 1;
          if (up && index >= 0) {
            EXPECT_EQ(hotkey::Vk(a.key), hotkey::Vk(pressed[index].key)) << "release changed, run " << run;
          }
        } else if (a.kind == ButtonActionKind::PostToWindow) {
          if (up && index >= 0 && !a.up) ADD_FAILURE() << "press posted by a release";
          // The target window may have gone: then the window side takes none.
          if (a.takeTarget) m.state.PostTargetWnd = rng() % 5 == 0 ? 0 : 0x1234;
          if (a.dropTarget) m.state.PostTargetWnd = 0;
        } else if (a.kind == ButtonActionKind::DropPostTarget) {
          m.state.PostTargetWnd = 0;
        }
      }
      for (int slot = 0; slot < 4; ++slot) {
        ASSERT_EQ(modDown[slot], ((m.state.ModifierHolds >> (8 * slot)) & 0xFF) != 0) << "run " << run;
      }
    };
    auto physicalMask = [&] {
      uint32_t mask = 0;
      for (int i = 0; i < 7; ++i) mask |= physical[i] ? ButtonTriggerBit(i) : 0;
      return mask;
    };
    auto look = [&](uint32_t advance) {
      now += advance;
      if (raw) {
        watch.rawSeen = btn_cond::kHeldButtonMask;
        watch.rawHeld = physicalMask();
      }
      const uint32_t lost = WatchLostReleases(watch, m.state, SystemButtons{systemHeld, true}, now, 0);
      for (int index = 0; index < 7; ++index) {
        if ((lost & ButtonTriggerBit(index)) == 0) continue;
        EXPECT_FALSE(physical[index]) << "released a button still held, run " << run;
        ButtonActions out;
        ButtonStep(m.state, ButtonEvent{index, true, 0}, ReadMods, out);
        apply(out, index, true);
      }
    };
    for (int step = 0; step < 400; ++step) {
      g_modifiers = rng() % 3 == 0 ? btn_cond::kCtrl : 0;
      const uint32_t r = rng() % 20;
      if (r == 0) {
        newTable();
        continue;
      }
      if (r == 1) {
        look(rng() % 120);
        continue;
      }
      int index = static_cast<int>(rng() % 7);
      ButtonActions out;
      if (index == kWheelFwd || index == kWheelBack) {
        ButtonStep(m.state, ButtonEvent{index, false, index == kWheelFwd ? 120 : -120}, ReadMods, out);
        apply(out, -1, false);
        EXPECT_EQ(m.state.ActiveButtons & 0x0Cu, 0u);
        continue;
      }
      const bool up = physical[index];
      const uint32_t t = ButtonTriggerBit(index);
      const bool wasActive = (m.state.ActiveButtons & t) != 0;
      if (up && rng() % 6 == 0) {
        if (rng() % 2 == 0) {
          systemHeld &= ~t;
        } else if ((m.state.HeldButtons & t) != 0) {
          unseen |= t;  // another hook took it before the system
        }
        physical[index] = false;
        continue;
      }
      unseen &= ~t;
      ButtonStep(m.state, ButtonEvent{index, up, 0}, ReadMods, out);
      apply(out, up && wasActive ? index : -1, up);
      if (!out.swallow) systemHeld = up ? systemHeld & ~t : systemHeld | t;
      if (!up && (m.state.ActiveButtons & t) != 0) pressed[index] = m.state.ActiveRecords[index];
      physical[index] = !up;
      ASSERT_EQ(m.state.HeldButtons & ~btn_cond::kHeldButtonMask, 0u);
    }
    look(0);
    look(kLostReleaseGraceMs);
    if (raw) {
      EXPECT_EQ((m.state.ActiveButtons | m.state.HeldButtons) & ~physicalMask() & ~unseen, 0u)
          << "a lost release stayed unnoticed, run " << run;
    }
    for (int index = 0; index < 7; ++index) {
      if (!physical[index]) continue;
      ButtonActions out;
      const bool wasActive = (m.state.ActiveButtons & ButtonTriggerBit(index)) != 0;
      ButtonStep(m.state, ButtonEvent{index, true, 0}, ReadMods, out);
      apply(out, wasActive ? index : -1, true);
      physical[index] = false;
    }
    // What no one could see: the next click of the button sets it right.
    for (int index = 0; index < 7; ++index) {
      if (((m.state.ActiveButtons | m.state.HeldButtons) & ButtonTriggerBit(index)) == 0) continue;
      ButtonActions out;
      ButtonStep(m.state, ButtonEvent{index, false, 0}, ReadMods, out);
      apply(out, -1, false);
      ButtonStep(m.state, ButtonEvent{index, true, 0}, ReadMods, out);
      apply(out, -1, true);
    }
    EXPECT_EQ(m.state.ActiveButtons, 0u) << "run " << run;
    EXPECT_EQ(m.state.ModifierHolds, 0u) << "run " << run;
    EXPECT_EQ(m.state.PostModButtons, 0u) << "run " << run;
    EXPECT_EQ(m.state.PostTargetWnd, 0u) << "run " << run;
    EXPECT_EQ(m.state.HeldButtons, 0u) << "run " << run;
    for (int slot = 0; slot < 4; ++slot) EXPECT_FALSE(modDown[slot]) << "run " << run;
    for (const auto& k : keys) {
      // Wheel conversions inject only on the press; every other key and button is balanced.
      if (k.first != 0x0A && k.first != 0x0B) {
        EXPECT_EQ(k.second, 0) << "vk " << k.first << " run " << run;
      }
    }
  }
}

TEST(ButtonPostTest, DoubleClickNeedsSameWindowButtonPlaceAndTime) {
  const ClickMemory memory{0x100, 1, 50, 60, 1000};
  struct Case {
    uint64_t window;
    uint32_t vk;
    int32_t x, y;
    uint32_t time;
    bool dbl;
  } cases[] = {
      {0x100, 1, 50, 60, 1500, true},  {0x100, 1, 46, 58, 1200, true},  {0x100, 1, 53, 63, 1200, true},
      {0x100, 1, 54, 60, 1200, false}, {0x100, 1, 45, 60, 1200, false}, {0x100, 1, 50, 64, 1200, false},
      {0x100, 1, 50, 60, 1501, false}, {0x101, 1, 50, 60, 1200, false}, {0x100, 2, 50, 60, 1200, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsDoubleClick(memory, c.window, c.vk, c.x, c.y, c.time, 4, 4, 500), c.dbl)
        << c.window << " " << c.vk << " " << c.x << "," << c.y << " t" << c.time;
  }
  EXPECT_FALSE(IsDoubleClick(ClickMemory{0, 1, 50, 60, 1000}, 0, 1, 50, 60, 1000, 4, 4, 500));
  // Across the wrap of the tick count.
  EXPECT_TRUE(IsDoubleClick(ClickMemory{0x100, 1, 0, 0, 0xFFFFFF00u}, 0x100, 1, 0, 0, 0x40, 4, 4, 500));
}

TEST(ButtonPostTest, MessagesOfPostedClicksKeysAndWheels) {
  EXPECT_EQ(ClickMessage(1, false, false, true), 0x0201u);
  EXPECT_EQ(ClickMessage(1, false, true, true), 0x0203u);
  EXPECT_EQ(ClickMessage(1, true, true, true), 0x0202u);
  EXPECT_EQ(ClickMessage(2, false, true, false), 0x00A6u);
  EXPECT_EQ(ClickMessage(4, true, false, false), 0x00A8u);
  EXPECT_EQ(ClickMessage(6, false, true, true), 0x020Du);
  EXPECT_EQ(ClickMessage(5, false, false, false), 0x00ABu);
  EXPECT_EQ(ClickMessage(3, false, false, true), 0u);
  EXPECT_EQ(ClickXButtonWord(5), 0x00010000u);
  EXPECT_EQ(ClickXButtonWord(6), 0x00020000u);
  EXPECT_EQ(ClickXButtonWord(1), 0u);

  const KeyMessage down = PostedKeyMessage(KeyWord(0x22, hotkey::kCtrl, 0x51, true), false);
  EXPECT_EQ(down.message, 0x0100u);
  EXPECT_EQ(down.lParam, 0x01510001u);
  const KeyMessage sysUp = PostedKeyMessage(KeyWord('F', hotkey::kAlt, 0x21), true);
  EXPECT_EQ(sysUp.message, 0x0105u);
  EXPECT_EQ(sysUp.lParam, 0xE0210001u);

  EXPECT_EQ(WheelWParam(-120, true, false, 0x23), 0xFF880000u | 0x08u | 0x23u);
  EXPECT_EQ(WheelWParam(120, false, true, 0x0C), 0x00780004u);  // wheel bits are never held
  EXPECT_EQ(PackPoint(-2, 3), 0x0003FFFEu);
}

}  // namespace
}  // namespace qorv
