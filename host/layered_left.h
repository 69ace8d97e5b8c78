// Windows that a restore pass left layered at alpha 255 because their thread did not answer in time
// (changing the style sends to that thread and waits). They carry a mark; the main program looks at
// each marked window again until it can take the style off.
#pragma once
#include <cstdint>

namespace qorv {

struct LeftLayeredFacts {
  bool layered;           // WS_EX_LAYERED still set
  bool wheelTranslucent;  // made translucent by the wheel again since ("qv WndLay" present)
  bool alphaOnly;         // its attributes are our alpha alone: LWA_ALPHA without a colour key
  uint8_t alpha;
};

enum class LeftLayeredStep {
  kForget,      // nothing of ours to undo any more: drop the mark
  kClearIfIdle  // ask whether the window answers; take the style off if it does, keep the mark if not
};

// Anyone who changed the window since the pass (the program itself, the wheel) owns its style now.
inline LeftLayeredStep DecideLeftLayered(const LeftLayeredFacts& f) {
  if (!f.layered || f.wheelTranslucent || !f.alphaOnly || f.alpha != 255) return LeftLayeredStep::kForget;
  return LeftLayeredStep::kClearIfIdle;
}

}  // namespace qorv
