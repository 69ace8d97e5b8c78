#include "hooklib/mouse.h"

#include <gtest/gtest.h>

#include "common/flags.h"

namespace qorv {
namespace {

constexpr uint64_t kWindow = 0x100, kFocus = 0x200, kChild = 0x300, kTop = 0x400;

// Windows with prepared answers that note each question asked, as bits in the order they may be asked.
struct FakeMdi {
  uint64_t child;
  bool focusInside;
  bool hasPrevious;
  bool answered;
  uint64_t active;
  bool sheet;
  bool focusHasTarget;
  uint32_t asked;

  uint64_t Child() { return asked |= 0x01, child; }
  bool FocusInside() { return asked |= 0x02, focusInside; }
  bool HasPrevious() { return asked |= 0x04, hasPrevious; }
  bool ActiveChild(uint64_t* a) {
    asked |= 0x08;
    *a = active;
    return answered;
  }
  bool IsSheet() { return asked |= 0x10, sheet; }
  bool FocusHasTarget() { return asked |= 0x20, focusHasTarget; }
};

// child, focusInside, hasPrevious, answered, active, sheet, focusHasTarget
FakeMdi Truth(uint64_t child, bool inside, bool previous, bool answered, uint64_t active, bool sheet, bool target) {
  return {child, inside, previous, answered, active, sheet, target, 0};
}

TEST(MdiActivation, BringsForwardAnInactiveChildOnly) {
  const uint32_t mdi = wheel_flag::kMdiActivate;
  const FakeMdi ready = Truth(kChild, false, true, true, 0x999, false, false);
  const struct {
    const char* name;
    MdiIn in;
    FakeMdi windows;
    MdiStep expected;
    uint32_t asked;
  } cases[] = {
      {"inactive child: the first notch only activates", {mdi, 0, false, kWindow, kFocus, kTop, kTop}, ready,
       MdiStep::kBringForwardConsume, 0x1F},
      {"the effective word keeps the notch", {mdi, mdi, false, kWindow, kFocus, kTop, kTop}, ready,
       MdiStep::kBringForward, 0x1F},
      {"off", {0, 0, false, kWindow, kFocus, kTop, kTop}, ready, MdiStep::kNone, 0},
      {"activated already", {mdi, 0, true, kWindow, kFocus, kTop, kTop}, ready, MdiStep::kNone, 0},
      {"over the focus", {mdi, 0, false, kFocus, kFocus, kTop, kTop}, ready, MdiStep::kNone, 0},
      {"no MDI child", {mdi, 0, false, kWindow, kFocus, kTop, kTop}, Truth(0, false, true, true, 0, false, false),
       MdiStep::kNone, 0x01},
      {"focus inside the child", {mdi, 0, false, kWindow, kFocus, kTop, kTop},
       Truth(kChild, true, true, true, 0, false, false), MdiStep::kNone, 0x03},
      {"no focus window: not asked", {mdi, 0, false, kWindow, 0, kTop, kTop}, ready, MdiStep::kBringForwardConsume,
       0x1D},
      {"in front already", {mdi, 0, false, kWindow, kFocus, kTop, kTop},
       Truth(kChild, false, false, true, 0, false, false), MdiStep::kNone, 0x07},
      {"frame did not answer", {mdi, 0, false, kWindow, kFocus, kTop, kTop},
       Truth(kChild, false, true, false, 0, false, false), MdiStep::kNone, 0x0F},
      {"frame names it active", {mdi, 0, false, kWindow, kFocus, kTop, kTop},
       Truth(kChild, false, true, true, kChild, false, false), MdiStep::kNone, 0x0F},
      {"sheet in front with a sheet focused", {mdi, 0, false, kWindow, kFocus, kTop, kTop},
       Truth(kChild, false, true, true, 0, true, true), MdiStep::kBringForwardConsume, 0x3F},
      {"sheet of a program behind", {mdi, 0, false, kWindow, kFocus, kTop, 0x500},
       Truth(kChild, false, true, true, 0, true, true), MdiStep::kNone, 0x1F},
      {"sheet with the focus elsewhere", {mdi, 0, false, kWindow, kFocus, kTop, kTop},
       Truth(kChild, false, true, true, 0, true, false), MdiStep::kNone, 0x3F},
  };
  for (const auto& c : cases) {
    FakeMdi w = c.windows;
    EXPECT_EQ(DecideMdiActivation(c.in, w), c.expected) << c.name;
    EXPECT_EQ(w.asked, c.asked) << c.name;
  }
}

}  // namespace
}  // namespace qorv
