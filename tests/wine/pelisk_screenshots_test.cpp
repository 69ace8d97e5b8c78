// Not tests: tools/pelisk-screenshots.sh runs these, once in each language, to save pictures of the
// settings windows (every page of the tabbed window, the debug dialog, both editors) for a person
// to look at. Each picture is taken once the window has settled on the screen, and fails when the
// tabbed window's tab strip is not in it.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/ui_language.h"
#include "pelisk/pages/mouse_win.h"
#include "pelisk/pages/perwindow_win.h"
#include "pelisk/resource.h"
#include "pelisk/sheet_win.h"
#include "tests/wine/pelisk_harness.h"

namespace {

bool Japanese() { return qorv::ResourceLanguageFor(GetUserDefaultUILanguage()) == qorv::kLangJapanese; }

// A screen area as 32-bit pixels (0x00RRGGBB), top row first.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  bool operator==(const Picture& o) const { return width == o.width && height == o.height && pixels == o.pixels; }
};

Picture CaptureScreen(const RECT& r) {
  Picture picture;
  picture.width = r.right - r.left;
  picture.height = r.bottom - r.top;
  if (picture.width <= 0 || picture.height <= 0) return picture;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.width, picture.height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, picture.width, picture.height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof(info);
  info.biWidth = picture.width;
  info.biHeight = -picture.height;
  info.biPlanes = 1;
  info.biBitCount = 32;
  picture.pixels.resize(static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height));
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(picture.height), picture.pixels.data(),
            reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return picture;
}

// Whether the part `area` (screen coordinates) of a picture taken at `origin` shows a drawn tab
// strip: tab titles, dark text on the button face. An undrawn strip is one colour (the window's
// background, or black where nothing reached the screen yet).
bool StripDrawn(const Picture& picture, POINT origin, const RECT& area) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const uint32_t facePixel = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
  int dark = 0;
  int faced = 0;
  int all = 0;
  for (int y = area.top - origin.y; y < area.bottom - origin.y; ++y) {
    for (int x = area.left - origin.x; x < area.right - origin.x; ++x) {
      if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) continue;
      const uint32_t p = picture.pixels[static_cast<size_t>(y) * static_cast<size_t>(picture.width) + x] & 0xFFFFFF;
      ++all;
      if (p == facePixel) ++faced;
      if (((p >> 16) & 0xFF) < 0x60 && ((p >> 8) & 0xFF) < 0x60 && (p & 0xFF) < 0x60) ++dark;
    }
  }
  return all > 0 && dark >= 20 && faced >= all / 4 && dark < all / 2;
}

// The band of the tabbed window's tab control above its page, where the tab titles are; empty for
// a window without tabs (or when it cannot be told).
RECT TabStripArea(HWND window) {
  RECT strip = {};
  DWORD_PTR tab = 0;
  DWORD_PTR page = 0;
  if (!SendMessageTimeoutW(window, qorv::kSheetGetTab, 0, 0, SMTO_ABORTIFHUNG, 5000, &tab) || tab == 0) return strip;
  if (!SendMessageTimeoutW(window, qorv::kSheetGetCurrentPage, 0, 0, SMTO_ABORTIFHUNG, 5000, &page) || page == 0) {
    return strip;
  }
  RECT tabRect;
  RECT pageRect;
  if (!GetWindowRect(reinterpret_cast<HWND>(tab), &tabRect) || !GetWindowRect(reinterpret_cast<HWND>(page), &pageRect)) {
    return strip;
  }
  return RECT{tabRect.left, tabRect.top, tabRect.right, pageRect.top};
}

// Takes the picture of a window once it and every child have drawn and the drawing has reached the
// screen: a program's drawing shows on the screen a moment after it painted, so the picture counts
// once it has stayed the same for a while and, on the tabbed window, shows the tab strip. False
// (with the last picture) when that never happens.
bool TakeSettledPicture(HWND window, Picture& out, std::string& why) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const RECT strip = TabStripArea(window);
  const bool hasStrip = strip.bottom > strip.top;
  constexpr DWORD kSettledMs = 300;
  Picture last;
  DWORD sameSince = GetTickCount();
  bool stripShown = false;
  const bool settled = harness::WaitFor(
      [&] {
        RECT r;
        GetWindowRect(window, &r);
        Picture now = CaptureScreen(r);
        if (!(now == last)) sameSince = GetTickCount();
        last = std::move(now);
        stripShown = !hasStrip || StripDrawn(last, POINT{r.left, r.top}, strip);
        return stripShown && GetTickCount() - sameSince >= kSettledMs;
      },
      15000);
  out = std::move(last);
  if (!stripShown) why = "the tab strip is not in the picture";
  else if (!settled) why = "the picture never stayed the same";
  return settled;
}

// Writes a picture as a 24-bit BMP file.
bool WriteBmp(const Picture& picture, const std::wstring& path) {
  const int w = picture.width;
  const int h = picture.height;
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof(info);
  info.biWidth = w;
  info.biHeight = h;
  info.biPlanes = 1;
  info.biBitCount = 24;
  const DWORD stride = ((w * 3) + 3) & ~3u;
  std::string rows(stride * h, '\0');
  for (int y = 0; y < h; ++y) {
    char* row = &rows[stride * static_cast<DWORD>(h - 1 - y)];  // bottom row first
    for (int x = 0; x < w; ++x) {
      const uint32_t p = picture.pixels[static_cast<size_t>(y) * static_cast<size_t>(w) + x];
      row[3 * x] = static_cast<char>(p & 0xFF);
      row[3 * x + 1] = static_cast<char>((p >> 8) & 0xFF);
      row[3 * x + 2] = static_cast<char>((p >> 16) & 0xFF);
    }
  }
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(rows.size());
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  WriteFile(out, &file, sizeof(file), &written, nullptr);
  WriteFile(out, &info, sizeof(info), &written, nullptr);
  WriteFile(out, rows.data(), static_cast<DWORD>(rows.size()), &written, nullptr);
  CloseHandle(out);
  return true;
}

// Saves the picture of a window; a test failure says why when it never settled.
void SaveWindowPicture(HWND window, const std::wstring& path) {
  Picture picture;
  std::string why;
  EXPECT_TRUE(TakeSettledPicture(window, picture, why)) << why;
  EXPECT_TRUE(WriteBmp(picture, path));
}

// build/win64/shot-<language>-<name>.bmp, the language being that of this run ("ja" or "en").
std::wstring ShotPath(const wchar_t* name) {
  return harness::ExeDir() + L"\\shot-" + (Japanese() ? L"ja-" : L"en-") + name + L".bmp";
}

TEST(Screenshots, DISABLED_ProgramWindows) {
  const wchar_t* const sheet = Japanese() ? L"Qorv 1.6 設定" : L"Qorv 1.6 Settings";
  const struct {
    const wchar_t* args;
    const wchar_t* title;
    const wchar_t* name;
  } kShots[] = {
      {L"0", sheet, L"page0-wheel"},   {L"1", sheet, L"page1-window"},    {L"2", sheet, L"page2-other"},
      {L"3", sheet, L"page3-perwindow"}, {L"4", sheet, L"page4-hotkeys"}, {L"5", sheet, L"page5-mouse"},
      {L"6", Japanese() ? L"Qorv デバッグ設定" : L"Qorv Debug Settings", L"debug"},
  };
  for (const auto& shot : kShots) {
    pelisk::PeliskRun run;
    ASSERT_TRUE(run.Start(shot.args));
    HWND window = run.WaitWindow(shot.title);
    ASSERT_NE(window, nullptr);
    SetForegroundWindow(window);
    harness::WaitFor([&] { return GetForegroundWindow() == window; });
    SaveWindowPicture(window, ShotPath(shot.name));
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
  row.Title = Japanese() ? L"エディタ" : L"Editor";
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
      {L"MapEditor", Japanese() ? L"Qorv 個別設定" : L"Qorv Per-Window Setting", L"editor109"},
      {L"ButtonEditor", Japanese() ? L"マウスボタン変換設定" : L"Mouse Button Conversion", L"editor123"},
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
    SaveWindowPicture(window, ShotPath(shot.name));
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    helper.WaitExit(10000);
  }
}

}  // namespace
