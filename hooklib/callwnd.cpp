#include "hooklib/callwnd.h"

#include "common/flags.h"

namespace qorv {

uint32_t EffectiveWndFlag(uint32_t wndFlag, uint32_t entryFlag, uint32_t entryWndFlag) {
  return (entryFlag & entry_flag::kUseWnd) != 0 ? entryWndFlag : wndFlag;
}

bool SnapAllowed(const SnapSetUpFacts& f) {
  if ((f.effWndFlag & wnd_flag::kSnap) == 0 || f.snapPixels == 0 || f.snapWndLive) return false;
  if ((f.style & kStyleChild) == 0) return true;
  // A child window is snapped only when it has a sizing or dialog frame.
  return (f.style & kStyleSizingFrame) != 0 && (f.effWndFlag & wnd_flag::kNoSnapChildWnd) == 0;
}

uint8_t MoveAlphaFor(const MoveAlphaFacts& f) {
  if ((f.effWndFlag & (wnd_flag::kMoveTranslucent | wnd_flag::kSizeTranslucent)) == 0) return 0;
  if (f.layered || f.noRedirection || f.shiftOrCtrl) return 0;
  if ((f.effWndFlag & wnd_flag::kNoDirectXTranslucent) != 0 && f.directX) return 0;
  const uint32_t word = (f.effWndFlag & wnd_flag::kLevelMask) != 0 ? f.effWndFlag : f.wndFlag;
  return LevelAlpha(word, wnd_flag::kLevelMask, wnd_flag::kLevelShift);
}

}  // namespace qorv
