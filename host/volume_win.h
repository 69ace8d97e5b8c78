// The master volume of the default output device through Core Audio.
#pragma once
#include "host/volume.h"

namespace qorv {

// The device is looked up at every call, so that a device plugged in later is found; COM must be
// initialised on the calling thread.
class CoreAudioVolume : public VolumeControl {
 public:
  bool GetLevel(float& level) override;
  bool SetLevel(float level) override;
  bool GetMute(bool& muted) override;
  bool SetMute(bool muted) override;
};

}  // namespace qorv
