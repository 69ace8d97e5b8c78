// The master volume of the default output behind a small interface, so that the rules can be
// tested without a sound device.
#pragma once

namespace qorv {

class VolumeControl {
 public:
  virtual ~VolumeControl() = default;
  // Each false when there is no device or it refused.
  virtual bool GetLevel(float& level) = 0;  // 0..1
  virtual bool SetLevel(float level) = 0;
  virtual bool GetMute(bool& muted) = 0;
  virtual bool SetMute(bool muted) = 0;
};

// Steps the volume (steps up when positive, down when negative); turning it up also ends a mute,
// as the volume keys of a keyboard do. False when the device could not be reached.
bool VolumeStep(VolumeControl& volume, int steps);
bool VolumeToggleMute(VolumeControl& volume);

}  // namespace qorv
