// Whether the low-level mouse hook is still called. Windows removes such a hook without a word when
// its thread once answers too slowly; the only sign is that the hook stops seeing events while the
// mouse still moves.
#pragma once
#include <cstdint>

namespace qorv {

struct HookWatch {
  uint32_t eventsAtLastCheck;
  int32_t cursorX;
  int32_t cursorY;
  int quietMoves;  // checks in a row at which the cursor had moved and the hook had seen nothing
};

enum class HookHealth { Alive, NoEvidence, Lost };

// Checks that the cursor must have moved without the hook seeing it before the hook counts as lost.
constexpr int kQuietMovesForLoss = 2;

// events: how many events the hook has seen so far; (x, y): the cursor now. After Lost the watch
// starts over, so that the reinstalled hook gets the same chance.
HookHealth HookWatchStep(HookWatch& watch, uint32_t events, int32_t x, int32_t y);

}  // namespace qorv
