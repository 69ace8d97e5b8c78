#include "hooklib/wheel_accum.h"

#include "common/flags.h"

namespace qorv {

int32_t WheelAccumulate(WheelAccum& acc, uint64_t target, uint32_t direction, int32_t delta, uint32_t time,
                        uint32_t pauseMs) {
  const bool keep = acc.rest != 0 && acc.target == target && acc.direction == direction &&
                    (acc.rest > 0) == (delta > 0) && time - acc.time <= pauseMs;
  const int32_t sum = (keep ? acc.rest : 0) + delta;
  const int32_t notches = sum / kNotchDelta;  // truncates toward zero: the rest keeps the sign of sum
  acc.target = target;
  acc.direction = direction;
  acc.rest = sum - notches * kNotchDelta;
  acc.time = time;
  return notches;
}

uint32_t WheelAccumPauseMs(uint32_t wheelFlag) {
  uint32_t field = Field(wheelFlag, wheel_flag::kPreciseTimeMask, wheel_flag::kPreciseTimeShift);
  if (field == 0) field = Field(kWheelFlagDefault, wheel_flag::kPreciseTimeMask, wheel_flag::kPreciseTimeShift);
  return field * 100;
}

}  // namespace qorv
