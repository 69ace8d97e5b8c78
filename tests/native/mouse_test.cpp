#include "hooklib/mouse.h"

#include <gtest/gtest.h>

#include "common/flags.h"

namespace qorv {
namespace {

constexpr uint64_t kWindow = 0x100, kFocus = 0x200, kChild = 0x300, kTop = 0x400;

// Windows with prepared answers that note each question asked, as bits in the order they may be asked.
struct FakeMdi {
  uint64_t child = 0;
  bool focusInside = false;
  bool hasPrevious = false;
  bool answered = false;
  uint64_t active = 0;
  bool sheet = false;
  bool focusHasTarget = false;
  uint32_t asked = 0;

  uint64_t Child() { return asked |= 0x01, child; }
  bool FocusInside() { return asked |= 0x02, focusInside; }
  bool HasPrevious() { return asked |= 0x04, hasPrevious; }
  bool ActiveChild(uint64_t* a) { return asked |= 0x08, *a = active, answered; }
  bool IsSheet() { return asked |= 0x10, sheet; }
  bool FocusHasTarget() { return asked |= 0x20, focusHasTarget; }
};

TEST(MdiActivation, BringsForwardAnInactiveChildOnly) {
  const uint32_t mdi = wheel_flag::kMdiActivate;
  const FakeMdi ready = {kChild, false, true, true, 0x999};
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
      {"activated already", {mdi, 0, true, kWindow, kFocus, kTop, kTop}, ready, MdiStep::kNone, 0},
      {"no MDI child", {mdi, 0, false, kWindow, kFocus, kTop, kTop}, {0, false, true, true, 0, false, false},
       MdiStep::kNone, 0x01},
      {"focus inside the child", {mdi, 0, false, kWindow, kFocus, kTop, kTop},
       {kChild, true, true, true, 0, false, false}, MdiStep::kNone, 0x03},
      {"no focus window: not asked", {mdi, 0, false, kWindow, 0, kTop, kTop}, ready, MdiStep::kBringForwardConsume,
       0x1D},
      {"in front already", {mdi, 0, false, kWindow, kFocus, kTop, kTop},
       {kChild, false, false, true, 0, false, false}, MdiStep::kNone, 0x07},
      {"frame names it active", {mdi, 0, false, kWindow, kFocus, kTop, kTop},
       {kChild, false, true, true, kChild, false, false}, MdiStep::kNone, 0x0F},
      {"sheet in front with a sheet focused", {mdi, 0, false, kWindow, kFocus, kTop, kTop},
       {kChild, false, true, true, 0, true, true}, MdiStep::kBringForwardConsume, 0x3F},
      {"sheet of a program behind", {mdi, 0, false, kWindow, kFocus, kTop, 0x500},
       {kChild, false, true, true, 0, true, true}, MdiStep::kNone, 0x1F},
  };
  for (const auto& c : cases) {
    FakeMdi w = c.windows;
    EXPECT_EQ(DecideMdiActivation(c.in, w), c.expected) << c.name;
    EXPECT_EQ(w.asked, c.asked) << c.name;
  }
}

}  // namespace
}  // namespace qorv
