#include "host/health.h"

namespace qorv {

HookHealth HookWatchStep(HookWatch& watch, uint32_t events, int32_t x, int32_t y) {
  const bool moved = x != watch.cursorX || y != watch.cursorY;
  const bool seen = events != watch.eventsAtLastCheck;
  watch.eventsAtLastCheck = events;
  watch.cursorX = x;
  watch.cursorY = y;
  if (seen) {
    watch.quietMoves = 0;
    return HookHealth::Alive;
  }
  if (!moved) return HookHealth::NoEvidence;
  if (++watch.quietMoves < kQuietMovesForLoss) return HookHealth::NoEvidence;
  watch.quietMoves = 0;
  return HookHealth::Lost;
}

}  // namespace qorv
