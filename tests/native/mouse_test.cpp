#include "hooklib/mouse.h"

#include <gtest/gtest.h>

#include "common/flags.h"

namespace qorv {
namespace {

constexpr uint64_t kWindow = 0x100, kFocus = 0x200, kChild = 0x300, kTop = 0x400;

void FillMdi(void* context, uint32_t fact, MdiFacts* f) {
  const MdiFacts& t = *static_cast<const MdiFacts*>(context);
  switch (fact) {
    case kMdiFactChild: f->child = t.child; break;
    case kMdiFactFocusInside: f->focusInside = t.focusInside; break;
    case kMdiFactPrevious: f->hasPrevious = t.hasPrevious; break;
    case kMdiFactActive: f->answered = t.answered, f->active = t.active; break;
    case kMdiFactSheet: f->sheet = t.sheet; break;
    case kMdiFactFocusTarget: f->focusHasTarget = t.focusHasTarget; break;
  }
}

// child, focusInside, hasPrevious, answered, active, sheet, focusHasTarget
MdiFacts Truth(uint64_t child, bool inside, bool previous, bool answered, uint64_t active, bool sheet, bool target) {
  return {nullptr, nullptr, 0, child, inside, previous, answered, active, sheet, target};
}

TEST(MdiActivation, BringsForwardAnInactiveChildOnly) {
  const uint32_t mdi = wheel_flag::kMdiActivate;
  const MdiFacts ready = Truth(kChild, false, true, true, 0x999, false, false);
  const struct {
    const char* name;
    MdiIn in;
    MdiFacts truth;
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
       MdiStep::kNone, kMdiFactChild},
      {"focus inside the child", {mdi, 0, false, kWindow, kFocus, kTop, kTop},
       Truth(kChild, true, true, true, 0, false, false), MdiStep::kNone, kMdiFactChild | kMdiFactFocusInside},
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
    MdiFacts f = {};
    f.fill = FillMdi;
    f.context = const_cast<MdiFacts*>(&c.truth);
    EXPECT_EQ(DecideMdiActivation(c.in, f), c.expected) << c.name;
    EXPECT_EQ(f.asked, c.asked) << c.name;
  }
}

}  // namespace
}  // namespace qorv
