// The mouse hook's MDI activation as plain code: whether a wheel over an inactive MDI child brings
// that child forward. The glue fills in the facts it asks for and does the sends and posts. Window
// handles are opaque numbers, 0 for none.
#pragma once
#include <cstdint>

#include "hooklib/facts.h"

namespace qorv {

// Facts the decision may ask for.
constexpr uint32_t kMdiFactChild = 0x01;        // the window an activation brings forward
constexpr uint32_t kMdiFactFocusInside = 0x02;  // the focus window lies inside that child
constexpr uint32_t kMdiFactPrevious = 0x04;     // a window lies above the child (GW_HWNDPREV)
constexpr uint32_t kMdiFactActive = 0x08;       // WM_MDIGETACTIVE asked of the child's parent
constexpr uint32_t kMdiFactSheet = 0x10;        // the child's class is "EXCEL7"
constexpr uint32_t kMdiFactFocusTarget = 0x20;  // the focus window has an activation target itself

struct MdiFacts {
  void (*fill)(void* context, uint32_t fact, MdiFacts* facts);
  void* context;
  uint32_t asked;
  uint64_t child;  // an "EXCEL7" window itself, else the MDI child holding the window
  bool focusInside;
  bool hasPrevious;
  bool answered;    // WM_MDIGETACTIVE was answered in time
  uint64_t active;  // its answer
  bool sheet;
  bool focusHasTarget;
};

struct MdiIn {
  uint32_t global;     // WheelFlag
  uint32_t effective;  // the effective wheel word
  bool activated;      // the wheel's activation step acted already
  uint64_t window;     // under the cursor
  uint64_t focus;      // the window the wheel was about to reach
  uint64_t top;        // top-level window of the window under the cursor
  uint64_t foreground;
};

enum class MdiStep : uint8_t {
  kNone,
  kBringForward,         // raise the child and post it WM_CHILDACTIVATE; the wheel goes on
  kBringForwardConsume,  // the same, and the wheel is discarded: the first notch only activates
};

MdiStep DecideMdiActivation(const MdiIn& in, MdiFacts& facts);

}  // namespace qorv
