// The settings program as a user runs it: the real pelisk.exe edits "Qorv.ini" through its pages,
// and a running qorv.exe hands the saved words to the hook library at once.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "common/flags.h"
#include "pelisk/resource.h"
#include "tests/wine/harness.h"
#include "tests/wine/input.h"

using harness::Process;
using harness::WaitFor;

namespace {

constexpr UINT kSheetSelectPage = 0x0472;
constexpr UINT kSheetGetCurrentPage = 0x0476;

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool CopyBeside(const wchar_t* name, const std::wstring& dir) {
  return CopyFileW((harness::ExeDir() + L"\\" + name).c_str(), (dir + L"\\" + name).c_str(), FALSE) != FALSE;
}

// The settings window of a running pelisk.exe, driven from this process.
class SettingsWindow {
 public:
  SettingsWindow(const std::wstring& dir, const wchar_t* page) : process_(dir + L"\\pelisk.exe", page, dir) {
    WaitFor([&] {
      EnumWindows(&Find, reinterpret_cast<LPARAM>(this));
      return frame_ != nullptr && IsWindowVisible(frame_);
    });
  }
  HWND Frame() const { return frame_; }
  // Shows page `index` and returns its window.
  HWND Page(int index) const {
    SendMessageW(frame_, kSheetSelectPage, 0, index);
    return reinterpret_cast<HWND>(SendMessageW(frame_, kSheetGetCurrentPage, 0, 0));
  }
  void Click(HWND dialog, int id) const { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
  bool Checked(HWND dialog, int id) const {
    return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  // Presses OK and waits for the program to end; its exit code.
  DWORD Ok() {
    PostMessageW(frame_, WM_COMMAND, IDOK, 0);
    DWORD code = 99;
    if (!process_.WaitExit(15000, &code)) process_.Kill();
    return code;
  }

 private:
  static BOOL CALLBACK Find(HWND hwnd, LPARAM lp) {
    SettingsWindow* self = reinterpret_cast<SettingsWindow*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (pid != self->process_.Id() || wcscmp(cls, L"#32770") != 0) return TRUE;
    self->frame_ = hwnd;
    return FALSE;
  }

  Process process_;
  HWND frame_ = nullptr;
};

const char kDefaultFile[] =
    "[FLAGS]\r\nMainFlag=0x05010014\r\nWheelFlag=0x053F0BE9\r\nWndFlag=0x050A040D\r\nMxId=0\r\n"
    "; the user's own note\r\n[HotKey]\r\nHkProp=0x00000B7F\r\nHkPause=0\r\nHkLayTop=0\r\nHkWndTop=0\r\n"
    "HkWndBtm=0\r\nHkPrioHigh=0\r\nHkPrioLow=0\r\nHkWndMin=0\r\nHkWndMax=0\r\nHkWndClose=0\r\nHkVolUp=0\r\n"
    "HkVolDown=0\r\nHkVolMute=0\r\n[Other]\r\nKeep=1\r\n";

TEST(SettingsPagesFile, OkOnEveryPageWithoutChangesLeavesTheFileByteIdentical) {
  const std::wstring dir = harness::NewRunDir();
  ASSERT_TRUE(CopyBeside(L"pelisk.exe", dir));
  WriteBytes(dir + L"\\Qorv.ini", kDefaultFile);
  SettingsWindow settings(dir, L"0");
  ASSERT_NE(settings.Frame(), nullptr);
  for (int index : {1, 2, 4}) ASSERT_NE(settings.Page(index), nullptr) << index;
  EXPECT_EQ(settings.Ok(), 1u);
  EXPECT_EQ(ReadBytes(dir + L"\\Qorv.ini"), kDefaultFile);
}

// The wheel translucency switch cleared on the window page: once saved, the running main program
// hands the new word to the library, which makes every wheel-translucent window opaque.
TEST(SettingsPagesEndToEnd, ClearingWheelTranslucencyReachesTheLibrary) {
  harness::Library lib;
  ASSERT_TRUE(lib.Loaded());
  ASSERT_TRUE(CopyBeside(L"qorv.exe", lib.Dir()));
  ASSERT_TRUE(CopyBeside(L"pelisk.exe", lib.Dir()));
  const uint32_t before = qorv::kMainFlagDefault | qorv::main_flag::kWheelTranslucent;
  WriteBytes(lib.Dir() + L"\\Qorv.ini",
             "[FLAGS]\r\nMainFlag=0x05030014\r\nWheelFlag=0x053F0BE9\r\nWndFlag=0x050A040D\r\nMxId=0\r\n");
  Process qorv(lib.Dir() + L"\\qorv.exe", L"", lib.Dir());
  volatile qorv::SharedState* shared = lib.Shared();
  ASSERT_TRUE(WaitFor([&] { return shared->GetMsgOwner != 0 && shared->MainFlag == before; }))
      << std::hex << shared->MainFlag;

  // A window of this process made translucent by the wheel over its caption.
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"QorvSettingsE2ETarget";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"translucent by wheel", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600,
                                400, 300, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  SetForegroundWindow(window);
  harness::Pump(100);
  RECT r;
  GetWindowRect(window, &r);
  const POINT caption = {(r.left + r.right) / 2 - 40,
                         r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
  ASSERT_TRUE(WaitFor([&] { return WindowFromPoint(caption) == window; }));
  input::MouseAt(caption, MOUSEEVENTF_WHEEL, static_cast<DWORD>(-120));
  ASSERT_TRUE(WaitFor([&] { return harness::IsLayered(window); }))
      << "the wheel over the caption did not make the window translucent";
  EXPECT_EQ(harness::ReadLayered(window).alpha, 125);  // the initial level 5
  EXPECT_NE(harness::Prop(window, L"qv WndLay"), 0u);

  {
    SettingsWindow settings(lib.Dir(), L"1");
    ASSERT_NE(settings.Frame(), nullptr);
    HWND page = settings.Page(1);
    ASSERT_TRUE(settings.Checked(page, IDC_WN_WHEEL_LAYER));
    settings.Click(page, IDC_WN_WHEEL_LAYER);
    EXPECT_EQ(settings.Ok(), 1u);
  }
  EXPECT_TRUE(WaitFor([&] { return shared->MainFlag == qorv::kMainFlagDefault; })) << std::hex << shared->MainFlag;
  EXPECT_TRUE(WaitFor([&] { return !harness::IsLayered(window); }));
  EXPECT_EQ(harness::Prop(window, L"qv WndLay"), 0u);
  DestroyWindow(window);

  Process quit(lib.Dir() + L"\\qorv.exe", L"/quit", lib.Dir());
  EXPECT_TRUE(qorv.WaitExit(10000));
}

}  // namespace
