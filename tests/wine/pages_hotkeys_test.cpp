// The hotkeys page on real controls: the values it shows and stores, and the two questions that
// may keep it open.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "pelisk/sheet_win.h"
#include "tests/wine/pages_host.h"

namespace {

using pages_test::PageHost;

constexpr int kControls[13] = {IDC_HK_PROP,     IDC_HK_PAUSE,   IDC_HK_LAYTOP, IDC_HK_WNDTOP, IDC_HK_WNDBTM,
                               IDC_HK_PRIOHIGH, IDC_HK_PRIOLOW, IDC_HK_WNDMIN, IDC_HK_WNDMAX, IDC_HK_WNDCLOSE,
                               IDC_HK_VOLUP,    IDC_HK_VOLDOWN, IDC_HK_VOLMUTE};

// Answers every " Warning " question that appears while it lives, and remembers what was asked.
class QuestionAnswerer {
 public:
  explicit QuestionAnswerer(int answer) : answer_(answer), thread_([this] { Run(); }) {}
  ~QuestionAnswerer() {
    stop_ = true;
    thread_.join();
  }
  int Count() const { return count_; }
  const std::wstring& Text() const { return text_; }

 private:
  void Run() {
    while (!stop_) {
      HWND box = FindWindowW(L"#32770", L" Warning ");
      if (box != nullptr && box != last_) {
        wchar_t text[256] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 256);
        text_ = text;
        ++count_;
        last_ = box;
        PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(answer_), 0);
      }
      Sleep(10);
    }
  }

  int answer_;
  std::atomic<bool> stop_{false};
  std::atomic<int> count_{0};
  std::wstring text_;
  HWND last_ = nullptr;
  std::thread thread_;
};

class HotkeysPageTest : public ::testing::Test {
 protected:
  void SetUp() override { pelisk::InitInProcess(); }
  static uint32_t Value(PageHost& host, int entry) {
    return static_cast<uint32_t>(SendMessageW(host.Item(kControls[entry]), qorv::KWM_GETVALUE, 0, 0));
  }
  static void Set(PageHost& host, int entry, uint32_t value) {
    SendMessageW(host.Item(kControls[entry]), qorv::KWM_SETVALUE, value, 0);
  }
};

TEST_F(HotkeysPageTest, ShowsAndStoresTheThirteenHotkeys) {
  for (int i = 0; i < 13; ++i)
    qorv::g_settings.HotkeyTable[i] = i % 3 == 0 ? 0 : 0x00000B70u + i;  // Ctrl+Alt+Win+F1...
  qorv::g_settings.HotkeyTable[13] = 0x1234;                             // not the page's
  PageHost host(IDD_HOTKEYS, qorv::HotkeysPageProc);
  ASSERT_NE(host.Page(), nullptr);
  for (int i = 0; i < 13; ++i) EXPECT_EQ(Value(host, i), qorv::g_settings.HotkeyTable[i]) << i;
  Set(host, 0, 0x00000B7F);  // Ctrl+Alt+Win+F16
  QuestionAnswerer answerer(IDYES);
  EXPECT_EQ(host.Command(IDOK), 1);
  EXPECT_EQ(answerer.Count(), 0);
  EXPECT_EQ(qorv::g_settings.HotkeyTable[0], 0x00000B7Fu);
  EXPECT_EQ(qorv::g_settings.HotkeyTable[13], 0x1234u);
}

// The two Enter keys differ only in their scan-code bits: still the same hotkey.
TEST_F(HotkeysPageTest, DuplicateQuestionYesKeepsThePageOpenOnTheLaterControl) {
  PageHost host(IDD_HOTKEYS, qorv::HotkeysPageProc);
  Set(host, 3, 0x001C030D);  // Ctrl+Alt+Enter
  Set(host, 7, 0x011C030D);  // Ctrl+Alt+keypad Enter
  {
    QuestionAnswerer answerer(IDYES);
    EXPECT_EQ(host.Command(IDOK), 2);
    EXPECT_EQ(answerer.Count(), 1);
    EXPECT_EQ(answerer.Text(), L"重複しているホットキーがあります\r\n\r\n修正しますか？");
  }
  EXPECT_EQ(GetFocus(), host.Item(IDC_HK_WNDMIN));
  EXPECT_EQ(qorv::g_settings.HotkeyTable[7], 0x011C030Du);  // stored although refused
  QuestionAnswerer no(IDNO);
  EXPECT_EQ(host.Command(IDOK), 1);
  EXPECT_EQ(no.Count(), 1);
}

// In the settings window: OK pressed while the wheel page shows; the hotkeys page refuses, its tab
// comes to the front and the focus is on the offending control.
TEST_F(HotkeysPageTest, RefusedOkInTheSettingsWindowShowsTheOffendingControl) {
  qorv::SheetDesc desc = {};
  wchar_t titles[64];
  wchar_t title[64];
  qorv::PrepareSheetDesc(desc, qorv::g_instance, 0, titles, 64, title, 64);
  bool checked = false;
  pelisk::RunInLoop([&] {
    HWND frame = pelisk::FindOwnDialog(title);
    ASSERT_NE(frame, nullptr);
    SendMessageW(frame, qorv::kSheetSelectPage, 0, 4);
    HWND hotkeys = desc.pages[4].window;
    ASSERT_NE(hotkeys, nullptr);
    SendDlgItemMessageW(hotkeys, IDC_HK_WNDTOP, qorv::KWM_SETVALUE, 0x00430378, 0);
    SendDlgItemMessageW(hotkeys, IDC_HK_WNDMIN, qorv::KWM_SETVALUE, 0x00430378, 0);
    SendMessageW(frame, qorv::kSheetSelectPage, 0, 0);
    {
      QuestionAnswerer answerer(IDYES);
      SendMessageW(frame, WM_COMMAND, IDOK, 0);
      EXPECT_EQ(answerer.Count(), 1);
    }
    EXPECT_TRUE(IsWindow(frame));
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(frame, qorv::kSheetGetCurrentPage, 0, 0)), hotkeys);
    EXPECT_TRUE(pages_test::WaitFor([&] { return GetFocus() == GetDlgItem(hotkeys, IDC_HK_WNDMIN); }, 2000));
    checked = true;
    PostMessageW(frame, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(qorv::RunSheet(&desc), 2);
  EXPECT_TRUE(checked);
}

TEST_F(HotkeysPageTest, HotkeyHeldByAnotherProgramAsksToFix) {
  constexpr uint32_t kCtrlAltF9 = 0x00430378;
  harness::Process holder(harness::ExeDir() + L"\\qorv_hotkey_holder.exe", L"0x0378");
  ASSERT_TRUE(holder.Started());
  const bool held = pages_test::WaitFor([] { return FindWindowW(L"Static", L"QorvHotkeyHolder") != nullptr; });
  // Yes goes back to the control; No accepts the values as they are.
  for (const int answer : {IDYES, IDNO}) {
    if (!held) break;
    pelisk::InitInProcess();
    qorv::g_settings.HotkeyTable[5] = kCtrlAltF9;
    qorv::g_settings.HotkeyTable[2] = 0x00440379;  // Ctrl+Alt+F10, free
    PageHost host(IDD_HOTKEYS, qorv::HotkeysPageProc);
    Set(host, 2, 0x0044037A);  // Ctrl+Alt+F11, free
    {
      QuestionAnswerer answerer(answer);
      EXPECT_EQ(host.Command(IDOK), answer == IDYES ? 2 : 1);
      EXPECT_EQ(answerer.Count(), 1);
      EXPECT_EQ(answerer.Text(), L"ホットキーの登録ができませんでした\r\n\r\n修正しますか？");
    }
    // The table holds the page's values either way; only the whole window's OK saves them.
    EXPECT_EQ(qorv::g_settings.HotkeyTable[2], 0x0044037Au);
    EXPECT_EQ(qorv::g_settings.HotkeyTable[5], kCtrlAltF9);
    if (answer == IDYES) {
      EXPECT_EQ(GetFocus(), host.Item(IDC_HK_PRIOHIGH));
    }
    // The free one was only tried: it can still be registered by anyone.
    EXPECT_TRUE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, VK_F11));
    UnregisterHotKey(nullptr, 7);
  }
  holder.Kill();
  ASSERT_TRUE(held) << "the holder could not take Ctrl+Alt+F9";
}

// KeyLimit 0 gives every control the modifier menu and the wheel scan and takes plain keys; any
// other value refuses plain, Shift and Ctrl keys instead.
TEST_F(HotkeysPageTest, KeyLimitChoosesTheControlsOptions) {
  for (const char* limit : {"0", "1", "-1"}) {
    pelisk::InitInProcess(std::string("[HotKey]\r\nKeyLimit=") + limit + "\r\n");
    PageHost host(IDD_HOTKEYS, qorv::HotkeysPageProc);
    const bool free = limit[0] == '0';
    for (int id : kControls) {
      HWND control = host.Item(id);
      // KWM_SETFLAGS answers the old setting; each is put back at once.
      const LRESULT options = SendMessageW(control, qorv::KWM_SETFLAGS, 0x1000, 0);
      SendMessageW(control, qorv::KWM_SETFLAGS, 0x1000, options);
      const LRESULT byte0 = SendMessageW(control, qorv::KWM_SETFLAGS, 0, 0);
      SendMessageW(control, qorv::KWM_SETFLAGS, 0, byte0);
      EXPECT_EQ(options, free ? qorv::KWS_MODIFIERMENU | qorv::KWS_WHEELSCAN : 0) << limit << " " << id;
      EXPECT_EQ(byte0, free ? 0 : 0x70) << limit << " " << id;
    }
  }
}

TEST_F(HotkeysPageTest, EmptyControlsPassBothChecks) {
  PageHost host(IDD_HOTKEYS, qorv::HotkeysPageProc);
  QuestionAnswerer answerer(IDYES);
  EXPECT_EQ(host.Command(IDOK), 1);
  EXPECT_EQ(answerer.Count(), 0);
  for (int i = 0; i < 13; ++i) EXPECT_EQ(qorv::g_settings.HotkeyTable[i], 0u);
}

}  // namespace
