// The mouse-button page and its editor inside the test process, in the Japanese locale: the list
// built from the settings record, the eight-entry limit, moves, OK back into "Qorv.ini" form, the
// hotkey questions, and the key control taking wheel and mouse buttons.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/flags.h"
#include "pelisk/keyctl_win.h"
#include "pelisk/pages/pages_win.h"
#include "pelisk/resource.h"
#include "settings/settings_win.h"
#include "tests/wine/dialog_driver.h"
#include "tests/wine/harness.h"
#include "tests/wine/input.h"

using dialogdrive::DialogAnswerer;
using dialogdrive::ListTexts;
using dialogdrive::PageHost;
using harness::WaitFor;

namespace {

const wchar_t kEditorCaption[] = L"マウスボタン変換設定";

class MousePageTest : public ::testing::Test {
 protected:
  void Load(const std::string& text) {
    qorv::IniText ini = qorv::IniFromBytes(text.data(), text.size());
    qorv::g_settings = {};
    qorv::SettingsFromText(ini, qorv::g_settings);
    qorv::IniFree(ini);
  }
  std::string Saved() {
    qorv::g_settings.MousePageVisited = true;
    qorv::IniText ini = qorv::SettingsToText(qorv::g_settings, nullptr);
    std::string text = ini != nullptr ? ini : "";
    qorv::IniFree(ini);
    return text;
  }
  void TearDown() override { input::ReleaseAll(); }
};

std::string Pairs(int count) {
  std::string text = "[MouseBtn]\r\nBtnFlag=0x00000002\r\nSetNum=" + std::to_string(count) + "\r\n";
  for (int i = 0; i < count; ++i) {
    char line[64];
    snprintf(line, sizeof(line), "BtnSet%d=0x01%d000:0x%08X\r\n", i, i % 7, 0x41 + i);
    text += line;
  }
  return text;
}

TEST_F(MousePageTest, ListFollowsTheRecordAndOkStoresItsOrder) {
  Load(
      "[MouseBtn]\r\nBtnFlag=0x00000002\r\nSetNum=3\r\nBtnSet0=0x010000:0x00000041\r\n"
      "BtnSet1=0x011203:0x00000274\r\nBtnSet2=0x002000:0\r\n");
  PageHost host(IDD_MOUSE, qorv::MousePageProc);
  HWND list = host.Item(IDC_MB_LIST);
  const auto rows = ListTexts(list, 3);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (std::vector<std::wstring>{L"左クリック", L"*", L"0x41"}));
  EXPECT_EQ(rows[1][0], L"右クリック");
  EXPECT_EQ(rows[1][1], L"LRC");
  EXPECT_EQ(rows[2], (std::vector<std::wstring>{L"ホイール上回転", L"*", L"なし"}));
  EXPECT_TRUE(dialogdrive::ListChecked(list, 0));
  EXPECT_FALSE(dialogdrive::ListChecked(list, 2));
  EXPECT_EQ(IsDlgButtonChecked(host.Page(), IDC_MB_WHEEL_UNDER), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(host.Page(), IDC_MB_START), BST_UNCHECKED);

  dialogdrive::SelectListRow(list, 0);
  host.Click(IDC_MB_UP);  // first already: nothing moves
  dialogdrive::SelectListRow(list, 2);
  host.Click(IDC_MB_UP);
  host.Click(IDC_MB_UP);
  ListView_SetCheckState(list, 1, FALSE);  // the user unticks the old first entry
  dialogdrive::SelectListRow(list, 2);
  host.Click(IDC_MB_DELETE);
  CheckDlgButton(host.Page(), IDC_MB_START, BST_CHECKED);
  CheckDlgButton(host.Page(), IDC_MB_WHEEL_UNDER, BST_UNCHECKED);
  EXPECT_EQ(host.Close(IDOK), 1);

  const std::string saved = Saved();
  EXPECT_NE(saved.find("[MouseBtn]\r\nBtnFlag=0x00000001\r\nSetNum=2\r\nBtnSet0=0x002000:0\r\n"
                       "BtnSet1=0:0x00000041\r\n\r\n[HotKey]\r\nHkMouseBtn=0\r\n"),
            std::string::npos)
      << saved;
  EXPECT_EQ(saved.find("BtnSet2"), std::string::npos) << "a removed entry leaves no line";
}

TEST_F(MousePageTest, EightEntriesDisableNewAndTheInsertKey) {
  Load(Pairs(7));
  PageHost host(IDD_MOUSE, qorv::MousePageProc);
  HWND list = host.Item(IDC_MB_LIST);
  ASSERT_EQ(ListView_GetItemCount(list), 7);
  EXPECT_TRUE(IsWindowEnabled(host.Item(IDC_MB_NEW)));

  int startButton = -1;
  LRESULT startKey = -1;
  bool startEnabled = false;
  DialogAnswerer editor(kEditorCaption, [&](HWND dialog) {
    startButton = static_cast<int>(SendDlgItemMessageW(dialog, IDC_BE_BUTTON, CB_GETCURSEL, 0, 0));
    startKey = SendDlgItemMessageW(dialog, IDC_BE_KEY, qorv::KWM_GETVALUE, 0, 0);
    startEnabled = IsDlgButtonChecked(dialog, IDC_BE_ENABLED) == BST_CHECKED;
    SendDlgItemMessageW(dialog, IDC_BE_BUTTON, CB_SETCURSEL, 4, 0);
    CheckDlgButton(dialog, IDC_BE_SHIFT, BST_CHECKED);
    SendDlgItemMessageW(dialog, IDC_BE_KEY, qorv::KWM_SETVALUE, qorv::hotkey::kVkWheelForward, 0);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  dialogdrive::SelectListRow(list, 0);
  host.Click(IDC_MB_NEW);
  ASSERT_TRUE(WaitFor([&] { return editor.Answered() == 1; }, dialogdrive::kAnswerWaitMs));
  EXPECT_EQ(startButton, 1) << "a new entry converts the right button";
  EXPECT_EQ(startKey, 0);
  EXPECT_TRUE(startEnabled);
  ASSERT_EQ(ListView_GetItemCount(list), 8);
  EXPECT_EQ(ListTexts(list, 3)[1], (std::vector<std::wstring>{L"ホイールクリック", L"S", L"Wheel Up"}));
  EXPECT_FALSE(IsWindowEnabled(host.Item(IDC_MB_NEW)));

  // Insert is refused too; the Delete pressed after it is the witness that both keys arrived.
  dialogdrive::SelectListRow(list, 0);
  dialogdrive::PressKey(list, VK_INSERT);
  dialogdrive::PressKey(list, VK_DELETE);
  ASSERT_TRUE(WaitFor([&] { return ListView_GetItemCount(list) == 7; }));
  EXPECT_EQ(editor.Answered(), 1) << "no editor opened at eight entries";
  EXPECT_TRUE(IsWindowEnabled(host.Item(IDC_MB_NEW)));

  EXPECT_EQ(host.Close(IDOK), 1);
  EXPECT_EQ(qorv::g_settings.MouseBtn.setNum, 7u);
  EXPECT_EQ(qorv::g_settings.MouseBtn.pairs[0].condition, 0x00014400u);
  EXPECT_EQ(qorv::g_settings.MouseBtn.pairs[0].key, qorv::hotkey::kVkWheelForward);
}

// The left button releases the header of the test thread has taken: the witness that a click arrived.
HWND g_header;
LONG g_headerUps;
LRESULT CALLBACK HeaderUpWitness(int code, WPARAM wp, LPARAM lp) {
  const MSG* m = reinterpret_cast<const MSG*>(lp);
  if (code == HC_ACTION && wp == PM_REMOVE && m->message == WM_LBUTTONUP && m->hwnd == g_header) ++g_headerUps;
  return CallNextHookEx(nullptr, code, wp, lp);
}

TEST_F(MousePageTest, SortingByARealClickOnTheButtonHeader) {
  Load(
      "[MouseBtn]\r\nSetNum=4\r\nBtnSet0=0x013000:0x41\r\nBtnSet1=0x011001:0x42\r\nBtnSet2=0x010000:0x43\r\n"
      "BtnSet3=0x011F73:0x44\r\n");
  PageHost host(IDD_MOUSE, qorv::MousePageProc);
  HWND list = host.Item(IDC_MB_LIST);
  g_header = ListView_GetHeader(list);
  g_headerUps = 0;
  ASSERT_NE(g_header, nullptr);
  SetForegroundWindow(GetParent(host.Page()));
  HHOOK witness = SetWindowsHookExW(WH_GETMESSAGE, HeaderUpWitness, nullptr, GetCurrentThreadId());
  auto keys = [&] {
    std::vector<std::wstring> column;
    for (const auto& row : ListTexts(list, 3)) column.push_back(row[2]);
    return column;
  };
  // Clicks the middle of a column's header and waits until the header has taken the release.
  auto clickColumn = [&](int column) {
    RECT r = {};
    Header_GetItemRect(g_header, column, &r);
    MapWindowPoints(g_header, nullptr, reinterpret_cast<POINT*>(&r), 2);
    const POINT pt = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    const LONG before = g_headerUps;
    if (!WaitFor([&] { return input::CursorStaysAt(pt) && WindowFromPoint(pt) == g_header; })) return false;
    input::Mouse(MOUSEEVENTF_LEFTDOWN);
    input::Mouse(MOUSEEVENTF_LEFTUP);
    return WaitFor([&] { return g_headerUps > before; });
  };
  const auto unsorted = keys();
  ASSERT_TRUE(clickColumn(1)) << "the click on the condition column did not arrive";
  EXPECT_EQ(keys(), unsorted) << "only the button column sorts";
  ASSERT_TRUE(clickColumn(0)) << "the click on the button column did not arrive";
  EXPECT_EQ(keys(), (std::vector<std::wstring>{L"0x43", L"0x44", L"0x42", L"0x41"}));
  UnhookWindowsHookEx(witness);
}

TEST_F(MousePageTest, HotkeyEqualToTheDebugHotkeyAsksToFix) {
  Load("[HotKey]\r\nHkDbgHook=0x00000374\r\n");
  PageHost host(IDD_MOUSE, qorv::MousePageProc);
  HWND hotkey = host.Item(IDC_MB_HOTKEY);
  const uint32_t value = 0x003F0374;  // Ctrl+Alt+F5 with a scan code
  SendMessageW(hotkey, qorv::KWM_SETVALUE, value, 0);

  int answer = IDYES;
  std::wstring question;
  DialogAnswerer box(L" Warning ", [&](HWND dialog) {
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, 0xFFFF, text, 256);
    question = text;
    PostMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(answer), 0);
  });
  EXPECT_EQ(host.Close(IDOK), 2) << "Yes: back to fix it";
  EXPECT_TRUE(WaitFor([&] { return box.Answered() == 1; }, dialogdrive::kAnswerWaitMs));
  EXPECT_NE(question.find(L"重複"), std::wstring::npos) << question.c_str();
  EXPECT_EQ(GetFocus(), hotkey);
  EXPECT_EQ(qorv::g_settings.HotkeyTable[qorv::kHotkeyMouseBtn], 0u);

  answer = IDNO;
  EXPECT_EQ(host.Close(IDOK), 1);
  EXPECT_TRUE(WaitFor([&] { return box.Answered() == 2; }, dialogdrive::kAnswerWaitMs));
  EXPECT_EQ(qorv::g_settings.HotkeyTable[qorv::kHotkeyMouseBtn], value);
}

TEST_F(MousePageTest, HotkeyHeldByAnotherProgramAsksToFix) {
  const uint32_t ctrlAltF9 = 0x00430378;
  harness::Process holder(harness::ExeDir() + L"\\qorv_hotkey_holder.exe", L"0x0378");
  ASSERT_TRUE(holder.Started());
  const bool held = WaitFor([] { return FindWindowW(L"Static", L"QorvHotkeyHolder") != nullptr; });
  for (const int answer : {IDYES, IDNO}) {
    if (!held) break;
    Load("");
    PageHost host(IDD_MOUSE, qorv::MousePageProc);
    SendMessageW(host.Item(IDC_MB_HOTKEY), qorv::KWM_SETVALUE, ctrlAltF9, 0);
    std::wstring question;
    DialogAnswerer box(L" Warning ", [&](HWND dialog) {
      wchar_t text[256] = {};
      GetDlgItemTextW(dialog, 0xFFFF, text, 256);
      question = text;
      PostMessageW(dialog, WM_COMMAND, static_cast<WPARAM>(answer), 0);
    });
    EXPECT_EQ(host.Close(IDOK), answer == IDYES ? 2 : 1);
    EXPECT_TRUE(WaitFor([&] { return box.Answered() == 1; }, dialogdrive::kAnswerWaitMs));
    EXPECT_EQ(question, L"ホットキーの登録ができませんでした\r\n\r\n修正しますか？");
    if (answer == IDYES) {
      EXPECT_EQ(GetFocus(), host.Item(IDC_MB_HOTKEY));
    }
    EXPECT_EQ(qorv::g_settings.HotkeyTable[qorv::kHotkeyMouseBtn], answer == IDYES ? 0u : ctrlAltF9);
  }
  holder.Kill();
  ASSERT_TRUE(held) << "the holder could not take Ctrl+Alt+F9";
}

TEST_F(MousePageTest, EditorCancelLeavesTheEntry) {
  Load(Pairs(1));
  PageHost host(IDD_MOUSE, qorv::MousePageProc);
  const auto before = ListTexts(host.Item(IDC_MB_LIST), 3);
  DialogAnswerer editor(kEditorCaption, [&](HWND dialog) {
    SendDlgItemMessageW(dialog, IDC_BE_BUTTON, CB_SETCURSEL, 4, 0);
    CheckDlgButton(dialog, IDC_BE_SHIFT, BST_CHECKED);
    CheckDlgButton(dialog, IDC_BE_ENABLED, BST_UNCHECKED);
    SendDlgItemMessageW(dialog, IDC_BE_KEY, qorv::KWM_SETVALUE, qorv::hotkey::kVkWheelBack, 0);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  dialogdrive::SelectListRow(host.Item(IDC_MB_LIST), 0);
  host.Click(IDC_MB_EDIT);
  ASSERT_TRUE(WaitFor([&] { return editor.Answered() == 1; }, dialogdrive::kAnswerWaitMs));
  EXPECT_EQ(ListTexts(host.Item(IDC_MB_LIST), 3), before);
  EXPECT_TRUE(dialogdrive::ListChecked(host.Item(IDC_MB_LIST), 0));
  EXPECT_EQ(host.Close(IDOK), 1);
  EXPECT_EQ(qorv::g_settings.MouseBtn.pairs[0].condition, 0x00010000u);
  EXPECT_EQ(qorv::g_settings.MouseBtn.pairs[0].key, 0x41u);
}

// With "有効" unticked the key control is disabled and the dialog itself takes the mouse over it:
// Shift + wheel (real input) sets a wheel code, a double click sets that button.
// The witness of the wheel turns the settings window's thread takes: window, point and key bits,
// said when a turn did not do what it should.
struct WheelTaken {
  HWND hwnd;
  POINT pt;
  WPARAM wp;
};
WheelTaken g_wheels[8];
LONG g_wheelCount;

LRESULT CALLBACK WheelWitness(int code, WPARAM wp, LPARAM lp) {
  const MSG* m = reinterpret_cast<const MSG*>(lp);
  if (code == HC_ACTION && wp == PM_REMOVE && m->message == WM_MOUSEWHEEL) {
    const LONG i = InterlockedIncrement(&g_wheelCount) - 1;
    if (i < 8) g_wheels[i] = {m->hwnd, m->pt, m->wParam};
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

std::string WheelsTaken(HWND dialog) {
  std::string out = "wheel turns taken:";
  for (LONG i = 0; i < g_wheelCount && i < 8; ++i) {
    const WheelTaken& w = g_wheels[i];
    out += " [" + std::string(w.hwnd == dialog ? "dialog" : "window " + std::to_string(GetDlgCtrlID(w.hwnd))) + " at " +
           std::to_string(w.pt.x) + "," + std::to_string(w.pt.y) + " keys " + std::to_string(LOWORD(w.wp)) + "]";
  }
  return out;
}

TEST_F(MousePageTest, EditorTakesWheelAndButtonsOverTheKeyControl) {
  Load(Pairs(1));
  PageHost host(IDD_MOUSE, qorv::MousePageProc);
  LRESULT afterWheel = 0;
  LRESULT afterDouble = 0;
  LRESULT afterX2 = 0;
  LRESULT afterOutside = 0;
  bool disabled = false;
  bool ready = false;
  std::string wheelsTaken;
  g_wheelCount = 0;
  HHOOK witness = SetWindowsHookExW(WH_GETMESSAGE, WheelWitness, nullptr, GetCurrentThreadId());
  DialogAnswerer editor(kEditorCaption, [&](HWND dialog) {
    HWND key = GetDlgItem(dialog, IDC_BE_KEY);
    SendMessageW(GetDlgItem(dialog, IDC_BE_ENABLED), BM_CLICK, 0, 0);
    disabled = !IsWindowEnabled(key);
    RECT r;
    GetWindowRect(key, &r);
    const POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    input::MoveTo(centre.x, centre.y);
    // The wheel goes to the window under the cursor: turn it only once the editor is in front and
    // the cursor is over the key control (or the dialog, which takes the mouse over a disabled one).
    ready = WaitFor([&] {
      if (!input::CursorStaysAt(centre)) return false;
      const HWND under = WindowFromPoint(centre);
      return GetForegroundWindow() == dialog && (under == key || under == dialog);
    });
    input::Key(VK_SHIFT, true);
    input::Wheel(-120);
    input::Key(VK_SHIFT, false);
    WaitFor([&] { return SendMessageW(key, qorv::KWM_GETVALUE, 0, 0) == qorv::hotkey::kVkWheelBack; });
    afterWheel = SendMessageW(key, qorv::KWM_GETVALUE, 0, 0);
    wheelsTaken = WheelsTaken(dialog);
    // Double clicks as the dialog receives them (the system pairs the clicks; that pairing is not
    // what is tested here): over the control they set that button, elsewhere nothing.
    POINT over = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ScreenToClient(dialog, &over);
    SendMessageW(dialog, WM_MBUTTONDBLCLK, MK_MBUTTON, MAKELPARAM(over.x, over.y));
    afterDouble = SendMessageW(key, qorv::KWM_GETVALUE, 0, 0);
    SendMessageW(dialog, WM_XBUTTONDBLCLK, MAKEWPARAM(0, XBUTTON2), MAKELPARAM(over.x, over.y));
    afterX2 = SendMessageW(key, qorv::KWM_GETVALUE, 0, 0);
    SendMessageW(dialog, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    afterOutside = SendMessageW(key, qorv::KWM_GETVALUE, 0, 0);
    SendMessageW(dialog, WM_MBUTTONDBLCLK, MK_MBUTTON, MAKELPARAM(over.x, over.y));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  dialogdrive::SelectListRow(host.Item(IDC_MB_LIST), 0);
  host.Click(IDC_MB_EDIT);
  ASSERT_TRUE(WaitFor([&] { return editor.Answered() == 1; }, dialogdrive::kAnswerWaitMs));
  EXPECT_TRUE(disabled);
  EXPECT_TRUE(ready) << "the editor was not in front with the cursor over its key control";
  UnhookWindowsHookEx(witness);
  EXPECT_EQ(afterWheel, static_cast<LRESULT>(qorv::hotkey::kVkWheelBack)) << wheelsTaken;
  EXPECT_EQ(afterDouble, 4);
  EXPECT_EQ(afterX2, 6);
  EXPECT_EQ(afterOutside, 6);
  const auto row = ListTexts(host.Item(IDC_MB_LIST), 3)[0];
  EXPECT_EQ(row[2], L"M Click");
  EXPECT_FALSE(dialogdrive::ListChecked(host.Item(IDC_MB_LIST), 0));
}

// With "有効" ticked the key control is enabled and takes its own mouse input while it has the
// focus: a right click focuses it, the wheel with the right button held steps the key's scan code,
// a right click shows its modifier menu. A wheel turn it does not use (Shift + wheel) goes on to
// the dialog, which sets the wheel direction.
TEST_F(MousePageTest, EditorWithEnabledKeyControlTakesItsWheelScanMenuAndPassesShiftWheel) {
  Load(Pairs(1));
  PageHost host(IDD_MOUSE, qorv::MousePageProc);
  const uint32_t f5 = 0x003F0074;  // F5 with its scan code
  const uint32_t f6 = 0x00400000u | (MapVirtualKeyW(0x40, MAPVK_VSC_TO_VK) & 0xFF);
  LRESULT afterScan = 0;
  LRESULT afterMenu = 0;
  LRESULT afterShiftWheel = 0;
  bool enabled = false;
  bool ready = false;
  bool focused = false;
  bool menuShown = false;
  std::string wheelsTaken;
  g_wheelCount = 0;
  HHOOK witness = SetWindowsHookExW(WH_GETMESSAGE, WheelWitness, nullptr, GetCurrentThreadId());
  DialogAnswerer editor(kEditorCaption, [&](HWND dialog) {
    HWND key = GetDlgItem(dialog, IDC_BE_KEY);
    const DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
    auto focus = [&] {
      GUITHREADINFO info = {};
      info.cbSize = sizeof(info);
      return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
    };
    auto value = [&] { return SendMessageW(key, qorv::KWM_GETVALUE, 0, 0); };
    enabled = IsDlgButtonChecked(dialog, IDC_BE_ENABLED) == BST_CHECKED && IsWindowEnabled(key);
    SendMessageW(key, qorv::KWM_SETVALUE, f5, 0);
    RECT r;
    GetWindowRect(key, &r);
    const POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    input::MoveTo(centre.x, centre.y);
    ready = WaitFor([&] {
      return input::CursorStaysAt(centre) && GetForegroundWindow() == dialog && WindowFromPoint(centre) == key;
    });
    // The wheel scan: right button held, one notch toward the user steps to the next scan code.
    input::Mouse(MOUSEEVENTF_RIGHTDOWN);
    focused = WaitFor([&] { return focus() == key; });
    input::Wheel(-120);
    WaitFor([&] { return value() == static_cast<LRESULT>(f6); });
    afterScan = value();
    input::Mouse(MOUSEEVENTF_RIGHTUP);  // drops the value kept while stepping; no menu
    // The modifier menu on the next right click: its "&Ctrl +" item adds Ctrl.
    input::Mouse(MOUSEEVENTF_RIGHTDOWN);
    input::Mouse(MOUSEEVENTF_RIGHTUP);
    menuShown = WaitFor([&] {
      for (HWND menu = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); menu != nullptr;
           menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) {
        if (IsWindowVisible(menu)) return true;
      }
      return false;
    });
    input::Key('C', true);
    input::Key('C', false);
    WaitFor([&] { return value() == static_cast<LRESULT>(f6 | qorv::hotkey::kCtrl); });
    afterMenu = value();
    // Shift + wheel is no scan: it reaches the dialog.
    input::Key(VK_SHIFT, true);
    WaitFor([] { return GetAsyncKeyState(VK_SHIFT) < 0; });
    input::Wheel(120);
    input::Key(VK_SHIFT, false);
    WaitFor([&] { return value() == static_cast<LRESULT>(qorv::hotkey::kVkWheelForward); });
    afterShiftWheel = value();
    wheelsTaken = WheelsTaken(dialog);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  dialogdrive::SelectListRow(host.Item(IDC_MB_LIST), 0);
  host.Click(IDC_MB_EDIT);
  ASSERT_TRUE(WaitFor([&] { return editor.Answered() == 1; }, dialogdrive::kAnswerWaitMs));
  UnhookWindowsHookEx(witness);
  EXPECT_TRUE(enabled);
  EXPECT_TRUE(ready) << "the editor was not in front with the cursor over its key control";
  EXPECT_TRUE(focused) << "the right button did not focus the key control";
  EXPECT_EQ(afterScan, static_cast<LRESULT>(f6)) << std::hex << afterScan << " " << wheelsTaken;
  EXPECT_TRUE(menuShown);
  EXPECT_EQ(afterMenu, static_cast<LRESULT>(f6 | qorv::hotkey::kCtrl)) << std::hex << afterMenu;
  EXPECT_EQ(afterShiftWheel, static_cast<LRESULT>(qorv::hotkey::kVkWheelForward)) << wheelsTaken;
  EXPECT_EQ(ListTexts(host.Item(IDC_MB_LIST), 3)[0][2], L"Wheel Up");
}

}  // namespace
