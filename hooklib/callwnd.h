// Decisions of the window-procedure hook at the start of a move/size loop, as plain code: which
// window flag word is in force, whether the loop is snapped, and the alpha while it moves.
#pragma once
#include <cstdint>

#include "common/map_table.h"

namespace qorv {

constexpr uint32_t kStyleChild = 0x40000000;            // WS_CHILD
constexpr uint32_t kStyleSizingFrame = 0x00440000;      // WS_THICKFRAME | WS_DLGFRAME

// entryFlag and entryWndFlag are the per-window lookup's result (0 when the table is off).
uint32_t EffectiveWndFlag(uint32_t wndFlag, uint32_t entryFlag, uint32_t entryWndFlag);

struct SnapSetUpFacts {
  uint32_t effWndFlag;
  int32_t snapPixels;   // byte 2 of the global WndFlag
  bool snapWndLive;     // another window of the process is subclassed for snapping
  uint32_t style;       // the window's style
};
// Whether the loop is snapped (before asking the window for its tracking sizes).
bool SnapAllowed(const SnapSetUpFacts& facts);

struct MoveAlphaFacts {
  uint32_t effWndFlag;
  uint32_t wndFlag;     // the global word, whose level stands in for a per-window level of 0
  bool layered;         // the window is layered already (by its own program)
  bool shiftOrCtrl;     // Shift or Ctrl is down as the loop starts
  bool directX;         // DirectX is in use in the process
  bool noRedirection = false;  // WS_EX_NOREDIRECTIONBITMAP: composed by the program, nothing to fade
};
// Alpha for the loop's translucency, 0 for none.
uint8_t MoveAlphaFor(const MoveAlphaFacts& facts);

enum class SubclassStep : uint8_t {
  kNone,         // not subclassed in this loop
  kOursAlready,  // the window's procedure is the snapping procedure already
  kSubclass,     // install the snapping procedure
};
// Whether the window is subclassed for snapping. Facts, each asked when needed:
//   bool Buried()  an earlier subclass stays in another window's chain under someone else's procedure
//   bool Pin()     pins the library in the process (for good); false when that failed
//   bool Ours()    the window's procedure is the snapping procedure
// A subclass must never outlive the library: without the pin there is none.
template <typename Facts>
SubclassStep SubclassStepFor(Facts& f) {
  if (f.Buried() || !f.Pin()) return SubclassStep::kNone;
  return f.Ours() ? SubclassStep::kOursAlready : SubclassStep::kSubclass;
}

}  // namespace qorv
