// Not tests: tools/pelisk-screenshots.sh runs these to save pictures of the settings windows
// (every page of the tabbed window, the debug dialog, both editors) for a person to look at.
#include <gtest/gtest.h>

#include <string>

#include "settings/resource.h"
#include "settings/pages/mouse_win.h"
#include "settings/pages/perwindow_win.h"
#include "tests/wine/pelisk_harness.h"

namespace {

// Saves the screen area of a window as a 24-bit BMP file after it has painted itself.
bool SaveWindowPicture(HWND window, const std::wstring& path) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof(info);
  info.biWidth = w;
  info.biHeight = h;
  info.biPlanes = 1;
  info.biBitCount = 24;
  const DWORD stride = ((w * 3) + 3) & ~3u;
  std::string pixels(stride * h, '\0');
  GetDIBits(memory, bitmap, 0, h, &pixels[0], reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  WriteFile(out, &file, sizeof(file), &written, nullptr);
  WriteFile(out, &info, sizeof(info), &written, nullptr);
  WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
  CloseHandle(out);
  return true;
}

std::wstring ShotPath(const wchar_t* name) { return harness::ExeDir() + L"\\shot-" + name + L".bmp"; }

TEST(Screenshots, DISABLED_ProgramWindows) {
  const struct {
    const wchar_t* args;
    const wchar_t* title;
    const wchar_t* name;
  } kShots[] = {
      {L"0", L"Qorv 1.6 設定", L"page0-wheel"},   {L"1", L"Qorv 1.6 設定", L"page1-window"},
      {L"2", L"Qorv 1.6 設定", L"page2-other"},   {L"3", L"Qorv 1.6 設定", L"page3-perwindow"},
      {L"4", L"Qorv 1.6 設定", L"page4-hotkeys"}, {L"5", L"Qorv 1.6 設定", L"page5-mouse"},
      {L"6", L"Qorv デバッグ設定", L"debug"},
  };
  for (const auto& shot : kShots) {
    pelisk::PeliskRun run;
    ASSERT_TRUE(run.Start(shot.args));
    HWND window = run.WaitWindow(shot.title);
    ASSERT_NE(window, nullptr);
    SetForegroundWindow(window);
    harness::WaitFor([&] { return GetForegroundWindow() == window; });
    EXPECT_TRUE(SaveWindowPicture(window, ShotPath(shot.name)));
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    DWORD code = 0;
    run.WaitExit(10000, &code);
  }
}

// The editors as their pages open them, on a sample entry each.
TEST(ScreenshotHelper, DISABLED_MapEditor) {
  pelisk::InitInProcess();
  qorv::MapListRow row;
  row.EntryFlag = 0x71;
  row.EntryWheelFlag = 0x003F0BE9;
  row.WndId = 1001;
  row.Title = L"エディタ";
  row.FileName = L"editor.exe";
  row.ClassName = L"EditorWnd";
  qorv::RunEntryEditor(nullptr, row, nullptr);
}
TEST(ScreenshotHelper, DISABLED_ButtonEditor) {
  pelisk::InitInProcess();
  qorv::ButtonPair pair = {0x00031603, 0x00000274};
  qorv::RunButtonEditor(nullptr, pair);
}

TEST(Screenshots, DISABLED_Editors) {
  const struct {
    const wchar_t* helper;
    const wchar_t* title;
    const wchar_t* name;
  } kShots[] = {
      {L"MapEditor", L"Qorv 個別設定", L"editor109"},
      {L"ButtonEditor", L"マウスボタン変換設定", L"editor123"},
  };
  for (const auto& shot : kShots) {
    harness::Process helper(
        harness::ExeDir() + L"\\qorv_pelisk_tests.exe",
        std::wstring(L"--gtest_also_run_disabled_tests --gtest_filter=ScreenshotHelper.DISABLED_") + shot.helper);
    HWND window = nullptr;
    ASSERT_TRUE(harness::WaitFor([&] {
      window = FindWindowW(L"#32770", shot.title);
      return window != nullptr && IsWindowVisible(window);
    }));
    SetForegroundWindow(window);
    harness::WaitFor([&] { return GetForegroundWindow() == window; });
    EXPECT_TRUE(SaveWindowPicture(window, ShotPath(shot.name)));
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    helper.WaitExit(10000);
  }
}

}  // namespace
