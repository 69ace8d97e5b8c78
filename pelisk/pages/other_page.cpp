#include "pelisk/pages/other_page.h"

#include "common/flags.h"

namespace qorv {

namespace op = other_page;
namespace mf = main_flag;

const CheckBinding kOtherPageChecks[] = {
    {op::kTrayVolume, FlagWord::Main, mf::kTrayVolume},
    {op::kDesktopVolume, FlagWord::Main, mf::kDesktopVolume},
    {op::kNoTrayIcon, FlagWord::Main, mf::kNoTrayIcon},
    {op::kIconBitmap, FlagWord::Main, mf::kIconBitmapFile},
    {op::kWheelClickSuspend, FlagWord::Main, mf::kWheelClickSuspend},
    {op::kRenameAid, FlagWord::Main, mf::kRenameAid},
    {op::kDoubleClickUp, FlagWord::Main, mf::kDoubleClickUpFolder},
    {op::kWheelClickUp, FlagWord::Main, mf::kWheelClickUpFolder},
    {op::kNoWinKeyStart, FlagWord::Main, mf::kNoWinKeyStart},
    {op::kEditSelectAll, FlagWord::Main, mf::kEditSelectAll},
    {op::kRollUp, FlagWord::Main, mf::kRollUp},
    {op::kScrollPosReport, FlagWord::Main, mf::kScrollPosReport},
};
const int kOtherPageCheckCount = sizeof(kOtherPageChecks) / sizeof(kOtherPageChecks[0]);

constexpr uint32_t kMxIdMask = 0x0000FFFF;
constexpr uint32_t kVolumeBits = mf::kTrayVolume | mf::kDesktopVolume;

void MixerListBuild(const MixerDevices& devices, MixerList& list) {
  list.deviceCount = devices.Count();
  list.count = 0;
  for (uint32_t id = 0; id < list.deviceCount && list.count < kMixerListCapacity; ++id) {
    MixerItem& item = list.items[list.count];
    item.name[0] = u'\0';
    if (!devices.Name(id, item.name, kMixerNameLength)) continue;
    item.name[kMixerNameLength - 1] = u'\0';
    item.id = id;
    ++list.count;
  }
}

OtherPageState OtherPageOpen(uint32_t mainFlag, uint32_t mixerWord, uint32_t osMajor, const MixerList& list) {
  OtherPageState s = {};
  s.words.main = mainFlag;
  s.mixerWord = mixerWord;
  s.useMixerList = osMajor <= op::kMixerLastOsMajor;
  s.volumeEnabled = true;
  s.mixerSelection = -1;
  if (!s.useMixerList) return s;
  s.deviceCount = list.deviceCount;
  if (list.deviceCount == 0) {
    // Without a device the volume functions have nothing to control.
    s.words.main &= ~kVolumeBits;
    s.volumeEnabled = false;
    return s;
  }
  if ((mixerWord & kMxIdMask) >= list.deviceCount) s.mixerWord = mixerWord & ~kMxIdMask;
  const uint32_t id = s.mixerWord & kMxIdMask;
  for (int i = 0; i < list.count; ++i) {
    if (list.items[i].id == id) {
      s.mixerSelection = i;
      break;
    }
  }
  return s;
}

bool OtherPageMixerEnabled(const OtherPageState& s) {
  return s.useMixerList && s.deviceCount != 0 && (s.words.main & kVolumeBits) != 0;
}

uint32_t OtherPageMainFlag(const OtherPageState& s, uint32_t mainFlag) {
  const uint32_t mask = CheckMask(kOtherPageChecks, kOtherPageCheckCount, FlagWord::Main);
  return (mainFlag & ~mask) | (s.words.main & mask);
}

uint32_t OtherPageMixerWord(uint32_t mixerWord, bool selected, uint32_t deviceId) {
  return (mixerWord & ~kMxIdMask) | (selected ? deviceId & kMxIdMask : 0u);
}

}  // namespace qorv
