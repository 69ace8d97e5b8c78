// Modifier key-ups that the system dropped (a window of a higher integrity level in front): kept
// pending and sent again until the system's key state says the key is up.
#include "hooklib/modifier_watch.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/mouse_btn.h"

namespace qorv {
namespace {

constexpr uint32_t kCtrl = hotkey::kCtrl, kShift = hotkey::kShift, kAlt = hotkey::kAlt, kWin = hotkey::kWin;

uint32_t g_systemDown;  // the modifiers the fake key reader says are down
bool SystemDown(uint32_t bit) { return (g_systemDown & bit) != 0; }

TEST(ModifierUpWatch, LostKeyUpIsSentAgainUntilTheKeyIsUp) {
  ModifierUpWatch watch = {};
  WatchModifierDown(watch, kCtrl, false);
  WatchModifierUp(watch, kCtrl, true);  // dropped: the key is still down
  g_systemDown = kCtrl;
  for (int tick = 0; tick < 3; ++tick) EXPECT_EQ(ModifierUpsToRepeat(watch, SystemDown), kCtrl) << tick;
  g_systemDown = 0;  // a repeated key-up got through
  EXPECT_EQ(ModifierUpsToRepeat(watch, SystemDown), 0u);
  EXPECT_EQ(watch.pending, 0u);
  g_systemDown = kCtrl;  // pressed by the user afterwards: not ours any more
  EXPECT_EQ(ModifierUpsToRepeat(watch, SystemDown), 0u);
}

TEST(ModifierUpWatch, WhatIsWatched) {
  struct Step {
    char what;  // 'd' key down sent, 'u' key-up sent
    uint32_t bit;
    bool systemDown;  // before a key down, after a key-up
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    uint32_t pending;
  };
  const Case cases[] = {
      {"key-up reached the system", {{'d', kCtrl, false}, {'u', kCtrl, false}}, 0},
      {"key-up dropped", {{'d', kCtrl, false}, {'u', kCtrl, true}}, kCtrl},
      {"the user held the key before: not ours to bring up", {{'d', kShift, true}, {'u', kShift, true}}, 0},
      // Two holds of Ctrl: the second finds it down by the first; the first decides.
      {"second hold of a key", {{'d', kCtrl, false}, {'d', kCtrl, true}, {'u', kCtrl, true}}, kCtrl},
      {"a new key down takes the place of a pending key-up",
       {{'d', kAlt, false}, {'u', kAlt, true}, {'d', kAlt, true}},
       0},
      {"each modifier on its own",
       {{'d', kShift, false}, {'d', kWin, false}, {'u', kWin, true}, {'u', kShift, false}},
       kWin},
  };
  for (const Case& c : cases) {
    ModifierUpWatch watch = {};
    for (const Step& s : c.steps) {
      if (s.what == 'd') {
        WatchModifierDown(watch, s.bit, s.systemDown);
      } else {
        WatchModifierUp(watch, s.bit, s.systemDown);
      }
    }
    EXPECT_EQ(watch.pending, c.pending) << c.name;
    g_systemDown = kShift | kCtrl | kAlt | kWin;
    EXPECT_EQ(ModifierUpsToRepeat(watch, SystemDown), c.pending) << c.name;
  }
}

}  // namespace
}  // namespace qorv
