#include "hooklib/wheel.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/flags.h"

namespace qorv {
namespace {

// A wheel word with the given counts and bits.
constexpr uint32_t Word(uint32_t bits, uint32_t vertCount, uint32_t horzCount = 0) {
  return bits | (vertCount << 16) | (horzCount << 20);
}
constexpr uint32_t kVert = wheel_flag::kVertScroll;
constexpr uint32_t kShiftHorz = wheel_flag::kShiftHorzScroll;
constexpr uint32_t kCtrlPage = wheel_flag::kCtrlPage;

TEST(WheelChoice, KeyStateChoosesDirection) {
  EXPECT_EQ(ScrollModeDirection(Word(kVert | kShiftHorz, 3), 0), kDirVert);
  EXPECT_EQ(ScrollModeDirection(Word(kVert | kShiftHorz, 3), kMkShift), kDirHorz);
  EXPECT_EQ(ScrollModeDirection(Word(kVert, 3), kMkShift), 0u);
  EXPECT_EQ(ScrollModeDirection(Word(kShiftHorz, 3), 0), 0u);  // plain conversion off
  EXPECT_EQ(ScrollModeDirection(Word(kVert, 3), kMkControl), 0u);  // Ctrl blocks ...
  EXPECT_EQ(ScrollModeDirection(Word(kVert | kCtrlPage, 3), kMkControl), kDirVert);  // ... unless it pages
  EXPECT_EQ(ScrollModeDirection(Word(kVert, 3), kMkShift | kMkControl), 0u);
  // Key mode: a horizontal bar zone chooses horizontal keys even without Shift conversion.
  EXPECT_EQ(KeyModeDirection(Word(0, 3), 0, kDirHorz), kDirHorz);
  EXPECT_EQ(KeyModeDirection(Word(kVert, 3), 0, kDirHorz), kDirVert);
  EXPECT_EQ(KeyModeDirection(Word(0, 3), 0, kDirVert), kDirVert);
  EXPECT_EQ(KeyModeDirection(Word(0, 3), 0, 0), 0u);
}

struct CountCase {
  uint32_t word;
  bool vertical;
  uint32_t zone;
  uint32_t keys;
  bool targetIsMessageWindow;
  int expected;
};

TEST(WheelCount, LinesPagesTogglesAndJumps) {
  const CountCase cases[] = {
      {Word(kVert, 3), true, 0, 0, true, 3},
      {Word(kVert | kCtrlPage, 3), true, 0, kMkControl, true, 15},    // Ctrl: lines become a page
      {Word(kVert | kCtrlPage, 15), true, 0, kMkControl, true, 3},    // and a page three lines
      {Word(kVert, 3), true, 0, kMkControl, true, 3},                 // without the bit Ctrl changes nothing
      {Word(kShiftHorz, 0, 7), false, 0, kMkShift, true, 7},
      {Word(kVert, 3), true, kDirVert, kMkShift | kMkControl, true, kCountJump},
      {Word(kVert, 3), true, kDirVert, kMkMButton, false, kCountJump},
      {Word(kVert, 3), true, kDirVert, 0, true, 15},                   // own vertical bar: plain wheel pages
      {Word(kVert, 3), true, kDirVert, kMkShift, true, 3},
      {Word(0, 3), true, kDirVert, 0, true, 3},                        // no plain conversion: keeps lines
      {Word(0, 3), true, kDirVert, kMkShift, true, 15},
      {Word(kVert, 3), true, kDirVert, 0, false, 3},                   // a bar control beside the window
      {Word(kVert, 3), true, kDirVert, kMkControl, false, 15},
      {Word(kVert, 0), true, 0, 0, true, 0},
  };
  for (const CountCase& c : cases) {
    EXPECT_EQ(ScrollCount(c.word, c.vertical, c.zone, c.keys, c.targetIsMessageWindow), c.expected)
        << std::hex << c.word << " zone " << c.zone << " keys " << c.keys;
  }
}

TEST(WheelCount, StepCodes) {
  EXPECT_EQ(ScrollStepFor(3, -120, false).code, kSbLineDown);
  EXPECT_EQ(ScrollStepFor(3, -120, false).repeat, 3);
  EXPECT_EQ(ScrollStepFor(3, 120, false).code, kSbLineUp);
  EXPECT_EQ(ScrollStepFor(15, -120, false).code, kSbPageDown);
  EXPECT_EQ(ScrollStepFor(15, 120, false).code, kSbPageUp);
  // At the top a page up becomes three lines up.
  EXPECT_EQ(ScrollStepFor(15, 120, true).code, kSbLineUp);
  EXPECT_EQ(ScrollStepFor(15, 120, true).repeat, 3);
  EXPECT_EQ(ScrollStepFor(kCountJump, 120, false).code, kSbTop);
  EXPECT_EQ(ScrollStepFor(kCountJump, -120, true).code, kSbBottom);
  EXPECT_EQ(ScrollStepFor(kCountJump, -120, true).repeat, 1);
  EXPECT_TRUE(NeedsPosition(15, 120));
  EXPECT_FALSE(NeedsPosition(15, -120));
  EXPECT_FALSE(NeedsPosition(kCountJump, 120));
  EXPECT_FALSE(NeedsPosition(3, 120));
}

TEST(WheelKeys, CursorKeySteps) {
  bool rampable = false;
  KeyStep s = KeyStepFor(Word(kVert, 3), kDirVert, 0, 0, -120, &rampable);
  EXPECT_EQ(s.key, kVkDown);
  EXPECT_EQ(s.repeat, 3);
  EXPECT_TRUE(rampable);
  s = KeyStepFor(Word(kVert, 15), kDirVert, 0, 0, 120, &rampable);
  EXPECT_EQ(s.key, kVkPrior);
  EXPECT_EQ(s.repeat, 1);
  EXPECT_FALSE(rampable);
  s = KeyStepFor(Word(kVert, 3), kDirVert, kDirVert, kMkShift | kMkControl, 120, &rampable);
  EXPECT_EQ(s.key, kVkHome);
  s = KeyStepFor(Word(kVert, 3), kDirVert, kDirVert, kMkShift, -120, &rampable);
  EXPECT_EQ(s.key, kVkNext);  // Shift on the bar zone toggles to a page
  s = KeyStepFor(Word(kVert, 3), kDirVert, kDirVert, kMkControl, -120, &rampable);
  EXPECT_EQ(s.key, kVkNext);  // and so does Ctrl alone
  s = KeyStepFor(Word(kVert, 3), kDirVert, 0, kMkControl, -120, &rampable);
  EXPECT_EQ(s.key, kVkDown);  // off the zone Ctrl pages only with its switch
  EXPECT_EQ(s.repeat, 3);
  // Horizontal: a page is six keys; precise scrolling doubles the count.
  s = KeyStepFor(Word(0, 0, 15), kDirHorz, 0, 0, -120, &rampable);
  EXPECT_EQ(s.key, kVkRight);
  EXPECT_EQ(s.repeat, 6);
  s = KeyStepFor(Word(wheel_flag::kPrecise, 0, 3), kDirHorz, 0, 0, 120, &rampable);
  EXPECT_EQ(s.key, kVkLeft);
  EXPECT_EQ(s.repeat, 6);
  EXPECT_TRUE(rampable);
  s = KeyStepFor(Word(0, 0, 0), kDirHorz, 0, kMkShift, 120, &rampable);
  EXPECT_EQ(s.repeat, 0);  // a zero count posts nothing
  EXPECT_FALSE(rampable);
}

TEST(PreciseRamp, ClimbsToCountAndRestarts) {
  RampMemo memo = {0, 0, 0};
  const uint32_t timeField = 5;  // 500 ms
  std::vector<int> seen;
  uint32_t time = 100000;
  for (int i = 0; i < 7; ++i) {
    const int repeat = PreciseRepeat(5, kSbLineDown, time, memo, timeField);
    seen.push_back(repeat);
    memo = {repeat, kSbLineDown, time};
    time += 100;
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5, 5, 5}));
  EXPECT_EQ(PreciseRepeat(5, kSbLineDown, memo.time + 501, memo, timeField), 1);  // a pause
  EXPECT_EQ(PreciseRepeat(5, kSbLineDown, memo.time + 500, memo, timeField), 5);  // exactly the window still counts
  EXPECT_EQ(PreciseRepeat(5, kSbLineUp, time, memo, timeField), 1);          // a change of direction
  memo = {3, kSbLineDown, 0xFFFFFF00u};
  EXPECT_EQ(PreciseRepeat(5, kSbLineDown, 0x10, memo, timeField), 4);        // the tick count wraps
  EXPECT_EQ(PreciseRepeat(2, kSbLineDown, 0x10, memo, timeField), 2);        // capped at the count
}

TEST(MessageTable, RolledUpWindowsCannotBeSizedByTheirFrame) {
  EXPECT_EQ(RolledUpHitCode(13, false), 10);
  EXPECT_EQ(RolledUpHitCode(16, false), 10);
  EXPECT_EQ(RolledUpHitCode(14, false), 11);
  EXPECT_EQ(RolledUpHitCode(17, false), 11);
  EXPECT_EQ(RolledUpHitCode(12, false), 0);
  EXPECT_EQ(RolledUpHitCode(15, false), 0);
  EXPECT_EQ(RolledUpHitCode(2, false), 2);
  EXPECT_EQ(RolledUpHitCode(2, true), 0);
  EXPECT_EQ(RolledUpHitCode(10, true), 10);
}

TEST(Notifications, Packing) {
  EXPECT_EQ(NotificationAWParam(0x0208, 0x00120010), 0x12100208u);
  EXPECT_EQ(NotificationAWParam(0x00A7, 2), 0x000200A7u);
  EXPECT_EQ(NotificationBWParam(0x0002), 0x00020204u);
  EXPECT_EQ(NotificationCWParam(0x08, -120), 0x0888020Au);
  EXPECT_EQ(NotificationCWParam(0, 120), 0x0078020Au);
  EXPECT_EQ(PackPoint(-5, 300), 0x012CFFFBu);  // negative monitor coordinates keep 16 bits
}

TEST(MouseRouting, EffectiveWordAndRoute) {
  using namespace wheel_flag;
  const uint32_t g = kForwardToPointer | kActivate | kMdiActivate;
  EXPECT_EQ(MouseEffectiveWord(g, 0, 0x55), kForwardToPointer);
  EXPECT_EQ(MouseEffectiveWord(g, 0x40, 0x55), kForwardToPointer);  // entry without option bit 0
  EXPECT_EQ(MouseEffectiveWord(g, 0x41, 0x0), 0u);                  // entry that stops forwarding
  EXPECT_EQ(DecideWheelRoute(kForwardToPointer, g, 6, true, false, false), WheelRoute::kRepostToPointer);
  EXPECT_EQ(DecideWheelRoute(kForwardToPointer, g, 6, true, false, true), WheelRoute::kPass);  // already there
  EXPECT_EQ(DecideWheelRoute(0, g, 6, true, false, false), WheelRoute::kPass);
  EXPECT_EQ(DecideWheelRoute(kForwardToPointer, 0, 6, true, false, false), WheelRoute::kPass);  // both words
  EXPECT_EQ(DecideWheelRoute(kForwardToPointer, g, 4, true, false, false), WheelRoute::kPass);  // old systems
  EXPECT_EQ(DecideWheelRoute(kForwardToPointer, g, 6, false, false, false), WheelRoute::kPass);
  const uint32_t transparent = kForwardToPointer | kForwardTransparent;
  EXPECT_EQ(DecideWheelRoute(transparent, g, 6, true, false, true), WheelRoute::kRepostToDeep);
  EXPECT_EQ(DecideWheelRoute(transparent, g, 6, true, true, false), WheelRoute::kPass);
  EXPECT_TRUE(WantsDeepTarget(transparent, 0, 5));
  EXPECT_FALSE(WantsDeepTarget(transparent, 0, 4));
  EXPECT_TRUE(WantsDeepTarget(kForwardTransparent, kActivate, 4));
  EXPECT_FALSE(WantsDeepTarget(kForwardToPointer, kActivate, 6));
}

TEST(MouseRouting, ActivationRules) {
  EXPECT_EQ(ForegroundRuleForClasses(u"ComboLBox", u"Shell_TrayWnd"), 0);
  EXPECT_EQ(ForegroundRuleForClasses(u"comboLBOX", u"X"), 0);
  EXPECT_EQ(ForegroundRuleForClasses(u"ToolbarWindow32", u"Shell_TrayWnd"), 2);
  EXPECT_EQ(ForegroundRuleForClasses(u"SysListView32", u"progman"), 2);
  EXPECT_EQ(ForegroundRuleForClasses(u"X", u"BaseBar"), 2);
  EXPECT_EQ(ForegroundRuleForClasses(u"Edit", u"Notepad"), 1);
  EXPECT_EQ(ForegroundRuleForClasses(u"ComboLBoxEx", u"Notepad"), 1);  // exact names only
  EXPECT_TRUE(ActivationHitAllowed(1));
  for (int hit : {4, 5, 6, 7}) EXPECT_TRUE(ActivationHitAllowed(hit)) << hit;
  for (int hit : {0, 2, 3, 8, 12, -1}) EXPECT_FALSE(ActivationHitAllowed(hit)) << hit;
}

}  // namespace
}  // namespace qorv
