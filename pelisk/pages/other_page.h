// The other page's decisions: its MainFlag switches, and the choice of the mixer device whose volume
// the main program controls. The device list comes through MixerDevices so that it can be faked.
#pragma once
#include <cstdint>

#include "pelisk/pages/page_checks.h"

namespace qorv {

namespace other_page {
constexpr int kTrayVolume = 1123;
constexpr int kDesktopVolume = 1124;
constexpr int kMixerCaption = 1158;
constexpr int kMixer = 1159;  // drop-down list of device names; item data = device id
constexpr int kNoTrayIcon = 1122;
constexpr int kIconBitmap = 1136;
constexpr int kWheelClickSuspend = 1141;
constexpr int kRenameAid = 1134;
constexpr int kDoubleClickUp = 1140;
constexpr int kWheelClickUp = 1142;
constexpr int kNoWinKeyStart = 1137;
constexpr int kEditSelectAll = 1135;
constexpr int kRollUp = 1139;
constexpr int kScrollPosReport = 1138;
// Systems after this major version get no mixer list.
constexpr uint32_t kMixerLastOsMajor = 5;
}  // namespace other_page

extern const CheckBinding kOtherPageChecks[];
extern const int kOtherPageCheckCount;

// The system's mixer devices, numbered 0 to Count() - 1.
class MixerDevices {
 public:
  virtual uint32_t Count() const = 0;
  // The device's name into out (terminated); false when its capabilities cannot be read.
  virtual bool Name(uint32_t id, char16_t* out, int capacity) const = 0;

 protected:
  ~MixerDevices() = default;
};

constexpr int kMixerNameLength = 32;  // as the system's device-name field
constexpr int kMixerListCapacity = 64;
struct MixerItem {
  uint32_t id;  // device id: what is stored, as a later device's position shifts when one fails
  char16_t name[kMixerNameLength];
};
struct MixerList {
  uint32_t deviceCount;  // N, the system's device count
  int count;             // items, one per device whose capabilities could be read
  MixerItem items[kMixerListCapacity];
};
void MixerListBuild(const MixerDevices& devices, MixerList& list);

struct OtherPageState {
  FlagWords words;     // .main as loaded, the boxes' bits following the boxes
  uint32_t mixerWord;  // as loaded, "MxId" reset to 0 when it is out of range
  bool useMixerList;   // the system is old enough to have the list
  uint32_t deviceCount;
  bool volumeEnabled;  // the two volume boxes
  int mixerSelection;  // item of the list, -1 none
};

// list: the filled device list (ignored when the system is too new for it).
OtherPageState OtherPageOpen(uint32_t mainFlag, uint32_t mixerWord, uint32_t osMajor, const MixerList& list);
bool OtherPageMixerEnabled(const OtherPageState& s);
// Replaces the page's twelve MainFlag bits; keeps all others.
uint32_t OtherPageMainFlag(const OtherPageState& s, uint32_t mainFlag);
// "MxId" from the chosen device (0 without a selection); "MxType" passes through.
uint32_t OtherPageMixerWord(uint32_t mixerWord, bool selected, uint32_t deviceId);

}  // namespace qorv
