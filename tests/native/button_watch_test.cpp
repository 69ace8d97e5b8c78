// Held conversions whose button release never arrived.
#include "hooklib/button_watch.h"

#include <gtest/gtest.h>

#include <cstring>

#include "common/flags.h"

namespace qorv {
namespace {

constexpr uint32_t kX1Bit = 0x20, kLeftBit = 0x01, kMiddleBit = 0x10;

TEST(ButtonWatchTest, RawReportsTrackEachButton) {
  struct Case {
    uint16_t flags;
    uint32_t held, seen;
  } cases[] = {
      {0x0001, 0x01, 0x01},
      {0x0004, 0x03, 0x03},
      {0x0002, 0x02, 0x03},
      {0x0040 | 0x0100, 0x62, 0x63},
      {0x0080, 0x42, 0x63},
      {0x0010, 0x52, 0x73},
      {0x0020 | 0x0008 | 0x0200, 0x00, 0x73},
      {0x0400, 0x00, 0x73},
  };
  ButtonWatch watch = {};
  for (const Case& c : cases) {
    WatchRawButtons(watch, c.flags);
    EXPECT_EQ(watch.rawHeld, c.held) << std::hex << c.flags;
    EXPECT_EQ(watch.rawSeen, c.seen) << std::hex << c.flags;
  }
}

// One button held: with a conversion when condition is not 0.
SharedState Held(int index, uint32_t condition) {
  SharedState state;
  std::memset(&state, 0, sizeof(state));
  state.ActiveButtons = condition != 0 ? ButtonTriggerBit(index) : 0;
  state.ActiveRecords[index] = {condition, 'A'};
  if ((condition & btn_cond::kSuppressButton) == 0) state.HeldButtons = ButtonTriggerBit(index);
  return state;
}

// Each case: one held conversion, what is known about its button, and the calls at times 0, 100,
// 150 and 1000 that must (or must not) release it.
TEST(ButtonWatchTest, WhenAHeldConversionCountsAsLost) {
  const uint32_t on = btn_cond::kEnabled;
  const uint32_t swallow = btn_cond::kSuppressButton;
  struct Case {
    const char* what;
    int index;
    uint32_t condition;
    uint32_t rawSeen, rawHeld;
    SystemButtons system;
    uint32_t exclude;
    uint32_t releasedAt;  // 0 = never
  } cases[] = {
      {"passed press, system says up", 5, on, 0, 0, {0, true}, 0, 150},
      {"passed press, system says held", 5, on, 0, 0, {kX1Bit, true}, 0, 0},
      {"swallowed press, no raw input: unknown", 5, on | swallow, 0, 0, {0, true}, 0, 0},
      {"swallowed press, raw says up", 5, on | swallow, kX1Bit, 0, {0, true}, 0, 150},
      {"swallowed press, raw says held", 5, on | swallow, kX1Bit, kX1Bit, {0, true}, 0, 0},
      {"a passed press: the system decides, not raw input", 5, on, kX1Bit, 0, {kX1Bit, true}, 0, 0},
      {"raw for another button only", 5, on | swallow, kMiddleBit, 0, {0, true}, 0, 0},
      {"left button while swapped, no raw", 0, on, 0, 0, {0, false}, 0, 0},
      {"left button while swapped, swallowed press, raw", 0, on | swallow, kLeftBit, 0, {0, false}, 0, 150},
      {"left button, not swapped", 0, on, 0, 0, {0, true}, 0, 150},
      {"right button while swapped, no raw", 1, on, 0, 0, {0, false}, 0, 0},
      {"right button, not swapped", 1, on, 0, 0, {0, true}, 0, 150},
      {"the release being handled now", 5, on, 0, 0, {0, true}, kX1Bit, 0},
      {"no conversion: a held button for the conditions", 4, 0, 0, 0, {0, true}, 0, 150},
  };
  for (const Case& c : cases) {
    const SharedState state = Held(c.index, c.condition);
    ButtonWatch watch = {};
    watch.rawSeen = c.rawSeen;
    watch.rawHeld = c.rawHeld;
    const uint32_t t = ButtonTriggerBit(c.index);
    for (uint32_t now : {1000u, 1100u, 1149u, 1150u, 2000u}) {
      const uint32_t lost = WatchLostReleases(watch, state, c.system, now, c.exclude);
      const bool expected = c.releasedAt != 0 && now == 1000 + c.releasedAt;
      EXPECT_EQ(lost, expected ? t : 0u) << c.what << " at " << now;
      if (lost != 0) break;
    }
  }
}

TEST(ButtonWatchTest, ButtonSeenHeldAgainStartsTheWaitAnew) {
  const SharedState state = Held(5, btn_cond::kEnabled);
  ButtonWatch watch = {};
  EXPECT_EQ(WatchLostReleases(watch, state, {0, true}, 0, 0), 0u);
  EXPECT_EQ(WatchLostReleases(watch, state, {kX1Bit, true}, 100, 0), 0u);
  EXPECT_EQ(WatchLostReleases(watch, state, {0, true}, 200, 0), 0u);
  EXPECT_EQ(WatchLostReleases(watch, state, {0, true}, 300, 0), 0u);
  EXPECT_EQ(WatchLostReleases(watch, state, {0, true}, 350, 0), kX1Bit);
  // Across the wrap of the tick count.
  watch = {};
  EXPECT_EQ(WatchLostReleases(watch, state, {0, true}, 0xFFFFFFC0u, 0), 0u);
  EXPECT_EQ(WatchLostReleases(watch, state, {0, true}, 0x60, 0), kX1Bit);
  // Nothing held: nothing watched, no suspect kept.
  SharedState idle;
  std::memset(&idle, 0, sizeof(idle));
  EXPECT_EQ(WatchLostReleases(watch, idle, {0, true}, 0x1000, 0), 0u);
  EXPECT_EQ(watch.suspects, 0u);
  EXPECT_FALSE(WatchNeeded(idle));
  EXPECT_TRUE(WatchNeeded(state));
}

TEST(ButtonWatchTest, ReleaseMessagesOfTheButtons) {
  struct Case {
    int index;
    bool ok;
    uint32_t message, data;
  } cases[] = {{0, true, 0x0202, 0},
               {1, true, 0x0205, 0},
               {2, false, 0, 0},
               {3, false, 0, 0},
               {4, true, 0x0208, 0},
               {5, true, 0x020C, 0x00010000},
               {6, true, 0x020C, 0x00020000},
               {7, false, 0, 0}};
  for (const Case& c : cases) {
    uint32_t message = 0, data = 0;
    ASSERT_EQ(ButtonReleaseMessage(c.index, &message, &data), c.ok) << c.index;
    if (!c.ok) continue;
    EXPECT_EQ(message, c.message);
    EXPECT_EQ(data, c.data);
    ButtonEvent event;
    ASSERT_TRUE(ButtonEventFromMessage(message, data, event));
    EXPECT_EQ(event.index, c.index);
    EXPECT_TRUE(event.up);
  }
}

}  // namespace
}  // namespace qorv
