#include "hooklib/callwnd.h"

#include <gtest/gtest.h>

#include <string>

#include "common/flags.h"

namespace qorv {
namespace {

constexpr uint32_t kStyleCaption = 0x00C00000;
constexpr uint32_t kThickFrame = 0x00040000;
constexpr uint32_t kDlgFrame = 0x00400000;

TEST(CallWndDecisions, PerWindowEntryReplacesTheWindowWordOnlyWithItsBit) {
  EXPECT_EQ(EffectiveWndFlag(0x050A0101, entry_flag::kUseWnd, 0x00000001), 0x00000001u);
  EXPECT_EQ(EffectiveWndFlag(0x050A0101, entry_flag::kUseWnd, 0), 0u) << "an entry can switch everything off";
  EXPECT_EQ(EffectiveWndFlag(0x050A0101, 0x00000001, 0x00000001), 0x050A0101u);
  EXPECT_EQ(EffectiveWndFlag(0x050A0101, 0, 0), 0x050A0101u);
}

TEST(CallWndDecisions, SnappingSetUp) {
  const uint32_t snap = wnd_flag::kSnap;
  EXPECT_TRUE(SnapAllowed({snap, 10, false, kStyleCaption}));
  EXPECT_FALSE(SnapAllowed({0, 10, false, kStyleCaption}));
  EXPECT_FALSE(SnapAllowed({snap, 0, false, kStyleCaption})) << "no distance";
  EXPECT_FALSE(SnapAllowed({snap, 10, true, kStyleCaption})) << "another window is subclassed";
  // Children: only with a sizing or dialog frame, and not with the no-child bit.
  EXPECT_FALSE(SnapAllowed({snap, 10, false, kStyleChild}));
  EXPECT_TRUE(SnapAllowed({snap, 10, false, kStyleChild | kThickFrame}));
  EXPECT_TRUE(SnapAllowed({snap, 10, false, kStyleChild | kDlgFrame}));
  EXPECT_FALSE(SnapAllowed({snap | wnd_flag::kNoSnapChildWnd, 10, false, kStyleChild | kThickFrame}));
  EXPECT_TRUE(SnapAllowed({snap | wnd_flag::kNoSnapChildWnd, 10, false, kThickFrame})) << "top-level windows";
}

TEST(CallWndDecisions, MoveAlphaLevelsAndWhatPreventsIt) {
  const uint32_t move = wnd_flag::kMoveTranslucent;
  EXPECT_EQ(MoveAlphaFor({move | 0x05000000, 0, false, false, false}), 125);
  EXPECT_EQ(MoveAlphaFor({wnd_flag::kSizeTranslucent | 0x09000000, 0, false, false, false}), 225);
  // A per-window word without a level takes the global word's level; both 0 give none.
  EXPECT_EQ(MoveAlphaFor({move, 0x03000000, false, false, false}), 75);
  EXPECT_EQ(MoveAlphaFor({move, 0, false, false, false}), 0);
  EXPECT_EQ(MoveAlphaFor({0x05000000, 0x05000100, false, false, false}), 0) << "bits of the word in force";
  EXPECT_EQ(MoveAlphaFor({move | 0x05000000, 0, true, false, false}), 0) << "layered by its own program";
  EXPECT_EQ(MoveAlphaFor({move | 0x05000000, 0, false, true, false}), 0) << "Shift or Ctrl";
  EXPECT_EQ(MoveAlphaFor({move | 0x05000000, 0, false, false, true}), 125) << "DirectX matters only with its bit";
  EXPECT_EQ(MoveAlphaFor({move | wnd_flag::kNoDirectXTranslucent | 0x05000000, 0, false, false, true}), 0);
}

TEST(CallWndDecisions, CompositionWindowIsNeverMadeTranslucentByAMove) {
  MoveAlphaFacts facts = {wnd_flag::kMoveTranslucent | wnd_flag::kSizeTranslucent | 0x05000000, 0, false, false, false};
  facts.noRedirection = true;
  EXPECT_EQ(MoveAlphaFor(facts), 0);
}

// The subclass as a fake window and library answer; what the decision asked is recorded.
struct FakeSubclass {
  bool buried, pins, ours;
  std::string asked;
  bool Buried() {
    asked += "B";
    return buried;
  }
  bool Pin() {
    asked += "P";
    return pins;
  }
  bool Ours() {
    asked += "O";
    return ours;
  }
};

TEST(CallWndDecisions, NoSubclassWithoutThePinAndNoPinWhileASubclassIsBuried) {
  struct Case {
    bool buried, pins, ours;
    SubclassStep step;
    const char* asked;
  };
  const Case cases[] = {
      {false, true, false, SubclassStep::kSubclass, "BPO"},
      {false, true, true, SubclassStep::kOursAlready, "BPO"},
      {false, false, false, SubclassStep::kNone, "BP"},  // pinning failed: never subclassed
      {false, false, true, SubclassStep::kNone, "BP"},
      {true, true, false, SubclassStep::kNone, "B"},  // the library is not pinned for nothing
  };
  for (const Case& c : cases) {
    FakeSubclass f = {c.buried, c.pins, c.ours, ""};
    EXPECT_EQ(SubclassStepFor(f), c.step) << c.buried << c.pins << c.ours;
    EXPECT_EQ(f.asked, c.asked) << c.buried << c.pins << c.ours;
  }
}

}  // namespace
}  // namespace qorv
