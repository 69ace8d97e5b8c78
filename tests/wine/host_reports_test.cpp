// What the main program does with the hooks' notifications and its tray menu: the wheel over a
// caption brings the window to the front and makes it translucent until the cursor leaves, the
// diagnostics window lists the notifications, and "start with Windows" edits the Run key.
#include <gtest/gtest.h>

#include <string>

#include "host/diag_layout.h"
#include "tests/wine/harness.h"
#include "tests/wine/input.h"

using harness::Library;
using harness::Process;
using harness::Target;
using harness::WaitFor;

namespace {

std::wstring RunValue() {
  wchar_t value[MAX_PATH + 8] = {};
  DWORD size = sizeof(value) - sizeof(wchar_t);
  if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Qorv", RRF_RT_REG_SZ,
                   nullptr, value, &size) != ERROR_SUCCESS) {
    return L"";
  }
  return value;
}

TEST(HostReports, CaptionWheelFrontAndTemporaryTranslucencyDiagnosticsAndRunKey) {
  Library lib;
  ASSERT_TRUE(lib.Loaded());
  const std::wstring exe = lib.Dir() + L"\\qorv.exe";
  ASSERT_TRUE(CopyFileW((harness::ExeDir() + L"\\qorv.exe").c_str(), exe.c_str(), FALSE));
  // Wheel brings to the front and makes translucent (level 5), the message hook's list shown.
  harness::WriteBytes(lib.Dir() + L"\\Qorv.ini", "[FLAGS]\r\nMainFlag=0x0500000C\r\nDebugFlag=0x01000000\r\n");
  Process qorv(exe, L"", lib.Dir());
  HWND hwnd = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    hwnd = FindWindowW(L"QorvMainWnd", L"Qorv");
    return hwnd != nullptr && lib.Shared()->MouseOwner != 0;
  }));
  HWND diag = nullptr;
  HWND list = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    diag = FindWindowW(L"QorvDiagnostics", nullptr);
    list = diag != nullptr ? FindWindowExW(diag, nullptr, L"LISTBOX", nullptr) : nullptr;
    return list != nullptr;
  }));
  // Sized and lettered for its monitor's scale (Wine has one: 96 DPI unless the prefix says else).
  {
    using GetDpiFn = UINT(WINAPI*)(HWND);
    const auto getDpi = reinterpret_cast<GetDpiFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    const int dpi = getDpi != nullptr ? static_cast<int>(getDpi(diag)) : 96;
    RECT frame;
    ASSERT_TRUE(GetWindowRect(diag, &frame));
    EXPECT_EQ(frame.right - frame.left, qorv::DiagWindowSize(dpi).width);
    EXPECT_EQ(frame.bottom - frame.top, qorv::DiagWindowSize(dpi).height);
    EXPECT_NE(reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
  }

  Target target({L"normal", L"fixed"});
  HWND a = target.Window(L"normal");
  HWND b = target.Window(L"fixed");
  ASSERT_TRUE(SetForegroundWindow(b));
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == b; }));
  RECT r;
  GetWindowRect(a, &r);
  const POINT caption = {(r.left + r.right) / 2 - 40,
                         r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
  input::MoveTo(caption.x, caption.y);
  ASSERT_TRUE(WaitFor([&] { return WindowFromPoint(caption) == a; }));
  input::Wheel(WHEEL_DELTA);
  EXPECT_TRUE(WaitFor([&] {
    return GetForegroundWindow() == a && harness::IsLayered(a) && harness::ReadLayered(a).alpha == 125;
  })) << "foreground "
      << (GetForegroundWindow() == a) << " layered " << harness::IsLayered(a);
  EXPECT_TRUE(WaitFor([&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) > 0; }));

  // The cursor leaves: opaque again.
  input::MoveTo(r.right + 200, r.bottom + 150);
  EXPECT_TRUE(WaitFor([&] { return !harness::IsLayered(a); }));

  // "Start with Windows" from the menu writes this program into the Run key and takes it out again.
  // Absent before the menu is used: otherwise the first command would take out a value of another
  // copy and the second put this one in, and the check below would prove nothing.
  ASSERT_TRUE(RunValue().empty()) << RunValue();
  PostMessageW(hwnd, WM_COMMAND, 102, 0);
  EXPECT_TRUE(WaitFor([&] { return RunValue() == L"\"" + exe + L"\""; })) << RunValue();
  PostMessageW(hwnd, WM_COMMAND, 102, 0);
  EXPECT_TRUE(WaitFor([&] { return RunValue().empty(); }));

  Process quit(exe, L"/quit", lib.Dir());
  EXPECT_TRUE(qorv.WaitExit(10000));
  EXPECT_FALSE(IsWindow(diag));
}

}  // namespace
