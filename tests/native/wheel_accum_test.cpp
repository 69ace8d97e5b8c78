// Fine wheel deltas collected into whole notches.
#include "hooklib/wheel_accum.h"

#include <gtest/gtest.h>

#include <random>

namespace qorv {
namespace {

struct Step {
  uint64_t target;
  uint32_t direction;
  int32_t delta;
  uint32_t time;
  int32_t notches;  // expected
};

void RunSteps(const char* name, std::initializer_list<Step> steps) {
  WheelAccum acc = {};
  int i = 0;
  for (const Step& s : steps) {
    EXPECT_EQ(WheelAccumulate(acc, s.target, s.direction, s.delta, s.time, 500), s.notches) << name << " step " << i;
    ++i;
  }
}

TEST(WheelAccumTest, SequencesOfDeltas) {
  RunSteps("whole notches convert at once", {{1, 2, 120, 0, 1}, {1, 2, -120, 10, -1}, {1, 2, 120, 20, 1}});
  RunSteps("eight fifteens make one notch", {{1, 2, 15, 0, 0},
                                             {1, 2, 15, 8, 0},
                                             {1, 2, 15, 16, 0},
                                             {1, 2, 15, 24, 0},
                                             {1, 2, 15, 32, 0},
                                             {1, 2, 15, 40, 0},
                                             {1, 2, 15, 48, 0},
                                             {1, 2, 15, 56, 1}});
  RunSteps("four thirties back", {{1, 2, -30, 0, 0}, {1, 2, -30, 1, 0}, {1, 2, -30, 2, 0}, {1, 2, -30, 3, -1}});
  RunSteps("the remainder carries over", {{1, 2, 90, 0, 0}, {1, 2, 90, 1, 1}, {1, 2, 60, 2, 1}});
  RunSteps("two notches in one message", {{1, 2, 240, 0, 2}, {1, 2, -360, 1, -3}});
  RunSteps("a turn back forgets the remainder", {{1, 2, 90, 0, 0}, {1, 2, -30, 1, 0}, {1, 2, -90, 2, -1}});
  RunSteps("another target forgets it", {{1, 2, 90, 0, 0}, {3, 2, 90, 1, 0}, {1, 2, 30, 2, 0}});
  RunSteps("another direction forgets it", {{1, 2, 90, 0, 0}, {1, 4, 90, 1, 0}, {1, 2, 30, 2, 0}});
  RunSteps("a pause longer than the window forgets it", {{1, 2, 90, 0, 0}, {1, 2, 30, 501, 0}, {1, 2, 90, 1001, 1}});
  RunSteps("the tick count may wrap", {{1, 2, 90, 0xFFFFFF00u, 0}, {1, 2, 30, 0x10, 1}});
}

// Random fine deltas of one sign into one target: what is converted plus what is kept is always what
// came in, and the kept part stays below a notch.
TEST(WheelAccumTest, NothingIsLostOrInventedWithinOneRun) {
  std::mt19937 rng(7);
  for (int run = 0; run < 200; ++run) {
    WheelAccum acc = {};
    const int32_t sign = run % 2 == 0 ? 1 : -1;
    int64_t in = 0, converted = 0;
    for (int i = 0; i < 100; ++i) {
      const int32_t delta = sign * static_cast<int32_t>(1 + rng() % 300);
      in += delta;
      converted += static_cast<int64_t>(WheelAccumulate(acc, 9, 1, delta, static_cast<uint32_t>(i), 500)) * 120;
      ASSERT_LT(acc.rest < 0 ? -acc.rest : acc.rest, 120);
      ASSERT_EQ(converted + acc.rest, in) << "run " << run << " step " << i;
    }
  }
}

TEST(WheelAccumTest, PauseComesFromTheGlobalWordOrItsDefault) {
  EXPECT_EQ(WheelAccumPauseMs(0x05000000u), 500u);
  EXPECT_EQ(WheelAccumPauseMs(0x0F3F0BE9u), 1500u);
  EXPECT_EQ(WheelAccumPauseMs(0x003F0BE9u), 500u);
}

}  // namespace
}  // namespace qorv
