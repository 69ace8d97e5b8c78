#include "pelisk/pages/other_page.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/flags.h"

namespace qorv {
namespace {

namespace op = other_page;

// A device list of the test's choosing; an empty name stands for a device that cannot be read.
class FakeMixers : public MixerDevices {
 public:
  explicit FakeMixers(std::vector<std::u16string> names) : names_(std::move(names)) {}
  uint32_t Count() const override { return static_cast<uint32_t>(names_.size()); }
  bool Name(uint32_t id, char16_t* out, int capacity) const override {
    if (id >= names_.size() || names_[id].empty()) return false;
    const std::u16string& n = names_[id];
    int i = 0;
    for (; i < capacity - 1 && i < static_cast<int>(n.size()); ++i) out[i] = n[i];
    out[i] = u'\0';
    return true;
  }

 private:
  std::vector<std::u16string> names_;
};

MixerList Build(std::vector<std::u16string> names) {
  MixerList list;
  MixerListBuild(FakeMixers(std::move(names)), list);
  return list;
}

bool Checked(const OtherPageState& s, int id) {
  return IsChecked(s.words, *FindCheck(kOtherPageChecks, kOtherPageCheckCount, id));
}

TEST(OtherPage, DefaultsCheckOnlyTheVolumeBoxes) {
  const OtherPageState s = OtherPageOpen(kMainFlagDefault, 0, 5, Build({u"A", u"B"}));
  for (int i = 0; i < kOtherPageCheckCount; ++i) {
    const int id = kOtherPageChecks[i].id;
    EXPECT_EQ(Checked(s, id), id == op::kTrayVolume || id == op::kDesktopVolume) << id;
  }
  EXPECT_TRUE(OtherPageMixerEnabled(s));
  EXPECT_EQ(s.mixerSelection, 0);
}

TEST(OtherPage, StoreReplacesExactlyItsTwelveBits) {
  EXPECT_EQ(CheckMask(kOtherPageChecks, kOtherPageCheckCount, FlagWord::Main), 0x0001FEF0u);
  std::mt19937 rng(3);
  const MixerList list = Build({u"A"});
  for (int n = 0; n < 1000; ++n) {
    const uint32_t main = rng(), other = rng();
    OtherPageState s = OtherPageOpen(main, 0, 6, list);
    s.words.main = other;  // every box to another state
    EXPECT_EQ(OtherPageMainFlag(s, main), (main & ~0x0001FEF0u) | (other & 0x0001FEF0u));
  }
}

TEST(OtherPage, MixerEnableFollowsTheVolumeBoxes) {
  const MixerList list = Build({u"A"});
  OtherPageState s = OtherPageOpen(0, 0, 5, list);
  EXPECT_FALSE(OtherPageMixerEnabled(s));
  s.words.main |= main_flag::kDesktopVolume;
  EXPECT_TRUE(OtherPageMixerEnabled(s));
  s = OtherPageOpen(kMainFlagDefault, 0, 6, list);  // newer systems: never
  EXPECT_FALSE(OtherPageMixerEnabled(s));
  EXPECT_EQ(s.mixerSelection, -1);
  EXPECT_TRUE(s.volumeEnabled);
}

TEST(OtherPage, NoMixerDeviceSwitchesVolumeControlOff) {
  const OtherPageState s = OtherPageOpen(0xFFFFFFFF, 0x00070003, 5, Build({}));
  EXPECT_FALSE(Checked(s, op::kTrayVolume));
  EXPECT_FALSE(Checked(s, op::kDesktopVolume));
  EXPECT_FALSE(s.volumeEnabled);
  EXPECT_FALSE(OtherPageMixerEnabled(s));
  EXPECT_EQ(OtherPageMainFlag(s, 0xFFFFFFFF), 0xFFFEFFEFu);
}

TEST(OtherPage, OutOfRangeMixerResetsAtOpening) {
  const OtherPageState s = OtherPageOpen(kMainFlagDefault, 0x00020005, 5, Build({u"A", u"B"}));
  EXPECT_EQ(s.mixerWord, 0x00020000u);  // MxType kept
  EXPECT_EQ(s.mixerSelection, 0);
  EXPECT_EQ(OtherPageMixerWord(0x00020005, false, 9), 0x00020000u);
  EXPECT_EQ(OtherPageMixerWord(0x00020005, true, 1), 0x00020001u);
}

// A device whose capabilities cannot be read adds no item; the devices after it must keep their
// ids, not take their positions in the list.
TEST(OtherPage, MixerIsStoredByDeviceIdNotListPosition) {
  const MixerList list = Build({u"Speakers", u"", u"Headset"});
  ASSERT_EQ(list.count, 2);
  EXPECT_EQ(list.deviceCount, 3u);
  EXPECT_EQ(list.items[1].id, 2u);
  EXPECT_EQ(std::u16string(list.items[1].name), u"Headset");
  const OtherPageState s = OtherPageOpen(kMainFlagDefault, 2, 5, list);
  EXPECT_EQ(s.mixerSelection, 1);
  EXPECT_EQ(OtherPageMixerWord(s.mixerWord, true, list.items[s.mixerSelection].id), 2u);
  // The stored device itself unreadable: nothing is selected rather than a neighbour.
  EXPECT_EQ(OtherPageOpen(kMainFlagDefault, 1, 5, list).mixerSelection, -1);
}

TEST(OtherPage, LongDeviceNamesAreCutAndTerminated) {
  const MixerList list = Build({std::u16string(80, u'x')});
  EXPECT_EQ(std::u16string(list.items[0].name).size(), static_cast<size_t>(kMixerNameLength - 1));
}

}  // namespace
}  // namespace qorv
