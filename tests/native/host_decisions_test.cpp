// The main program's plain decisions: hotkey words, mouse hotkeys, priority steps, the hook watch,
// the hooks' reports taken apart, levels, volume steps and the elevated-window notice.
#include <gtest/gtest.h>

#include "common/flags.h"
#include "host/events.h"
#include "host/health.h"
#include "host/hotkeys.h"
#include "host/layered_left.h"
#include "host/volume.h"

namespace qorv {
namespace {

TEST(HotkeyBinding, WordsBecomeRegistrations) {
  struct Case {
    uint32_t word;
    HotkeyKind kind;
    uint32_t modifiers;
    uint32_t vk;
  } cases[] = {
      {0, HotkeyKind::None, 0, 0},
      {0x00000F00, HotkeyKind::None, 0, 0},           // modifiers without a key
      {0x01480341, HotkeyKind::Keyboard, 0x3, 0x41},  // Alt+Ctrl+A; scan code and extended bit ignored
      {0x00000C70, HotkeyKind::Keyboard, 0xC, 0x70},  // Shift+Win+F1
      {0x00000204, HotkeyKind::Mouse, 0x2, 4},        // Ctrl+middle button
      {0x00000106, HotkeyKind::Mouse, 0x1, 6},        // Alt+X2
      {0x0000040A, HotkeyKind::Mouse, 0x4, 0x0A},     // Shift+wheel forward
      {0x0000080B, HotkeyKind::Mouse, 0x8, 0x0B},     // Win+wheel back
      {0x00000203, HotkeyKind::Keyboard, 0x2, 3},     // VK_CANCEL is a key, not a button
  };
  for (const Case& c : cases) {
    const HotkeyBinding b = HotkeyBindingOf(c.word);
    EXPECT_EQ(b.kind, c.kind) << std::hex << c.word;
    EXPECT_EQ(b.modifiers, c.modifiers) << std::hex << c.word;
    EXPECT_EQ(b.vk, c.vk) << std::hex << c.word;
  }
}

TEST(HotkeyAction, IdsAreTheTableIndices) {
  EXPECT_EQ(HotkeyActionOf(0), HotkeyAction::Prop);
  EXPECT_EQ(HotkeyActionOf(2), HotkeyAction::LayTop);
  EXPECT_EQ(HotkeyActionOf(12), HotkeyAction::VolMute);
  EXPECT_EQ(HotkeyActionOf(13), HotkeyAction::MouseBtn);
  EXPECT_EQ(HotkeyActionOf(14), HotkeyAction::DbgHook);
  EXPECT_EQ(HotkeyActionOf(15), HotkeyAction::None);  // DebugFlag is no hotkey
  EXPECT_EQ(HotkeyActionOf(-1), HotkeyAction::None);
}

TEST(MouseHotkey, PressFiresAndBothHalvesAreSwallowed) {
  uint32_t words[15] = {};
  words[3] = 0x00000204;   // Ctrl+middle
  words[10] = 0x0000040A;  // Shift+wheel forward
  words[11] = 0x0000040B;  // Shift+wheel back
  EXPECT_TRUE(AnyMouseHotkey(words, 15));
  MouseHotkeyState state = {};
  const MouseEvent middleDown = {MouseEventKind::ButtonDown, 4, 0};
  const MouseEvent middleUp = {MouseEventKind::ButtonUp, 4, 0};

  // Without Ctrl nothing happens, and the release passes too.
  MouseHotkeyResult r = MouseHotkeyStep(state, words, 15, middleDown, 0);
  EXPECT_EQ(r.id, -1);
  EXPECT_FALSE(r.swallow);
  EXPECT_FALSE(MouseHotkeyStep(state, words, 15, middleUp, 0).swallow);

  r = MouseHotkeyStep(state, words, 15, middleDown, 0x2);
  EXPECT_EQ(r.id, 3);
  EXPECT_TRUE(r.swallow);
  // Its release is swallowed even when Ctrl is up by then, and only once.
  EXPECT_TRUE(MouseHotkeyStep(state, words, 15, middleUp, 0).swallow);
  EXPECT_FALSE(MouseHotkeyStep(state, words, 15, middleUp, 0).swallow);

  // Extra modifiers do not match.
  EXPECT_EQ(MouseHotkeyStep(state, words, 15, middleDown, 0x3).id, -1);
  EXPECT_EQ(MouseHotkeyStep(state, words, 15, {MouseEventKind::Wheel, 0, 120}, 0x4).id, 10);
  EXPECT_EQ(MouseHotkeyStep(state, words, 15, {MouseEventKind::Wheel, 0, -30}, 0x4).id, 11);
  EXPECT_EQ(MouseHotkeyStep(state, words, 15, {MouseEventKind::Wheel, 0, 0}, 0x4).id, -1);
  EXPECT_EQ(MouseHotkeyStep(state, words, 15, {MouseEventKind::Other, 0, 0}, 0x4).id, -1);

  const uint32_t keysOnly[2] = {0x00000341, 0};
  EXPECT_FALSE(AnyMouseHotkey(keysOnly, 2));
}

TEST(Priority, StepsStopAtTheEndsAndNeverEnterRealTime) {
  using P = PriorityLevel;
  struct Case {
    P from;
    bool up;
    P to;
  } cases[] = {
      {P::Idle, true, P::BelowNormal},    {P::BelowNormal, true, P::Normal}, {P::Normal, true, P::AboveNormal},
      {P::AboveNormal, true, P::High},    {P::High, true, P::High},          {P::Idle, false, P::Idle},
      {P::Normal, false, P::BelowNormal}, {P::High, false, P::AboveNormal},  {P::RealTime, true, P::RealTime},
      {P::RealTime, false, P::High},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PriorityStep(c.from, c.up), c.to) << static_cast<int>(c.from) << " up " << c.up;
  }
}

TEST(HookWatch, LostOnlyWhenTheCursorMovesUnseenTwiceInARow) {
  HookWatch watch = {};
  EXPECT_EQ(HookWatchStep(watch, 0, 0, 0), HookHealth::NoEvidence);  // nothing moved
  EXPECT_EQ(HookWatchStep(watch, 5, 10, 0), HookHealth::Alive);
  EXPECT_EQ(HookWatchStep(watch, 5, 10, 0), HookHealth::NoEvidence);  // idle user
  EXPECT_EQ(HookWatchStep(watch, 5, 20, 0), HookHealth::NoEvidence);  // one unseen move: not yet
  EXPECT_EQ(HookWatchStep(watch, 7, 30, 0), HookHealth::Alive);       // seen again: starts over
  EXPECT_EQ(HookWatchStep(watch, 7, 40, 0), HookHealth::NoEvidence);
  EXPECT_EQ(HookWatchStep(watch, 7, 40, 0), HookHealth::NoEvidence);  // still: keeps the count
  EXPECT_EQ(HookWatchStep(watch, 7, 50, 5), HookHealth::Lost);
  // After a loss the reinstalled hook gets the same chance.
  EXPECT_EQ(HookWatchStep(watch, 7, 60, 5), HookHealth::NoEvidence);
  // The count wrapping around still counts as events seen.
  watch.eventsAtLastCheck = 0xFFFFFFFF;
  EXPECT_EQ(HookWatchStep(watch, 0, 70, 5), HookHealth::Alive);
}

TEST(Reports, WheelAndWindowReportsTakenApart) {
  // Shift (MK_SHIFT 4) with a notch back at (-5, 300).
  WheelReport w = DecodeWheelReport((0x04u << 24) | (0x88u << 16) | 0x020A, (300 << 16) | (-5 & 0xFFFF));
  EXPECT_TRUE(w.valid);
  EXPECT_EQ(w.delta, -120);
  EXPECT_EQ(w.keys, 4u);
  EXPECT_EQ(w.x, -5);
  EXPECT_EQ(w.y, 300);
  EXPECT_EQ(DecodeWheelReport((0x78u << 16) | 0x020A, 0).delta, 120);
  EXPECT_FALSE(DecodeWheelReport(0x0207, 0).valid);  // a middle click

  struct Case {
    uint64_t wp;
    int64_t lp;
    CallWndReportKind kind;
    int a;
    int b;
  } cases[] = {
      {(8u << 16) | 0x0214, (480 << 16) | 640, CallWndReportKind::Size, 640, 480},
      {(3u << 16) | 0x0047, (200 << 16) | 300, CallWndReportKind::Size, 300, 200},
      {(1u << 24) | (5u << 16) | 0x0115, 77, CallWndReportKind::ThumbPosition, 77, 0},
      {(0u << 24) | (4u << 16) | 0x0114, 12, CallWndReportKind::ThumbPosition, 12, 0},
      {(1u << 24) | 0x000F0000 | 0x0115, 1234, CallWndReportKind::Other, 0, 0},  // drag starts
      {0x0232, 1234, CallWndReportKind::LoopEnd, 0, 0},
      {0x0215, 1234, CallWndReportKind::LoopEnd, 0, 0},
      {0x001F, 1234, CallWndReportKind::ThumbCancelled, 0, 0},
      {0x0231, 1234, CallWndReportKind::Other, 0, 0},
      {(1u << 16) | 0x0086, 1234, CallWndReportKind::Other, 0, 0},
  };
  for (const Case& c : cases) {
    const CallWndReport r = DecodeCallWndReport(c.wp, c.lp);
    EXPECT_EQ(r.kind, c.kind) << std::hex << c.wp;
    if (c.kind == CallWndReportKind::Size) {
      EXPECT_EQ(r.width, c.a);
      EXPECT_EQ(r.height, c.b);
    }
    if (c.kind == CallWndReportKind::ThumbPosition) {
      EXPECT_EQ(r.position, c.a);
    }
  }
}

TEST(Reports, WheelNotchDecisions) {
  const WheelReport up = {true, 120, 0, 10, 10};
  const WheelReport shiftDown = {true, -120, 0x4, 10, 10};
  struct Case {
    uint32_t mainFlag;
    WheelReport report;
    WheelFacts facts;
    int volume;
    bool front;
    bool translucent;
  } cases[] = {
      {main_flag::kTrayVolume, up, {true, false, false}, 1, false, false},
      {0, up, {true, false, false}, 0, false, false},  // switch off
      {main_flag::kDesktopVolume, shiftDown, {false, true, false}, -1, false, false},
      {main_flag::kDesktopVolume, up, {false, true, false}, 0, false, false},  // Shift needed
      {main_flag::kTrayVolume | main_flag::kWheelFront, up, {true, false, true}, 1, false, false},
      {main_flag::kWheelFront, up, {false, false, true}, 0, true, false},
      {main_flag::kTempTranslucent, up, {false, false, true}, 0, false, true},
      {main_flag::kWheelFront | main_flag::kTempTranslucent, up, {false, false, false}, 0, false, false},
      {qorv::kMainFlagDefault, {false, 120, 0, 0, 0}, {true, true, true}, 0, false, false},  // no wheel
  };
  for (const Case& c : cases) {
    const WheelDecision d = DecideWheelReport(c.report, c.mainFlag, c.facts);
    EXPECT_EQ(d.volumeSteps, c.volume) << std::hex << c.mainFlag;
    EXPECT_EQ(d.bringToFront, c.front) << std::hex << c.mainFlag;
    EXPECT_EQ(d.makeTranslucent, c.translucent) << std::hex << c.mainFlag;
  }
  EXPECT_TRUE(WheelNeedsCaption(qorv::kMainFlagDefault));  // 0x04 is on by default
  EXPECT_FALSE(WheelNeedsCaption(main_flag::kTrayVolume | main_flag::kWheelTranslucent));
}

TEST(Levels, AlphaNeverInvisibleNorOverflowing) {
  const uint32_t mask = main_flag::kInitialLevelMask;
  const uint32_t shift = main_flag::kInitialLevelShift;
  EXPECT_EQ(LevelToAlpha(0x05010014, mask, shift), 125);
  EXPECT_EQ(LevelToAlpha(0x01000000, mask, shift), 25);
  EXPECT_EQ(LevelToAlpha(0x09000000, mask, shift), 225);
  EXPECT_EQ(LevelToAlpha(0x00000000, mask, shift), 0);    // no translucency
  EXPECT_EQ(LevelToAlpha(0x0F000000, mask, shift), 225);  // 15 would wrap to 119
}

TEST(Volume, StepsStayOnTheGridAndInRange) {
  EXPECT_FLOAT_EQ(VolumeAfterSteps(0.5f, 1), 0.52f);
  EXPECT_FLOAT_EQ(VolumeAfterSteps(0.5f, -3), 0.44f);
  EXPECT_FLOAT_EQ(VolumeAfterSteps(0.99f, 1), 1.0f);
  EXPECT_FLOAT_EQ(VolumeAfterSteps(0.01f, -1), 0.0f);
  EXPECT_FLOAT_EQ(VolumeAfterSteps(0.0f, -1), 0.0f);
  // Up and down return to where they started.
  for (int i = 0; i < 50; ++i) {
    const float v = static_cast<float>(i) * kVolumeStep;
    EXPECT_FLOAT_EQ(VolumeAfterSteps(VolumeAfterSteps(v, 1), -1), VolumeAfterSteps(v, 0));
  }
}

class FakeVolume : public VolumeControl {
 public:
  bool present = true;
  float level = 0.5f;
  bool muted = false;
  bool GetLevel(float& l) override { return present && (l = level, true); }
  bool SetLevel(float l) override { return present && (level = l, true); }
  bool GetMute(bool& m) override { return present && (m = muted, true); }
  bool SetMute(bool m) override { return present && (muted = m, true); }
};

TEST(Volume, HotkeysStepAndMuteTheDevice) {
  FakeVolume v;
  EXPECT_TRUE(VolumeToggleMute(v));
  EXPECT_TRUE(v.muted);
  EXPECT_TRUE(VolumeStep(v, -1));  // down keeps the mute
  EXPECT_TRUE(v.muted);
  EXPECT_FLOAT_EQ(v.level, 0.48f);
  EXPECT_TRUE(VolumeStep(v, 1));  // up ends it
  EXPECT_FALSE(v.muted);
  EXPECT_FLOAT_EQ(v.level, 0.5f);
  v.present = false;  // no device (as under Wine): reported, nothing else
  EXPECT_FALSE(VolumeStep(v, 1));
  EXPECT_FALSE(VolumeToggleMute(v));
}

TEST(Elevation, NoticeOnceAndOnlyWhenItMatters) {
  ElevationNotice notice = {};
  EXPECT_FALSE(ElevationNoticeStep(notice, false, ElevationState::Normal));
  EXPECT_FALSE(ElevationNoticeStep(notice, false, ElevationState::Unknown));
  EXPECT_FALSE(ElevationNoticeStep(notice, true, ElevationState::Elevated));  // we are elevated too
  EXPECT_TRUE(ElevationNoticeStep(notice, false, ElevationState::Elevated));
  EXPECT_FALSE(ElevationNoticeStep(notice, false, ElevationState::Elevated));
}

// A window left layered at alpha 255 is only ours to clear while nobody has changed it since.
TEST(LeftLayered, ClearedOnlyWhileStillAsThePassLeftIt) {
  const LeftLayeredFacts asLeft = {true, false, true, 255};
  EXPECT_EQ(DecideLeftLayered(asLeft), LeftLayeredStep::kClearIfIdle);
  LeftLayeredFacts changed[] = {asLeft, asLeft, asLeft, asLeft};
  changed[0].layered = false;          // its program took the style off
  changed[1].wheelTranslucent = true;  // the wheel made it translucent again
  changed[2].alphaOnly = false;        // its program added a colour key
  changed[3].alpha = 254;              // or an alpha of its own
  for (const auto& f : changed) EXPECT_EQ(DecideLeftLayered(f), LeftLayeredStep::kForget);
}

}  // namespace
}  // namespace qorv
