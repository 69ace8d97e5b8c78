// Fine wheel deltas. Precision touchpads and high-resolution wheels send parts of a notch (for
// example eight deltas of 15); the conversions act per whole notch, so the parts are added up per
// target and direction and a conversion runs once for each 120 reached. A whole notch on an empty
// remainder converts at once, exactly as a classic wheel always did.
#pragma once
#include <cstdint>

namespace qorv {

constexpr int32_t kNotchDelta = 120;

struct WheelAccum {
  uint64_t target;     // what the remainder was collected for (a window, a conversion); 0 = none
  uint32_t direction;  // the scroll direction or trigger it was collected in
  int32_t rest;        // the part of a notch not converted yet, |rest| < 120, same sign as the deltas
  uint32_t time;       // time of the last delta added
};

// Adds delta and returns the signed number of whole notches to convert now, keeping the remainder.
// The remainder is forgotten first when the target, the direction or the sign of the delta changes,
// or when more than pauseMs passed since the last delta (unsigned difference: the tick may wrap).
int32_t WheelAccumulate(WheelAccum& acc, uint64_t target, uint32_t direction, int32_t delta, uint32_t time,
                        uint32_t pauseMs);

// The pause after which a remainder is forgotten: the precise-scrolling time window of the global
// wheel word, or its default of 500 ms when the word has none.
uint32_t WheelAccumPauseMs(uint32_t wheelFlag);

}  // namespace qorv
