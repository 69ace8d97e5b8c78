#include "host/hooks_wanted.h"

namespace qorv {

WantedHooks DecideWantedHooks(const HookWishes& w) {
  WantedHooks wanted = {0, false};
  if (w.stopping) return wanted;
  if (!w.paused) {
    wanted.kinds |= hook_bit::kLibraryWindowHooks;
    if (w.conversionOn) wanted.kinds |= hook_bit::kConversion;
    if (w.debugOn) wanted.kinds |= hook_bit::kDebug;
  }
  // Mouse hotkeys are hotkeys: they stay while paused and go while the settings program is open.
  wanted.watchHotkeys = w.mouseHotkeys && !w.editing;
  // The running conversion's low-level hook needs the watch as the witness that such hooks are
  // still called.
  if (wanted.watchHotkeys || (wanted.kinds & hook_bit::kConversion) != 0) wanted.kinds |= hook_bit::kWatch;
  return wanted;
}

uint32_t CompanionKinds(uint32_t wanted) { return wanted & (hook_bit::kLibraryWindowHooks | hook_bit::kDebug); }

bool DebugHookRemoveFirst(bool held, uint32_t heldThread, uint32_t wantedThread) {
  return held && heldThread != wantedThread;
}

StopPlan DecideStop(StopCause cause) {
  switch (cause) {
    case StopCause::Exit:
      return {true, true, true};
    case StopCause::SessionEnds:
      return {true, true, false};
    case StopCause::SessionContinues:
      break;
  }
  return {false, false, false};
}

}  // namespace qorv
