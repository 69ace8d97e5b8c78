#include "host/volume.h"

#include "host/events.h"

namespace qorv {

bool VolumeStep(VolumeControl& volume, int steps) {
  float level = 0;
  if (!volume.GetLevel(level)) return false;
  if (!volume.SetLevel(VolumeAfterSteps(level, steps))) return false;
  bool muted = false;
  if (steps > 0 && volume.GetMute(muted) && muted) volume.SetMute(false);
  return true;
}

bool VolumeToggleMute(VolumeControl& volume) {
  bool muted = false;
  if (!volume.GetMute(muted)) return false;
  return volume.SetMute(!muted);
}

}  // namespace qorv
