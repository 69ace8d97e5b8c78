// The tabbed settings window driven inside this process: pages created when first shown, the
// closing protocol, the page-count rule, start pages, frame messages and keyboard navigation.
#include <gtest/gtest.h>

#include <vector>

#include "pelisk/resource.h"
#include "pelisk/sheet_win.h"
#include "pelisk/ui_helpers_win.h"
#include "tests/wine/pelisk_harness.h"

namespace {

int g_refusingPage = -1;
std::vector<int> g_asked;

// A page that records being asked to close and refuses OK when it is the refusing page.
INT_PTR CALLBACK TestPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(page, GWLP_USERDATA, lParam);
    return TRUE;
  }
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) && lParam == 0) {
    const int index = static_cast<int>(GetWindowLongPtrW(page, GWLP_USERDATA));
    g_asked.push_back(index);
    return qorv::SetDialogResult(page, (LOWORD(wParam) == IDOK && index == g_refusingPage) ? 2 : 1);
  }
  return FALSE;
}

class SheetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pelisk::InitInProcess();
    g_refusingPage = -1;
    g_asked.clear();
  }
  void TearDown() override { input::ReleaseAll(); }
  static HWND Tab(HWND frame) { return reinterpret_cast<HWND>(SendMessageW(frame, qorv::kSheetGetTab, 0, 0)); }
  static HWND CurrentPage(HWND frame) {
    return reinterpret_cast<HWND>(SendMessageW(frame, qorv::kSheetGetCurrentPage, 0, 0));
  }
  static int CurrentTab(HWND frame) { return static_cast<int>(SendMessageW(Tab(frame), TCM_GETCURSEL, 0, 0)); }
};

TEST_F(SheetTest, RefusedOkBringsThatPageToTheFrontAndPointersSurviveInTheirSlots) {
  // The descriptor lives above 4 GB, so that a slot cutting pointers to 32 bits would lose it.
  auto* desc = static_cast<qorv::SheetDesc*>(
      VirtualAlloc(nullptr, sizeof(qorv::SheetDesc), MEM_COMMIT | MEM_RESERVE | MEM_TOP_DOWN, PAGE_READWRITE));
  ASSERT_NE(desc, nullptr);
  ASSERT_GT(reinterpret_cast<uintptr_t>(desc), uintptr_t{0xFFFFFFFF});
  *desc = qorv::SheetDesc{};
  desc->instance = qorv::g_instance;
  desc->title = L"SheetTest frame";
  desc->pageCount = 6;
  const UINT dialogs[] = {IDD_WHEEL, IDD_WINDOW, IDD_OTHER, IDD_PERWINDOW, IDD_HOTKEYS, IDD_MOUSE};
  for (int i = 0; i < 6; ++i) {
    desc->pages[i] = {nullptr, L"page", qorv::g_instance, dialogs[i], TestPageProc, i};
  }
  bool checked = false;
  pelisk::RunInLoop([&] {
    HWND frame = pelisk::FindOwnDialog(L"SheetTest frame");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(frame, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(desc));
    EXPECT_EQ(TabCtrl_GetItemCount(Tab(frame)), 6);
    EXPECT_NE(desc->pages[0].window, nullptr);
    EXPECT_EQ(desc->pages[4].window, nullptr) << "pages are created when first shown";
    SendMessageW(frame, qorv::kSheetSelectPage, 0, 4);
    EXPECT_EQ(CurrentPage(frame), desc->pages[4].window);
    EXPECT_TRUE(IsWindowVisible(desc->pages[4].window));
    EXPECT_FALSE(IsWindowVisible(desc->pages[0].window));
    SendMessageW(frame, qorv::kSheetSelectPage, 0, 0);
    g_refusingPage = 4;
    SendMessageW(frame, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(IsWindow(frame)) << "a refused OK keeps the window open";
    EXPECT_EQ(CurrentPage(frame), desc->pages[4].window);
    EXPECT_EQ(CurrentTab(frame), 4);
    EXPECT_EQ(g_asked, (std::vector<int>{0, 4}));
    checked = true;
    PostMessageW(frame, WM_COMMAND, IDCANCEL, 0);  // pages accept Cancel
  });
  EXPECT_EQ(qorv::RunSheet(desc), 2);
  EXPECT_TRUE(checked);
  EXPECT_EQ(g_asked, (std::vector<int>{0, 4, 0, 4}));
  EXPECT_EQ(desc->pages[1].window, nullptr);
  EXPECT_NE(desc->pages[4].window, nullptr) << "window fields stay set after closing";
  VirtualFree(desc, 0, MEM_RELEASE);
  EXPECT_EQ(qorv::RunSheet(nullptr), -1);
}

TEST_F(SheetTest, QuitFromElsewhereEndsTheWindowWithItsCode) {
  qorv::SheetDesc desc{};
  desc.instance = qorv::g_instance;
  desc.title = L"SheetTest quit";
  desc.pageCount = 2;
  for (int i = 0; i < 2; ++i) desc.pages[i] = {nullptr, L"page", qorv::g_instance, IDD_WHEEL, TestPageProc, i};
  HWND frame = nullptr;
  pelisk::RunInLoop([&] {
    frame = pelisk::FindOwnDialog(L"SheetTest quit");
    PostQuitMessage(7);
  });
  EXPECT_EQ(qorv::RunSheet(&desc), 7);
  ASSERT_NE(frame, nullptr);
  EXPECT_FALSE(IsWindow(frame));
  EXPECT_TRUE(g_asked.empty()) << "the pages are not asked: nothing is taken over";
  MSG quit;
  ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "a quit is left for an outer loop";
  EXPECT_EQ(quit.wParam, 0u);
}

TEST_F(SheetTest, StartPagesAndThePageCountRule) {
  const struct {
    uint32_t platform;
    uint32_t btnFlag;
    int digit;
    int tabs;
    int page;
    int control;  // a control only that page has
  } kCases[] = {
      {2, 0, 0, 5, 0, IDC_WH_ACTIVATE},    {2, 0, 3, 5, 3, IDC_PW_LIST}, {2, 0, 5, 6, 5, IDC_MB_LIST},
      {1, 0, 5, 5, 4, IDC_HK_PROP},        {2, 0, 8, 5, 4, IDC_HK_PROP}, {2, 1, 9, 6, 5, IDC_MB_LIST},
      {2, 2, 1, 6, 1, IDC_WN_LEVEL_LABEL},
  };
  for (const auto& k : kCases) {
    pelisk::InitInProcess();
    qorv::g_platformId = k.platform;
    qorv::g_settings.MouseBtn.btnFlag = k.btnFlag;
    int tabs = -1;
    int page = -1;
    bool hasControl = false;
    std::wstring title;
    pelisk::RunInLoop([&] {
      HWND frame = pelisk::FindOwnDialog(L"Qorv 1.6 設定");
      ASSERT_NE(frame, nullptr);
      title = pelisk::TextOf(frame);
      tabs = TabCtrl_GetItemCount(Tab(frame));
      page = CurrentTab(frame);
      hasControl = GetDlgItem(CurrentPage(frame), k.control) != nullptr;
      PostMessageW(frame, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(qorv::RunSettingsWindow(qorv::g_instance, k.digit), 2);
    EXPECT_EQ(title, L"Qorv 1.6 設定");
    EXPECT_EQ(tabs, k.tabs) << "digit " << k.digit;
    EXPECT_EQ(page, k.page) << "digit " << k.digit;
    EXPECT_TRUE(hasControl) << "digit " << k.digit;
    EXPECT_EQ(qorv::g_settings.HotkeysPageVisited, k.page == 4);
    EXPECT_EQ(qorv::g_settings.MousePageVisited, k.page == 5);
  }
}

TEST_F(SheetTest, FrameFitsThePageAndDigitFourFocusesOk) {
  bool checked = false;
  pelisk::RunInLoop([&] {
    HWND frame = pelisk::FindOwnDialog(L"Qorv 1.6 設定");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(GetFocus(), GetDlgItem(frame, IDOK));
    EXPECT_NE(GetWindowLongPtrW(frame, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);
    RECT page;
    RECT tab;
    RECT ok;
    RECT work;
    RECT whole;
    GetWindowRect(CurrentPage(frame), &page);
    GetWindowRect(Tab(frame), &tab);
    GetWindowRect(GetDlgItem(frame, IDOK), &ok);
    GetWindowRect(frame, &whole);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_TRUE(page.left >= tab.left && page.right <= tab.right && page.bottom <= tab.bottom && page.top > tab.top);
    EXPECT_GE(ok.top, tab.bottom);
    EXPECT_LE(whole.right, work.right);
    EXPECT_GE(whole.left, work.left);
    EXPECT_GE(whole.top, work.top);
    EXPECT_NEAR((whole.left + whole.right) / 2, (work.left + work.right) / 2, 1);
    checked = true;
    PostMessageW(frame, WM_CLOSE, 0, 0);  // the close box acts as Cancel
  });
  EXPECT_EQ(qorv::RunSettingsWindow(qorv::g_instance, 4), 2);
  EXPECT_TRUE(checked);
}

TEST_F(SheetTest, CentredInAWorkAreaThatDoesNotStartAtTheOrigin) {
  RECT saved;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &saved, 0));
  // A taskbar along the top and the left edge.
  RECT shifted = {saved.left + 300, saved.top + 250, saved.right, saved.bottom};
  ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &shifted, 0));
  RECT now;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &now, 0);
  RECT frameRect = {};
  pelisk::RunInLoop([&] {
    HWND frame = pelisk::FindOwnDialog(L"Qorv 1.6 設定");
    ASSERT_NE(frame, nullptr);
    GetWindowRect(frame, &frameRect);
    PostMessageW(frame, WM_COMMAND, IDCANCEL, 0);
  });
  const int result = qorv::RunSettingsWindow(qorv::g_instance, 0);
  SystemParametersInfoW(SPI_SETWORKAREA, 0, &saved, 0);
  ASSERT_EQ(now.top, shifted.top) << "the system kept the work area";
  EXPECT_EQ(result, 2);
  EXPECT_GE(frameRect.top, shifted.top);
  EXPECT_GE(frameRect.left, shifted.left);
  EXPECT_NEAR((frameRect.top + frameRect.bottom) / 2, (shifted.top + shifted.bottom) / 2, 1);
  EXPECT_NEAR((frameRect.left + frameRect.right) / 2, (shifted.left + shifted.right) / 2, 1);
}

TEST_F(SheetTest, CtrlTabCyclesAndEnterActsAsOk) {
  qorv::g_settings.MouseBtn.btnFlag = 1;  // six tabs
  HWND frame = nullptr;
  std::vector<int> seen;
  auto tabIs = [&](int want) { return [&, want] { return CurrentTab(frame) == want; }; };
  pelisk::RunInLoop([&] {
    frame = pelisk::FindOwnDialog(L"Qorv 1.6 設定");
    ASSERT_NE(frame, nullptr);
    SetForegroundWindow(frame);
    pelisk::WhenInLoop([&] { return GetForegroundWindow() == frame && GetFocus() != nullptr; },
                       [&](bool ready) {
                         ASSERT_TRUE(ready) << "the window never got the focus";
                         EXPECT_TRUE(IsChild(CurrentPage(frame), GetFocus())) << "the focus starts inside the page";
                         pelisk::Chord({VK_CONTROL}, VK_TAB);
                         pelisk::WhenInLoop(tabIs(1), [&](bool ok1) {
                           seen.push_back(ok1 ? 1 : -1);
                           pelisk::Chord({VK_CONTROL, VK_SHIFT}, VK_TAB);
                           pelisk::WhenInLoop(tabIs(0), [&](bool ok0) {
                             seen.push_back(ok0 ? 0 : -1);
                             pelisk::Chord({VK_CONTROL, VK_SHIFT}, VK_TAB);
                             pelisk::WhenInLoop(tabIs(5), [&](bool ok5) {
                               seen.push_back(ok5 ? 5 : -1);
                               pelisk::Chord({}, VK_RETURN);
                               pelisk::WhenInLoop([] { return false; },
                                                  [&](bool) { PostMessageW(frame, WM_COMMAND, IDCANCEL, 0); });
                             });
                           });
                         });
                       });
  });
  EXPECT_EQ(qorv::RunSettingsWindow(qorv::g_instance, 0), 1) << "Enter on a page closes with OK";
  EXPECT_EQ(seen, (std::vector<int>{1, 0, 5}));
  EXPECT_TRUE(qorv::g_settings.MousePageVisited);
}

}  // namespace
