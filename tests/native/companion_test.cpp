// The companion's restart rule and its handover block.
#include "host/companion.h"

#include <gtest/gtest.h>

#include <vector>

namespace qorv {
namespace {

// Deaths at the given ticks: what the main program does after each.
std::vector<CompanionVerdict> Verdicts(const std::vector<uint32_t>& deaths) {
  CompanionRestarts r = {};
  std::vector<CompanionVerdict> out;
  for (uint32_t t : deaths) out.push_back(CompanionEnded(r, t));
  return out;
}

TEST(CompanionRestarts, AtMostThreeWithinAMinuteThenGivesUpOnce) {
  using V = CompanionVerdict;
  struct Case {
    const char* name;
    std::vector<uint32_t> deaths;
    std::vector<V> verdicts;
  } cases[] = {
      {"three quick deaths are restarted", {0, 10, 20}, {V::Restart, V::Restart, V::Restart}},
      {"the fourth within the minute gives up", {0, 10, 20, 59999}, {V::Restart, V::Restart, V::Restart, V::GiveUp}},
      {"and it stays stopped",
       {0, 10, 20, 30, 200000},
       {V::Restart, V::Restart, V::Restart, V::GiveUp, V::StayStopped}},
      {"the fourth a minute after the first is restarted",
       {0, 10, 20, 60000},
       {V::Restart, V::Restart, V::Restart, V::Restart}},
      {"a sliding minute: the fifth within a minute of the second gives up",
       {0, 30000, 40000, 61000, 89999},
       {V::Restart, V::Restart, V::Restart, V::Restart, V::GiveUp}},
      {"one death a minute for ever",
       {0, 60000, 120000, 180000, 240000, 300000},
       {V::Restart, V::Restart, V::Restart, V::Restart, V::Restart, V::Restart}},
      {"the tick count wraps", {0xFFFFF000u, 0xFFFFF800u, 100, 500}, {V::Restart, V::Restart, V::Restart, V::GiveUp}},
  };
  for (const Case& c : cases) EXPECT_EQ(Verdicts(c.deaths), c.verdicts) << c.name;
}

TEST(CompanionHandover, ReadsWhatWasWrittenAndRefusesABlockLeftHalfWritten) {
  CompanionHandover shared = {};
  CompanionHandover words = {0, 0x11, 0x22, 0x33, 0x10007, 0x17, 0x20, 42, 0x8001, 0x8002, 0x8003};
  CompanionWrite(&shared, words);
  CompanionHandover read = {};
  ASSERT_TRUE(CompanionRead(&shared, read));
  EXPECT_EQ(read.sequence % 2, 0u);
  EXPECT_EQ(read.mainFlag, 0x11u);
  EXPECT_EQ(read.extraFlag, 0x10007u);
  EXPECT_EQ(read.kinds, 0x17u);
  EXPECT_EQ(read.debugThread, 42u);
  EXPECT_EQ(read.mouseNotify, 0x8003u);
  const uint32_t first = read.sequence;
  words.mainFlag = 0x44;
  CompanionWrite(&shared, words);
  ASSERT_TRUE(CompanionRead(&shared, read));
  EXPECT_EQ(read.mainFlag, 0x44u);
  EXPECT_NE(read.sequence, first);

  // A writer that died while writing: the reader gives up and keeps what it had.
  shared.sequence |= 1;
  CompanionHandover kept = read;
  EXPECT_FALSE(CompanionRead(&shared, kept));
  EXPECT_EQ(kept.mainFlag, 0x44u);
}

}  // namespace
}  // namespace qorv
