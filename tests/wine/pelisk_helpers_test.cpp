// The control helpers that the pages share, on real controls of the program's own dialogs.
#include <gtest/gtest.h>

#include <string>

#include "pelisk/resource.h"
#include "pelisk/ui_helpers_win.h"
#include "tests/wine/pelisk_harness.h"

namespace {

INT_PTR CALLBACK PlainPageProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

class HelpersTest : public ::testing::Test {
 protected:
  void SetUp() override { pelisk::InitInProcess(); }
};

std::wstring ComboItem(HWND combo, int index) {
  wchar_t text[64] = {};
  SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
  return text;
}

TEST_F(HelpersTest, ComboItemsFromAString) {
  pelisk::PageHost host(IDD_WHEEL, PlainPageProc);
  HWND combo = host.Item(IDC_WH_VAMOUNT);
  EXPECT_EQ(qorv::FillComboFromString(combo, IDS_VERTICAL_AMOUNTS), 12);
  EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 12);
  EXPECT_EQ(ComboItem(combo, 0), L"なし");
  EXPECT_EQ(ComboItem(combo, 10), L"10 行");
  EXPECT_EQ(ComboItem(combo, 11), L"ページ");
  EXPECT_EQ(qorv::FillComboFromString(host.Item(IDC_WH_HAMOUNT), 999), 0);
}

TEST_F(HelpersTest, ScrollBarStepsAndClamps) {
  pelisk::PageHost host(IDD_WHEEL, PlainPageProc);
  HWND bar = host.Item(IDC_WH_RECOVER);
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = 15;
  info.nPage = 1;
  info.nPos = 14;
  SetScrollInfo(bar, SB_CTL, &info, TRUE);
  EXPECT_EQ(qorv::StepScrollBar(bar, SB_LINERIGHT), 15);
  EXPECT_EQ(qorv::StepScrollBar(bar, SB_LINERIGHT), 15);
  EXPECT_EQ(qorv::StepScrollBar(bar, SB_LEFT), 0);
  EXPECT_EQ(qorv::StepScrollBar(bar, SB_LINELEFT), 0);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);
}

TEST_F(HelpersTest, RightDoubleClickRevealsAHiddenBoxButNotAGroupBox) {
  pelisk::PageHost host(IDD_WHEEL, PlainPageProc);
  HWND hidden = host.Item(IDC_WH_CTRLPAGE);
  ASSERT_FALSE(IsWindowVisible(hidden));
  RECT r;
  GetWindowRect(hidden, &r);
  POINT inside = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ScreenToClient(host.Page(), &inside);
  EXPECT_EQ(qorv::RevealHiddenControl(host.Page(), inside, 0), hidden);
  EXPECT_TRUE(IsWindowVisible(hidden));
  // A point on the group box's empty area shows nothing new.
  GetWindowRect(host.Item(IDC_WH_GROUP_ACTION), &r);
  POINT empty = {r.right - 4, r.bottom - 4};
  ScreenToClient(host.Page(), &empty);
  EXPECT_EQ(qorv::RevealHiddenControl(host.Page(), empty, 0), nullptr);
}

TEST_F(HelpersTest, ListColumnsAndMovingRowsWithTheirData) {
  pelisk::PageHost host(IDD_MOUSE, PlainPageProc);
  HWND list = host.Item(IDC_MB_LIST);
  ASSERT_EQ(qorv::ListColumnsFromString(list, IDS_BUTTON_COLUMNS), 3);
  const DWORD styles = static_cast<DWORD>(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  EXPECT_EQ(styles & (LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP),
            static_cast<DWORD>(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP));
  EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 120);
  EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), 100);
  LVCOLUMNW column = {};
  column.mask = LVCF_FMT;
  SendMessageW(list, LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
  EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_CENTER);

  for (int i = 0; i < 3; ++i) {
    std::wstring text = L"row" + std::to_wstring(i);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = i;
    item.pszText = &text[0];
    item.lParam = 100 + i;
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    std::wstring sub = L"sub" + std::to_wstring(i);
    LVITEMW set = {};
    set.iSubItem = 2;
    set.pszText = &sub[0];
    SendMessageW(list, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&set));
    ListView_SetCheckState(list, i, i == 0);
  }
  EXPECT_EQ(qorv::MoveListItem(list, 0, 2, -1), -1);
  EXPECT_EQ(qorv::MoveListItem(list, 0, 2, 1), 1);  // row0 goes below row1
  auto textOf = [&](int row, int sub) {
    wchar_t text[64] = {};
    LVITEMW get = {};
    get.iSubItem = sub;
    get.pszText = text;
    get.cchTextMax = 64;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&get));
    return std::wstring(text);
  };
  auto dataOf = [&](int row) {
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
  };
  EXPECT_EQ(textOf(0, 0), L"row1");
  EXPECT_EQ(textOf(1, 0), L"row0");
  EXPECT_EQ(textOf(1, 2), L"sub0");
  EXPECT_EQ(dataOf(1), 100);
  EXPECT_TRUE(ListView_GetCheckState(list, 1));
  EXPECT_FALSE(ListView_GetCheckState(list, 0));
  EXPECT_EQ(qorv::MoveListItem(list, 2, 2, -1), 1);  // row2 goes above row0
  EXPECT_EQ(textOf(1, 0), L"row2");
  EXPECT_EQ(dataOf(2), 100);
  // The last row moved down comes back in its place with its texts, data and check box.
  EXPECT_EQ(qorv::MoveListItem(list, 2, 2, 1), 2);
  EXPECT_EQ(textOf(2, 0), L"row0");
  EXPECT_EQ(textOf(2, 2), L"sub0");
  EXPECT_EQ(dataOf(2), 100);
  EXPECT_TRUE(ListView_GetCheckState(list, 2));
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 3);
}

TEST_F(HelpersTest, DialogCentredOverItsParent) {
  pelisk::PageHost host(IDD_WHEEL, PlainPageProc);
  HWND editor =
      CreateDialogParamW(qorv::g_instance, MAKEINTRESOURCEW(IDD_BUTTON_EDITOR), host.Host(), PlainPageProc, 0);
  ASSERT_NE(editor, nullptr);
  qorv::CenterOverParent(editor);
  RECT parent;
  RECT dialog;
  GetWindowRect(host.Host(), &parent);
  GetWindowRect(editor, &dialog);
  EXPECT_NEAR((dialog.left + dialog.right) / 2, (parent.left + parent.right) / 2, 1);
  EXPECT_NEAR((dialog.top + dialog.bottom) / 2, (parent.top + parent.bottom) / 2, 1);
  DestroyWindow(editor);
}

}  // namespace
