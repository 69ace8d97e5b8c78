// The other page on real controls: its switches and the mixer device, with a device list of the
// test's making (this system has no mixer devices).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/flags.h"
#include "pelisk/pages/other_page_win.h"
#include "tests/wine/pages_host.h"

namespace {

using pages_test::PageHost;

class FakeMixers : public qorv::MixerDevices {
 public:
  explicit FakeMixers(std::vector<std::u16string> names) : names_(std::move(names)) {}
  uint32_t Count() const override { return static_cast<uint32_t>(names_.size()); }
  bool Name(uint32_t id, char16_t* out, int capacity) const override {
    if (id >= names_.size() || names_[id].empty()) return false;  // capabilities unreadable
    const std::u16string& n = names_[id];
    int i = 0;
    for (; i < capacity - 1 && i < static_cast<int>(n.size()); ++i) out[i] = n[i];
    out[i] = u'\0';
    return true;
  }

 private:
  std::vector<std::u16string> names_;
};

class OtherPageTest : public ::testing::Test {
 protected:
  void SetUp() override { pelisk::InitInProcess(); }
  void TearDown() override { qorv::OtherPageUseMixerDevices(nullptr); }
};

TEST_F(OtherPageTest, SwitchesOnANewerSystem) {
  qorv::g_osMajor = 6;
  qorv::g_settings.MainFlag |= 0x10040000;  // bits of no control
  qorv::g_settings.MixerWord = 0x00070002;
  PageHost host(IDD_OTHER, qorv::OtherPageProc);
  ASSERT_NE(host.Page(), nullptr);
  EXPECT_TRUE(host.Checked(IDC_OT_ICON_VOLUME));
  EXPECT_TRUE(host.Checked(IDC_OT_DESKTOP_VOLUME));
  EXPECT_FALSE(host.Checked(IDC_OT_MCLICK_UP));
  EXPECT_FALSE(host.Enabled(IDC_OT_MIXER));
  EXPECT_EQ(SendMessageW(host.Item(IDC_OT_MIXER), CB_GETCOUNT, 0, 0), 0);
  host.Click(IDC_OT_MCLICK_UP);
  host.Click(IDC_OT_ROLL);
  host.Click(IDC_OT_ICON_VOLUME);
  EXPECT_EQ(host.Command(IDOK), 1);
  EXPECT_EQ(qorv::g_settings.MainFlag, 0x15054204u);
  EXPECT_EQ(qorv::g_settings.MixerWord, 0x00070000u);  // no list: MxId 0, MxType kept
}

// A device whose capabilities cannot be read adds no item; the device after it keeps its id.
TEST_F(OtherPageTest, MixerIsStoredByDeviceId) {
  qorv::g_osMajor = 5;
  const FakeMixers mixers({u"スピーカー", u"", u"ヘッドセット"});
  qorv::OtherPageUseMixerDevices(&mixers);
  qorv::g_settings.MixerWord = 2;
  PageHost host(IDD_OTHER, qorv::OtherPageProc);
  HWND combo = host.Item(IDC_OT_MIXER);
  ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 2);
  EXPECT_TRUE(host.Enabled(IDC_OT_MIXER));
  wchar_t text[64] = {};
  SendMessageW(combo, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"ヘッドセット");
  EXPECT_EQ(host.Command(IDOK), 1);
  EXPECT_EQ(qorv::g_settings.MixerWord, 2u);

  host.Select(IDC_OT_MIXER, 0);
  EXPECT_EQ(host.Command(IDOK), 1);
  EXPECT_EQ(qorv::g_settings.MixerWord, 0u);
}

TEST_F(OtherPageTest, OutOfRangeMixerFallsBackToTheFirstDeviceAtOnce) {
  qorv::g_osMajor = 5;
  const FakeMixers mixers({u"A", u"B"});
  qorv::OtherPageUseMixerDevices(&mixers);
  qorv::g_settings.MixerWord = 0x00010005;
  PageHost host(IDD_OTHER, qorv::OtherPageProc);
  EXPECT_EQ(qorv::g_settings.MixerWord, 0x00010000u);  // before any OK
  EXPECT_EQ(host.Selection(IDC_OT_MIXER), 0);
  // Both volume boxes off: the list is disabled; one on enables it.
  host.Click(IDC_OT_ICON_VOLUME);
  host.Click(IDC_OT_DESKTOP_VOLUME);
  EXPECT_FALSE(host.Enabled(IDC_OT_MIXER));
  host.Click(IDC_OT_DESKTOP_VOLUME);
  EXPECT_TRUE(host.Enabled(IDC_OT_MIXER));
}

TEST_F(OtherPageTest, NoMixerDeviceSwitchesVolumeControlOff) {
  qorv::g_osMajor = 5;
  const FakeMixers none({});
  qorv::OtherPageUseMixerDevices(&none);
  PageHost host(IDD_OTHER, qorv::OtherPageProc);
  EXPECT_FALSE(host.Checked(IDC_OT_ICON_VOLUME));
  EXPECT_FALSE(host.Enabled(IDC_OT_ICON_VOLUME));
  EXPECT_FALSE(host.Enabled(IDC_OT_DESKTOP_VOLUME));
  EXPECT_FALSE(host.Enabled(IDC_OT_MIXER));
  EXPECT_EQ(host.Command(IDOK), 1);
  EXPECT_EQ(qorv::g_settings.MainFlag, qorv::kMainFlagDefault & ~0x00010010u);
}

}  // namespace
