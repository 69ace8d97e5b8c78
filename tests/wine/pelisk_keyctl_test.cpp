// "KeyWndClass" in a dialog, driven by injected keys: values, prefixes, Tab, the limit flags and
// the notifications to the parent.
#include <gtest/gtest.h>

#include "pelisk/resource.h"
#include "tests/wine/pelisk_harness.h"

namespace {

int g_changes;

INT_PTR CALLBACK HostProc(HWND, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && LOWORD(wParam) == IDC_DB_HOTKEY && HIWORD(wParam) == EN_CHANGE) ++g_changes;
  return FALSE;
}

class KeyControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pelisk::InitInProcess();
    g_changes = 0;
    // The debug dialog's template holds one hotkey control (1206) between a label and OK.
    dialog_ = CreateDialogParamW(qorv::g_instance, MAKEINTRESOURCEW(IDD_DEBUG), nullptr, HostProc, 0);
    ASSERT_NE(dialog_, nullptr);
    control_ = GetDlgItem(dialog_, IDC_DB_HOTKEY);
    ShowWindow(dialog_, SW_SHOW);
    SetForegroundWindow(dialog_);
    SetFocus(control_);
    ASSERT_TRUE(harness::WaitFor([&] { return GetForegroundWindow() == dialog_ && GetFocus() == control_; }));
  }
  void TearDown() override {
    input::ReleaseAll();
    DestroyWindow(dialog_);
  }
  uint32_t Value() const { return static_cast<uint32_t>(SendMessageW(control_, qorv::KWM_GETVALUE, 0, 0)); }
  // Injects the chord and dispatches messages until every key of it has come up at the control.
  void Press(std::initializer_list<WORD> modifiers, WORD key) {
    pelisk::Chord(modifiers, key);
    WaitKeyUps(static_cast<int>(modifiers.size()) + 1);
  }
  void WaitKeyUps(int count) {
    int ups = 0;
    const DWORD start = GetTickCount();
    while (ups < count && GetTickCount() - start < 10000) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if ((msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) && msg.hwnd == control_) ++ups;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    EXPECT_EQ(ups, count) << "key releases that reached the control";
  }
  static uint32_t Scan(WORD vk) { return MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) << 16; }
  HWND dialog_ = nullptr;
  HWND control_ = nullptr;
};

TEST_F(KeyControlTest, CapturesCombinationsWithScanCodes) {
  Press({VK_CONTROL}, VK_F5);
  EXPECT_EQ(Value(), 0x200u | Scan(VK_F5) | VK_F5);
  EXPECT_EQ(g_changes, 2) << "two key downs; releases after a whole value are not notified";
  Press({VK_CONTROL, VK_SHIFT}, 'K');
  EXPECT_EQ(Value(), 0x600u | Scan('K') | 'K');
  Press({}, VK_F7);
  EXPECT_EQ(Value(), Scan(VK_F7) | VK_F7);
  const int before = g_changes;
  Press({}, VK_CONTROL);
  EXPECT_EQ(g_changes - before, 2) << "key down and key up are both notified";
  EXPECT_EQ(Value(), Scan(VK_CONTROL) | VK_CONTROL) << "a modifier pressed alone becomes the value";
  wchar_t text[80];
  qorv::HotkeyDisplayText(0x600u | Scan('K') | 'K', nullptr, text, 80);
  EXPECT_EQ(std::wstring(text).rfind(L"Ctrl + Shift + ", 0), 0u) << "prefixes come first, in this order";
}

TEST_F(KeyControlTest, LimitedControlRefusesPlainShiftAndCtrlKeys) {
  qorv::ConfigureKeyControl(control_, true);
  SendMessageW(control_, qorv::KWM_SETVALUE, 0x100 | Scan(VK_F9) | VK_F9, 0);
  for (auto modifiers : {std::initializer_list<WORD>{}, {VK_SHIFT}, {VK_CONTROL}}) {
    Press(modifiers, VK_F5);
    EXPECT_EQ(Value(), 0u);
  }
  Press({VK_MENU}, VK_F5);
  EXPECT_EQ(Value(), 0x100u | Scan(VK_F5) | VK_F5);
  Press({VK_CONTROL, VK_SHIFT}, VK_F5);
  EXPECT_EQ(Value(), 0x600u | Scan(VK_F5) | VK_F5);
}

TEST_F(KeyControlTest, TabMovesOnWithoutErasingAMouseCode) {
  SendMessageW(control_, qorv::KWM_SETVALUE, 0x200 | 0x04, 0);  // Ctrl + middle button, set from outside
  const int before = g_changes;
  pelisk::Chord({}, VK_TAB);
  ASSERT_TRUE(harness::WaitFor([&] { return GetFocus() != control_; })) << "Tab moves the focus on";
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog_, IDOK));
  EXPECT_EQ(Value(), 0x204u);
  EXPECT_EQ(g_changes, before) << "Tab is not notified";
}

TEST_F(KeyControlTest, MessagesThatChangeNothing) {
  SendMessageW(control_, qorv::KWM_SETVALUE, 0x0A, 0);
  EXPECT_EQ(SendMessageW(control_, qorv::KWM_SETVALUE, 0, 0), 0);
  EXPECT_EQ(SendMessageW(control_, qorv::KWM_SETVALUE, 0x700, 0), 0);
  EXPECT_EQ(Value(), 0x0Au);
  EXPECT_EQ(SendMessageW(control_, qorv::KWM_SETFLAGS, 0x19, 0x12), 0x80);
  EXPECT_EQ(SendMessageW(control_, qorv::KWM_SETFLAGS, 0x19, 0x80), 0x12);
  EXPECT_EQ(SendMessageW(control_, qorv::KWM_SETFLAGS, 0x100, 0x55), 0);
#ifdef _WIN64
  EXPECT_EQ(SendMessageW(control_, qorv::KWM_SETFLAGS, 0x100000019, 0x55), 0);  // not cut to key 0x19
#endif
  EXPECT_EQ(SendMessageW(control_, qorv::KWM_SETFLAGS, 0x19, 0x80), 0x80) << "nothing was written by the bad indexes";
  EXPECT_EQ(SendMessageW(control_, qorv::KWM_SETEMPTYTEXT, 1, 0), 0);
  EXPECT_EQ(g_changes, 0);
  WNDCLASSEXW info = {};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetClassInfoExW(qorv::g_instance, L"KeyWndClass", &info));
  EXPECT_EQ(info.cbWndExtra, static_cast<int>(sizeof(LONG_PTR)));
}

TEST_F(KeyControlTest, DisabledControlShowsTheButtonFaceBehindGreyText) {
  SendMessageW(control_, qorv::KWM_SETVALUE, 0x0A, 0);
  auto background = [&] {
    RedrawWindow(control_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT client;
    GetClientRect(control_, &client);
    HDC dc = GetDC(control_);
    const COLORREF colour = GetPixel(dc, client.right - 2, client.bottom / 2);  // right of the text
    ReleaseDC(control_, dc);
    return colour;
  };
  EXPECT_EQ(background(), GetSysColor(COLOR_WINDOW));
  EnableWindow(control_, FALSE);
  EXPECT_EQ(background(), GetSysColor(COLOR_BTNFACE));
  EnableWindow(control_, TRUE);
  EXPECT_EQ(background(), GetSysColor(COLOR_WINDOW));
}

}  // namespace
