// The window page on real controls: the words it stores, the snap distance rules, and the preview
// of a translucency level on the window that hosts it during a real thumb drag.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "common/flags.h"
#include "tests/wine/pages_host.h"

namespace {

using pages_test::PageHost;

class WindowPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pelisk::InitInProcess();
    input::ReleaseAll();
    qorv::g_settings.MainFlag = qorv::kMainFlagDefault;
    qorv::g_settings.WndFlag = qorv::kWndFlagDefault;
  }
};

bool Layered(HWND hwnd) { return (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

BYTE Alpha(HWND hwnd) {
  BYTE alpha = 0;
  DWORD flags = 0;
  COLORREF key = 0;
  return qorv::GetLayeredAttributes(hwnd, &key, &alpha, &flags) ? alpha : 0;
}

TEST_F(WindowPageTest, OpensWithTheDefaultsAndKeepsForeignBits) {
  // Bits of other pages and reserved bits ride along.
  qorv::g_settings.MainFlag |= 0x10040A40;
  qorv::g_settings.WndFlag |= 0xF000E840;
  const uint32_t main = qorv::g_settings.MainFlag, wnd = qorv::g_settings.WndFlag;
  PageHost host(IDD_WINDOW, qorv::WindowPageProc);
  ASSERT_NE(host.Page(), nullptr);
  EXPECT_TRUE(host.Checked(IDC_WN_WHEEL_FRONT));
  EXPECT_FALSE(host.Checked(IDC_WN_TEMP_LAYER));
  EXPECT_FALSE(host.Checked(IDC_WN_WHEEL_LAYER));
  EXPECT_TRUE(host.Checked(IDC_WN_SNAP));
  EXPECT_EQ(host.Text(IDC_WN_SNAP_PIXELS), L"10");
  EXPECT_TRUE(host.Checked(IDC_WN_DIRECTX));
  EXPECT_FALSE(host.Enabled(IDC_WN_DIRECTX));
  EXPECT_FALSE(host.Visible(IDC_WN_SNAPRGN));
  EXPECT_FALSE(host.Visible(IDC_WN_NOSNAPLAY));
  EXPECT_EQ(host.Text(IDC_WN_LEVEL_VALUE), L"50 %");
  EXPECT_EQ(host.Text(IDC_WN_INIT_VALUE), L"50 %");
  EXPECT_EQ(host.Command(IDOK), 1);
  EXPECT_EQ(qorv::g_settings.MainFlag, main);
  EXPECT_EQ(qorv::g_settings.WndFlag, wnd);
}

TEST_F(WindowPageTest, ChangedControlsGiveTheExpectedWords) {
  PageHost host(IDD_WINDOW, qorv::WindowPageProc);
  host.Click(IDC_WN_WHEEL_LAYER);
  EXPECT_FALSE(host.Enabled(IDC_WN_TEMP_LAYER));
  host.Click(IDC_WN_MOVE_LAYER);
  EXPECT_TRUE(host.Enabled(IDC_WN_DIRECTX));
  host.Click(IDC_WN_SNAP);
  EXPECT_FALSE(host.Enabled(IDC_WN_SNAP_PIXELS));
  EXPECT_FALSE(host.Enabled(IDC_WN_SNAP_INSIDE));
  for (int i = 0; i < 3; ++i) {
    SendMessageW(host.Page(), WM_HSCROLL, SB_LINELEFT, reinterpret_cast<LPARAM>(host.Item(IDC_WN_INIT_LEVEL)));
  }
  EXPECT_EQ(host.Text(IDC_WN_INIT_VALUE), L"20 %");
  SendMessageW(host.Page(), WM_HSCROLL, SB_RIGHT, reinterpret_cast<LPARAM>(host.Item(IDC_WN_LEVEL)));
  EXPECT_EQ(host.Text(IDC_WN_LEVEL_VALUE), L"90 %");
  EXPECT_FALSE(Layered(host.Frame()));  // no drag, no preview
  EXPECT_EQ(host.Command(IDOK), 1);
  EXPECT_EQ(qorv::g_settings.MainFlag, 0x02030014u);
  EXPECT_EQ(qorv::g_settings.WndFlag, 0x090A050Cu);
}

TEST_F(WindowPageTest, WithoutLayeredWindowsTheTranslucencyControlsAreDisabled) {
  const uint32_t saved = qorv::g_layeredApiMask;
  qorv::g_layeredApiMask = 0;
  PageHost host(IDD_WINDOW, qorv::WindowPageProc);
  qorv::g_layeredApiMask = saved;
  for (int id :
       {IDC_WN_WHEEL_LAYER, IDC_WN_TEMP_LAYER, IDC_WN_SIZE_LAYER, IDC_WN_MOVE_LAYER, IDC_WN_DIRECTX, IDC_WN_INIT_LABEL,
        IDC_WN_INIT_VALUE, IDC_WN_INIT_LEVEL, IDC_WN_LEVEL_LABEL, IDC_WN_LEVEL_VALUE, IDC_WN_LEVEL}) {
    EXPECT_FALSE(host.Enabled(id)) << id;
  }
  EXPECT_TRUE(host.Enabled(IDC_WN_SNAP));
  EXPECT_TRUE(host.Enabled(IDC_WN_SNAP_PIXELS));
}

TEST_F(WindowPageTest, NoSnapRgnClientFollowsOnlyAClickOnSnapRgn) {
  // SnapRgn clear and NoSnapRgnClient set: both show, and NoSnapRgnClient opens enabled.
  qorv::g_settings.WndFlag = (qorv::kWndFlagDefault & ~qorv::wnd_flag::kSnapRgn) | qorv::wnd_flag::kNoSnapRgnClient;
  PageHost host(IDD_WINDOW, qorv::WindowPageProc);
  ASSERT_TRUE(host.Visible(IDC_WN_SNAPRGN));
  ASSERT_TRUE(host.Visible(IDC_WN_NOSNAPRGNCLIENT));
  EXPECT_TRUE(host.Enabled(IDC_WN_NOSNAPRGNCLIENT)) << "not ruled at opening";
  host.Click(IDC_WN_SNAP);
  EXPECT_TRUE(host.Enabled(IDC_WN_NOSNAPRGNCLIENT)) << "another box is no SnapRgn click";
  host.Click(IDC_WN_SNAPRGN);
  EXPECT_TRUE(host.Enabled(IDC_WN_NOSNAPRGNCLIENT));
  host.Click(IDC_WN_SNAPRGN);
  EXPECT_FALSE(host.Enabled(IDC_WN_NOSNAPRGNCLIENT));
}

TEST_F(WindowPageTest, LevelThatCannotBeReadKeepsTheStoredLevel) {
  // Stored levels outside the bars (0 and 12) would be stored as 1 and 9 if taken from them.
  qorv::g_settings.MainFlag = qorv::kMainFlagDefault & ~0x0F000000u;
  qorv::g_settings.WndFlag = (qorv::kWndFlagDefault & ~0x0F000000u) | 0x0C000000u;
  PageHost host(IDD_WINDOW, qorv::WindowPageProc);
  DestroyWindow(host.Item(IDC_WN_INIT_LEVEL));
  DestroyWindow(host.Item(IDC_WN_LEVEL));
  EXPECT_EQ(host.Command(IDOK), 1);
  EXPECT_EQ(qorv::g_settings.MainFlag & 0x0F000000u, 0u);
  EXPECT_EQ(qorv::g_settings.WndFlag & 0x0F000000u, 0x0C000000u);
}

TEST_F(WindowPageTest, SnapDistanceIsKeptWithinOneToFifty) {
  struct Case {
    const wchar_t* typed;
    int code;  // -1: no arrow
    const wchar_t* shown;
    uint32_t stored;
  } cases[] = {
      {L"0", -1, L"0", 1},          {L"99", -1, L"99", 50},        {L"", -1, L"", 1},
      {L"1", SB_LINEDOWN, L"1", 1}, {L"50", SB_LINEUP, L"50", 50}, {L"", SB_LINEDOWN, L"1", 1},
      {L"7", SB_TOP, L"50", 50},    {L"7", SB_LINEUP, L"8", 8},
  };
  for (const Case& c : cases) {
    qorv::g_settings.WndFlag = qorv::kWndFlagDefault;
    PageHost host(IDD_WINDOW, qorv::WindowPageProc);
    SetDlgItemTextW(host.Page(), IDC_WN_SNAP_PIXELS, c.typed);
    if (c.code >= 0)
      SendMessageW(host.Page(), WM_VSCROLL, c.code, reinterpret_cast<LPARAM>(host.Item(IDC_WN_SNAP_SPIN)));
    EXPECT_EQ(host.Text(IDC_WN_SNAP_PIXELS), c.shown) << c.typed << " " << c.code;
    EXPECT_EQ(host.Command(IDOK), 1);
    EXPECT_EQ(qorv::Field(qorv::g_settings.WndFlag, 0x00FF0000, 16), c.stored) << c.typed << " " << c.code;
  }
}

TEST_F(WindowPageTest, RightDoubleClickRevealsSnapHideAndItIsSaved) {
  PageHost host(IDD_WINDOW, qorv::WindowPageProc);
  ASSERT_FALSE(host.Visible(IDC_WN_SNAPHIDE));
  ASSERT_TRUE(host.RightDoubleClick(host.Centre(IDC_WN_SNAPHIDE))) << "the page is not under the pointer";
  ASSERT_TRUE(pages_test::WaitFor([&] { return host.Visible(IDC_WN_SNAPHIDE); }));
  EXPECT_FALSE(host.Visible(IDC_WN_NOSNAPCHILD));  // only the one under the pointer
  host.Click(IDC_WN_SNAPHIDE);
  EXPECT_EQ(host.Command(IDOK), 1);
  EXPECT_EQ(qorv::g_settings.WndFlag, qorv::kWndFlagDefault | qorv::wnd_flag::kSnapHide);
  PageHost again(IDD_WINDOW, qorv::WindowPageProc);
  EXPECT_TRUE(again.Visible(IDC_WN_SNAPHIDE));
}

// A thumb drag on the move/size level bar, run by a helper thread while this thread pumps the
// scroll bar's own tracking loop. The drag goes left until the level is 3 or less and ends by the
// release, by a lost capture, or by the page going away.
class PreviewDrag {
 public:
  enum End { Release, CaptureLost, PageDestroyed };

  PreviewDrag(PageHost& host, End end) : host_(host), end_(end) {}

  void Run() {
    HWND bar = host_.Item(IDC_WN_LEVEL);
    SCROLLBARINFO sbi = {};
    sbi.cbSize = sizeof(sbi);
    ASSERT_TRUE(GetScrollBarInfo(bar, OBJID_CLIENT, &sbi));
    const POINT thumb = {sbi.rcScrollBar.left + (sbi.xyThumbTop + sbi.xyThumbBottom) / 2,
                         (sbi.rcScrollBar.top + sbi.rcScrollBar.bottom) / 2};
    ASSERT_TRUE(pages_test::WaitFor([&] { return WindowFromPoint(thumb) == bar; }));
    std::thread helper([&] { Drive(bar, thumb); });
    pages_test::WaitFor([&] { return done_.load(); }, 30000);
    helper.join();
  }

  int previewLevel = 0;   // level at which the window was seen layered during the drag (the witness)
  BYTE previewAlpha = 0;  // its alpha then
  bool layeredAfter = true;

 private:
  // Level and alpha read while the level stays put, so that the pair belongs together.
  bool Sample(HWND bar, int& level, BYTE& alpha) const {
    level = GetScrollPos(bar, SB_CTL);
    const bool layered = Layered(host_.Frame());
    alpha = Alpha(host_.Frame());
    return layered && GetScrollPos(bar, SB_CTL) == level;
  }

  void Drive(HWND bar, POINT thumb) {
    pages_test::MouseAt(thumb, MOUSEEVENTF_LEFTDOWN);
    for (int dx = 4; dx < 400 && previewLevel == 0; dx += 4) {
      pages_test::MouseAt(POINT{thumb.x - dx, thumb.y}, 0);
      const DWORD start = GetTickCount();
      while (GetTickCount() - start < 100) {
        int level = 0;
        BYTE alpha = 0;
        if (Sample(bar, level, alpha) && level <= 3) {
          previewLevel = level;
          previewAlpha = alpha;
          break;
        }
        Sleep(5);
      }
    }
    if (end_ == CaptureLost) PostMessageW(host_.Frame(), pages_test::kHostReleaseCapture, 0, 0);
    if (end_ == PageDestroyed) PostMessageW(host_.Frame(), pages_test::kHostDestroyPage, 0, 0);
    if (end_ != Release) WaitLayered(false);
    POINT at;
    GetCursorPos(&at);
    pages_test::MouseAt(at, MOUSEEVENTF_LEFTUP);
    WaitLayered(false);
    layeredAfter = Layered(host_.Frame());
    done_ = true;
  }

  void WaitLayered(bool layered) const {
    const DWORD start = GetTickCount();
    while (Layered(host_.Frame()) != layered && GetTickCount() - start < 5000) Sleep(10);
  }

  PageHost& host_;
  End end_;
  std::atomic<bool> done_{false};
};

TEST_F(WindowPageTest, ThumbDragPreviewsTheLevelOnTheSettingsWindowUntilItEnds) {
  if ((qorv::LoadLayeredApi() & qorv::kLayeredSet) == 0) GTEST_SKIP() << "no layered windows";
  for (PreviewDrag::End end : {PreviewDrag::Release, PreviewDrag::CaptureLost, PreviewDrag::PageDestroyed}) {
    PageHost host(IDD_WINDOW, qorv::WindowPageProc);
    ASSERT_FALSE(Layered(host.Frame()));
    PreviewDrag drag(host, end);
    drag.Run();
    ASSERT_GE(drag.previewLevel, 1) << "no preview seen during the drag, end " << end;
    EXPECT_EQ(drag.previewAlpha, 25 * drag.previewLevel) << "end " << end;
    EXPECT_FALSE(drag.layeredAfter) << "the settings window stayed translucent, end " << end;
    if (end != PreviewDrag::PageDestroyed) {
      // The level stands where the drag left it, and OK stores that.
      const int level = GetScrollPos(host.Item(IDC_WN_LEVEL), SB_CTL);
      EXPECT_EQ(host.Text(IDC_WN_LEVEL_VALUE), std::to_wstring(level * 10) + L" %");
      EXPECT_EQ(host.Command(IDOK), 1);
      EXPECT_EQ(qorv::Field(qorv::g_settings.WndFlag, 0x0F000000, 24), static_cast<uint32_t>(level));
    }
    qorv::g_settings.WndFlag = qorv::kWndFlagDefault;
  }
}

TEST_F(WindowPageTest, AlreadyLayeredSettingsWindowGetsNoPreview) {
  PageHost host(IDD_WINDOW, qorv::WindowPageProc);
  qorv::SetLayeredAttributes(host.Frame(), 0, 200, LWA_ALPHA);
  HWND bar = host.Item(IDC_WN_LEVEL);
  SendMessageW(host.Page(), WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 2), reinterpret_cast<LPARAM>(bar));
  EXPECT_EQ(Alpha(host.Frame()), 200);
  SendMessageW(host.Page(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2), reinterpret_cast<LPARAM>(bar));
  EXPECT_TRUE(Layered(host.Frame()));  // someone else's translucency is left alone
  EXPECT_EQ(Alpha(host.Frame()), 200);
}

}  // namespace
