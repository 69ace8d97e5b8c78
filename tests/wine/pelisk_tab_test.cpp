// Tab and Shift+Tab from a hotkey control, pressed as a keyboard user would, in the real tabbed
// window and the debug dialog: the focus moves to the next tab stop of the whole window, as the
// dialog manager moves it from any other control, and leaves the page for OK, Cancel and the tabs.
#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <string>

#include "pelisk/resource.h"
#include "pelisk/sheet_win.h"
#include "tests/wine/dialog_driver.h"
#include "tests/wine/pelisk_harness.h"

namespace {

using harness::WaitFor;

struct TabSeen {
  bool ready = false;
  HWND control = nullptr;
  HWND afterTab = nullptr;
  HWND wantTab = nullptr;
  HWND afterBackTab = nullptr;
  HWND wantBackTab = nullptr;
  std::set<int> outside;  // ids of the controls outside the control's dialog that 20 Tabs reached
  std::wstring told;      // where the single presses went, for a failure message
};

std::wstring Describe(HWND window) {
  if (window == nullptr) return L"(none)";
  wchar_t cls[32] = {};
  GetClassNameW(window, cls, 32);
  return std::wstring(cls) + L" " + std::to_wstring(GetDlgCtrlID(window));
}

// Run on a helper thread while the window's thread runs its loop: focuses the control, presses
// Tab, then Shift+Tab from it, then Tab 20 times, noting where the focus went each time.
void DriveTabs(HWND root, int controlId, HWND page, TabSeen& seen) {
  const DWORD thread = GetWindowThreadProcessId(root, nullptr);
  auto focus = [&] {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
  };
  HWND control = GetDlgItem(page, controlId);
  seen.control = control;
  SetForegroundWindow(root);
  seen.ready = control != nullptr && WaitFor([&] { return GetForegroundWindow() == root; });
  if (!seen.ready) return;
  // One press from the control; the focus leaving it is the witness that the key arrived.
  auto pressFrom = [&](HWND from, bool back) {
    if (focus() != from) {
      SendMessageW(root, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(from), TRUE);
      if (!WaitFor([&] { return focus() == from; })) return static_cast<HWND>(nullptr);
    }
    pelisk::Chord(back ? std::initializer_list<WORD>{VK_SHIFT} : std::initializer_list<WORD>{}, VK_TAB);
    WaitFor([&] { return focus() != from; });
    return focus();
  };
  seen.wantTab = GetNextDlgTabItem(root, control, FALSE);
  seen.afterTab = pressFrom(control, false);
  seen.wantBackTab = GetNextDlgTabItem(root, control, TRUE);
  seen.afterBackTab = pressFrom(control, true);
  seen.told = L"Tab: " + Describe(seen.afterTab) + L" (want " + Describe(seen.wantTab) + L"), Shift+Tab: " +
              Describe(seen.afterBackTab) + L" (want " + Describe(seen.wantBackTab) + L")";
  HWND at = control;
  for (int i = 0; i < 20 && at != nullptr; ++i) {
    at = pressFrom(at, false);
    if (at != nullptr && GetParent(at) != GetParent(control)) seen.outside.insert(GetDlgCtrlID(at));
  }
}

class TabTest : public ::testing::Test {
 protected:
  void SetUp() override { pelisk::InitInProcess(); }
  void TearDown() override { input::ReleaseAll(); }

  // The tabbed window on a start page, Tab driven from control id of that page.
  TabSeen InSheet(int startPage, int controlId) {
    TabSeen seen;
    dialogdrive::DialogAnswerer driver(L"Qorv 1.6 設定", [&](HWND frame) {
      HWND page = reinterpret_cast<HWND>(SendMessageW(frame, qorv::kSheetGetCurrentPage, 0, 0));
      DriveTabs(frame, controlId, page, seen);
      PostMessageW(frame, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(qorv::RunSettingsWindow(qorv::g_instance, startPage), 2);
    EXPECT_EQ(driver.Answered(), 1);
    return seen;
  }
};

void ExpectWholeWindowOrder(const TabSeen& seen) {
  ASSERT_TRUE(seen.ready) << "the window never came to the front";
  EXPECT_NE(seen.afterTab, nullptr) << seen.told;
  EXPECT_EQ(seen.afterTab, seen.wantTab) << seen.told;
  EXPECT_EQ(seen.afterBackTab, seen.wantBackTab) << seen.told;
}

TEST_F(TabTest, HotkeysPageTabReachesOkCancelAndTheTabs) {
  for (int id : {IDC_HK_PROP, IDC_HK_VOLMUTE}) {
    const TabSeen seen = InSheet(4, id);
    ExpectWholeWindowOrder(seen);
    EXPECT_TRUE(seen.outside.count(IDOK) && seen.outside.count(IDCANCEL) && seen.outside.count(IDC_SHEET_TAB))
        << "20 presses of Tab from " << id << " did not reach OK, Cancel and the tabs";
  }
}

TEST_F(TabTest, MouseButtonPageHotkeyTabsThroughTheWholeWindow) {
  ExpectWholeWindowOrder(InSheet(5, IDC_MB_HOTKEY));
}

TEST_F(TabTest, DebugDialogHotkeyTabsToItsNeighbours) {
  TabSeen seen;
  dialogdrive::DialogAnswerer driver(L"Qorv デバッグ設定", [&](HWND dialog) {
    DriveTabs(dialog, IDC_DB_HOTKEY, dialog, seen);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(qorv::RunDebugDialog(qorv::g_instance), 2);
  ExpectWholeWindowOrder(seen);
  EXPECT_NE(seen.afterTab, seen.control);
}

}  // namespace
