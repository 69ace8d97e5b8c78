// The wheel page on real controls: what it shows for WheelFlag and the exact word it stores.
#include <gtest/gtest.h>

#include "common/flags.h"
#include "tests/wine/pages_host.h"

namespace {

using pages_test::PageHost;

class WheelPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pelisk::InitInProcess();
    input::ReleaseAll();
    qorv::g_settings.WheelFlag = qorv::kWheelFlagDefault;
  }
  uint32_t Ok(PageHost& host) {
    EXPECT_EQ(host.Command(IDOK), 1);
    return qorv::g_settings.WheelFlag;
  }
};

TEST_F(WheelPageTest, OpensWithTheDefaultsAndStoresThemUnchanged) {
  PageHost host(IDD_WHEEL, qorv::WheelPageProc);
  ASSERT_NE(host.Page(), nullptr);
  for (int id : {IDC_WH_UNDER, IDC_WH_MDI, IDC_WH_VBAR, IDC_WH_HCONVERT, IDC_WH_HBAR, IDC_WH_SEARCH, IDC_WH_PRECISE,
                 IDC_WH_CTRLPAGE}) {
    EXPECT_TRUE(host.Checked(id)) << id;
  }
  EXPECT_FALSE(host.Checked(IDC_WH_VCONVERT));
  EXPECT_FALSE(host.Checked(IDC_WH_ACTIVATE));
  EXPECT_FALSE(host.Visible(IDC_WH_CTRLPAGE));
  EXPECT_TRUE(host.Enabled(IDC_WH_SEARCH));
  EXPECT_EQ(host.Selection(IDC_WH_VAMOUNT), 11);
  EXPECT_EQ(host.Selection(IDC_WH_HAMOUNT), 3);
  EXPECT_EQ(host.Text(IDC_WH_RECOVER_VALUE), L"500 ms");
  wchar_t item[32] = {};
  SendMessageW(host.Item(IDC_WH_VAMOUNT), CB_GETLBTEXT, 11, reinterpret_cast<LPARAM>(item));
  EXPECT_STREQ(item, L"ページ");
  EXPECT_EQ(Ok(host), qorv::kWheelFlagDefault);
}

TEST_F(WheelPageTest, ChangedControlsGiveTheExpectedWord) {
  // Bits the page does not show are dropped: per-window-only and unused ones.
  qorv::g_settings.WheelFlag = qorv::kWheelFlagDefault | 0x10000402;
  PageHost host(IDD_WHEEL, qorv::WheelPageProc);
  host.Select(IDC_WH_VAMOUNT, 0);  // "なし" switches the vertical conversion off
  EXPECT_FALSE(host.Checked(IDC_WH_VBAR));
  host.Click(IDC_WH_VCONVERT);  // switched on again: the list picks "3 行"
  EXPECT_EQ(host.Selection(IDC_WH_VAMOUNT), 3);
  host.Click(IDC_WH_ACTIVATE);
  SendMessageW(host.Page(), WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(host.Item(IDC_WH_RECOVER)));
  EXPECT_EQ(host.Text(IDC_WH_RECOVER_VALUE), L"600 ms");
  EXPECT_EQ(Ok(host), 0x06330BBDu);
}

TEST_F(WheelPageTest, NoneInBothListsDisablesTheSearchButKeepsItsState) {
  PageHost host(IDD_WHEEL, qorv::WheelPageProc);
  host.Select(IDC_WH_HAMOUNT, 0);
  EXPECT_FALSE(host.Checked(IDC_WH_HCONVERT));
  EXPECT_FALSE(host.Checked(IDC_WH_HBAR));
  EXPECT_FALSE(host.Enabled(IDC_WH_SEARCH));
  SendMessageW(host.Page(), WM_HSCROLL, SB_LEFT, reinterpret_cast<LPARAM>(host.Item(IDC_WH_RECOVER)));
  EXPECT_EQ(host.Text(IDC_WH_RECOVER_VALUE), L"none");
  EXPECT_EQ(Ok(host), 0x000F0B49u);
}

TEST_F(WheelPageTest, RightDoubleClickRevealsTheTuningSwitch) {
  PageHost host(IDD_WHEEL, qorv::WheelPageProc);
  ASSERT_FALSE(host.Visible(IDC_WH_CTRLPAGE));
  ASSERT_TRUE(host.RightDoubleClick(host.Centre(IDC_WH_CTRLPAGE))) << "the page is not under the pointer";
  ASSERT_TRUE(pages_test::WaitFor([&] { return host.Visible(IDC_WH_CTRLPAGE); }));
  EXPECT_TRUE(host.Checked(IDC_WH_CTRLPAGE));
  host.Click(IDC_WH_CTRLPAGE);
  EXPECT_EQ(Ok(host), qorv::kWheelFlagDefault & ~qorv::wheel_flag::kCtrlPage);

  // Cleared, the switch differs from its default and shows from the start.
  PageHost again(IDD_WHEEL, qorv::WheelPageProc);
  EXPECT_TRUE(again.Visible(IDC_WH_CTRLPAGE));
  EXPECT_FALSE(again.Checked(IDC_WH_CTRLPAGE));
}

TEST_F(WheelPageTest, CancelStoresNothing) {
  PageHost host(IDD_WHEEL, qorv::WheelPageProc);
  host.Click(IDC_WH_ACTIVATE);
  EXPECT_EQ(host.Command(IDCANCEL), 1);
  EXPECT_EQ(qorv::g_settings.WheelFlag, qorv::kWheelFlagDefault);
}

}  // namespace
