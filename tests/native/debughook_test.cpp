// The debug hook's verdict for each hook kind about to be called.
#include "hooklib/debughook.h"

#include <gtest/gtest.h>

#include "common/flags.h"

namespace qorv {
namespace {

TEST(DebugHookTest, BlocksExactlyTheKindsOfTheMask) {
  const uint32_t mask = debug_flag::HookKindBit(4) | debug_flag::HookKindBit(14) | debug_flag::HookKindBit(-1);
  EXPECT_EQ(mask, 0x00008021u);
  for (int kind = -1; kind <= 14; ++kind) {
    const bool blocked = kind == 4 || kind == 14 || kind == -1;
    EXPECT_EQ(DebugDecide(mask, 0, kind), blocked ? DebugVerdict::Block : DebugVerdict::PassOn) << kind;
    EXPECT_EQ(DebugDecide(mask | kDebugMaskNoPassOn, 0, kind), blocked ? DebugVerdict::Block : DebugVerdict::Allow)
        << kind;
  }
}

TEST(DebugHookTest, NegativeCodeAlwaysPassesOn) {
  EXPECT_EQ(DebugDecide(0xFFFFFFFF, -1, 4), DebugVerdict::PassOn);
  EXPECT_EQ(DebugDecide(0, 0, 7), DebugVerdict::PassOn);
}

TEST(DebugHookTest, KindsAreTakenModuloThirtyTwo) {
  // WH_MSGFILTER as a zero-extended 32-bit wParam lands on bit 0 like -1 does.
  EXPECT_EQ(DebugDecide(0x00000001, 0, 0xFFFFFFFFll), DebugVerdict::Block);
  EXPECT_EQ(DebugDecide(0x00000020, 0, 4 + 32), DebugVerdict::Block);
  EXPECT_EQ(DebugDecide(0x00000400, 0, 9), DebugVerdict::Block);  // WH_DEBUG itself
}

}  // namespace
}  // namespace qorv
