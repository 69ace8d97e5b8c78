// The settings program in the user's language. The test program runs twice: in the Japanese locale
// (as every Wine test) and again with LANG=en_US.UTF-8, where Wine reports an English user
// interface language; each run checks the rows of its own language.
#include <gtest/gtest.h>

#include <string>

#include "common/ui_language.h"
#include "common/ui_language_win.h"
#include "host/resource.h"
#include "pelisk/resource.h"
#include "pelisk/sheet.h"
#include "pelisk/ui_helpers_win.h"
#include "tests/wine/pelisk_harness.h"

namespace {

LANGID RunLanguage() { return qorv::ResourceLanguageFor(GetUserDefaultUILanguage()); }

// The text of a control of the frame or of the shown page; with an item index, that item of a
// combo box (filled in code from a string of the resources).
std::wstring ShownText(HWND window, int control, int item) {
  HWND found = GetDlgItem(window, control);
  DWORD_PTR page = 0;
  if (found == nullptr &&
      SendMessageTimeoutW(window, qorv::kSheetGetCurrentPage, 0, 0, SMTO_ABORTIFHUNG, 5000, &page) && page != 0) {
    found = GetDlgItem(reinterpret_cast<HWND>(page), control);
  }
  if (found == nullptr) return L"<no control>";
  if (item < 0) return pelisk::TextOf(found);
  wchar_t text[64] = {};
  if (SendMessageW(found, CB_GETLBTEXTLEN, item, 0) >= 64) return L"<too long>";
  SendMessageW(found, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text));
  return text;
}

TEST(Language, WindowsShowTheTextsOfTheUsersLanguage) {
  const struct {
    LANGID language;
    const wchar_t* args;
    const wchar_t* title;
    int control;
    int item;  // -1: the control's own text
    const wchar_t* text;
  } kRows[] = {
      {qorv::kLangJapanese, L"0", L"Qorv 1.6 設定", IDC_WH_VCONVERT, -1, L"ホイールを縦スクロールに変換(&V)"},
      {qorv::kLangJapanese, L"0", L"Qorv 1.6 設定", IDC_WH_VAMOUNT, 11, L"ページ"},
      {qorv::kLangJapanese, L"3", L"Qorv 1.6 設定", IDC_PW_NOTE, -1, L"ウインドウに対して個別のホイール設定を行います。"},
      {qorv::kLangJapanese, L"1", L"Qorv 1.6 設定", IDCANCEL, -1, L"キャンセル"},
      {qorv::kLangJapanese, L"4", L"Qorv 1.6 設定", IDC_HK_NOTE, -1, L"設定中、ホットキーは解除されています。"},
      {qorv::kLangJapanese, L"6", L"Qorv デバッグ設定", IDC_DB_GROUP, -1, L"フックの無効化対象"},
      {qorv::kLangEnglish, L"0", L"Qorv 1.6 Settings", IDC_WH_VCONVERT, -1, L"Wheel scrolls &vertically"},
      {qorv::kLangEnglish, L"0", L"Qorv 1.6 Settings", IDC_WH_VAMOUNT, 11, L"Page"},
      {qorv::kLangEnglish, L"3", L"Qorv 1.6 Settings", IDC_PW_NOTE, -1, L"Wheel settings for single windows."},
      {qorv::kLangEnglish, L"1", L"Qorv 1.6 Settings", IDCANCEL, -1, L"Cancel"},
      {qorv::kLangEnglish, L"4", L"Qorv 1.6 Settings", IDC_HK_NOTE, -1, L"Hotkeys are released while the settings are open."},
      {qorv::kLangEnglish, L"6", L"Qorv Debug Settings", IDC_DB_GROUP, -1, L"Hooks to turn off"},
  };
  int ran = 0;
  for (const auto& row : kRows) {
    if (row.language != RunLanguage()) continue;
    ++ran;
    pelisk::PeliskRun run;
    ASSERT_TRUE(run.Start(row.args));
    HWND window = run.WaitWindow(row.title);
    ASSERT_NE(window, nullptr) << "no window titled " << testing::PrintToString(std::wstring(row.title));
    std::wstring shown;
    // A page is created right after its frame: wait until the control is there.
    harness::WaitFor([&] { return (shown = ShownText(window, row.control, row.item)) == row.text; });
    EXPECT_EQ(shown, row.text) << "control " << row.control << " of " << testing::PrintToString(std::wstring(row.args));
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    DWORD code = 0;
    EXPECT_TRUE(run.WaitExit(10000, &code));
  }
  EXPECT_GT(ran, 0) << "no row for language " << RunLanguage();
}

// The tray menu of qorv.exe: its items as the program loads them for the menu, from qorv.exe.
TEST(Language, TrayMenuItemsInTheUsersLanguage) {
  const struct {
    LANGID language;
    UINT id;
    const wchar_t* text;
  } kRows[] = {
      {qorv::kLangJapanese, IDS_TRAY_SETTINGS, L"設定(&S)..."},
      {qorv::kLangJapanese, IDS_TRAY_PAUSE, L"一時停止(&P)"},
      {qorv::kLangJapanese, IDS_TRAY_RESUME, L"再開(&R)"},
      {qorv::kLangJapanese, IDS_TRAY_AUTOSTART, L"Windows の起動時に開始(&W)"},
      {qorv::kLangJapanese, IDS_TRAY_RESTART_ADMIN, L"管理者として再起動(&A)"},
      {qorv::kLangJapanese, IDS_TRAY_EXIT, L"終了(&X)"},
      {qorv::kLangEnglish, IDS_TRAY_SETTINGS, L"&Settings..."},
      {qorv::kLangEnglish, IDS_TRAY_PAUSE, L"&Pause"},
      {qorv::kLangEnglish, IDS_TRAY_RESUME, L"&Resume"},
      {qorv::kLangEnglish, IDS_TRAY_AUTOSTART, L"Start with &Windows"},
      {qorv::kLangEnglish, IDS_TRAY_RESTART_ADMIN, L"Restart as &administrator"},
      {qorv::kLangEnglish, IDS_TRAY_EXIT, L"E&xit"},
  };
  const std::wstring exe = harness::ExeDir() + L"\\qorv.exe";
  HMODULE qorvExe = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(qorvExe, nullptr);
  int ran = 0;
  for (const auto& row : kRows) {
    if (row.language != RunLanguage()) continue;
    ++ran;
    wchar_t text[128] = {};
    qorv::LoadUiString(qorvExe, row.id, text, 128);
    EXPECT_STREQ(text, row.text) << row.id;
  }
  FreeLibrary(qorvExe);
  EXPECT_GT(ran, 0);
}

// OK writes "Qorv.ini" byte for byte the same in every language: the file given here is what the
// program writes back after showing the wheel, window and other pages.
TEST(Language, OkSavesTheSameBytesInEveryLanguage) {
  const std::string kIni =
      "[FLAGS]\r\nMainFlag=0x01360034\r\nWheelFlag=0x00230819\r\nWndFlag=0x01010508\r\nExtraFlag=0x00000000\r\n"
      "DebugFlag=0x00000000\r\nMxId=0\r\n";
  pelisk::PeliskRun run;
  run.WriteIni(kIni);
  const std::wstring title = RunLanguage() == qorv::kLangJapanese ? L"Qorv 1.6 設定" : L"Qorv 1.6 Settings";
  ASSERT_TRUE(run.Start(L"0"));
  HWND window = run.WaitWindow(title.c_str());
  ASSERT_NE(window, nullptr);
  for (int page : {1, 2}) {
    SendMessageTimeoutW(window, qorv::kSheetSelectPage, 0, page, SMTO_ABORTIFHUNG, 5000, nullptr);
  }
  PostMessageW(window, WM_COMMAND, IDOK, 0);
  DWORD code = 0;
  ASSERT_TRUE(run.WaitExit(10000, &code));
  EXPECT_EQ(run.ReadIni(), kIni);
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// Whether the text of every English control fits its control, measured with the dialog's font:
// the box of a check box, the frame of a button and the arrow of a drop-down list take their room too.
TEST(Language, EnglishTextsFitTheirControls) {
  if (RunLanguage() != qorv::kLangEnglish) GTEST_SKIP() << "measured in the English run, with the English fonts";
  pelisk::InitInProcess();
  qorv::SetUiLanguage(qorv::kLangEnglish);
  HWND host = CreateWindowExW(WS_EX_CONTROLPARENT, L"#32770", L"FitHost", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  int measured = 0;
  const int checkRoom = (GetSystemMetrics(SM_CXMENUCHECK) > 13 ? GetSystemMetrics(SM_CXMENUCHECK) : 13) + 4;
  for (UINT id : {IDD_WHEEL, IDD_WINDOW, IDD_OTHER, IDD_PERWINDOW, IDD_HOTKEYS, IDD_MOUSE, IDD_DEBUG, IDD_MAP_EDITOR,
                  IDD_BUTTON_EDITOR}) {
    const DLGTEMPLATE* dialogTemplate = qorv::UiDialogTemplate(qorv::g_instance, id);
    ASSERT_NE(dialogTemplate, nullptr) << id;
    HWND dialog = CreateDialogIndirectParamW(qorv::g_instance, dialogTemplate, host, PlainDialogProc, 0);
    ASSERT_NE(dialog, nullptr) << id;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
      wchar_t className[32] = {};
      GetClassNameW(control, className, 32);
      const std::wstring text = pelisk::TextOf(control);
      const LONG style = GetWindowLongW(control, GWL_STYLE);
      const bool button = lstrcmpiW(className, L"Button") == 0;
      const bool label = lstrcmpiW(className, L"Static") == 0 && (style & SS_TYPEMASK) <= SS_RIGHT;
      if (text.empty() || (!button && !label)) continue;
      RECT client;
      GetClientRect(control, &client);
      int width = client.right;
      int height = client.bottom;
      const LONG type = style & BS_TYPEMASK;
      bool wraps = label || (style & BS_MULTILINE) != 0;
      if (button && type == BS_GROUPBOX) {
        width -= 16;
        wraps = false;
      } else if (button && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)) {
        width -= 8;
        height -= 4;
      } else if (button) {
        width -= checkRoom;
      }
      HDC dc = GetDC(control);
      HGDIOBJ old = SelectObject(dc, font);
      RECT need = {0, 0, width, 0};
      DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
      SelectObject(dc, old);
      ReleaseDC(control, dc);
      ++measured;
      EXPECT_TRUE(need.right <= width && need.bottom <= height)
          << "dialog " << id << ", control " << GetDlgCtrlID(control) << " " << testing::PrintToString(text)
          << ": needs " << need.right << " x " << need.bottom << ", has " << width << " x " << height;
    }
    // The drop-down lists filled in code from the strings: every item fits beside the arrow.
    const struct {
      UINT dialog;
      int combo;
      UINT strings;
    } kLists[] = {
        {IDD_WHEEL, IDC_WH_VAMOUNT, IDS_VERTICAL_AMOUNTS},     {IDD_WHEEL, IDC_WH_HAMOUNT, IDS_HORIZONTAL_AMOUNTS},
        {IDD_MAP_EDITOR, IDC_ME_VAMOUNT, IDS_VERTICAL_AMOUNTS}, {IDD_MAP_EDITOR, IDC_ME_HAMOUNT, IDS_HORIZONTAL_AMOUNTS},
        {IDD_BUTTON_EDITOR, IDC_BE_BUTTON, IDS_BUTTON_NAMES},
    };
    for (const auto& list : kLists) {
      if (list.dialog != id) continue;
      HWND combo = GetDlgItem(dialog, list.combo);
      const int items = qorv::FillComboFromString(combo, list.strings);
      EXPECT_GT(items, 0) << list.strings;
      RECT client;
      GetClientRect(combo, &client);
      const int width = client.right - GetSystemMetrics(SM_CXVSCROLL) - 6;
      HDC dc = GetDC(combo);
      HGDIOBJ old = SelectObject(dc, font);
      for (int i = 0; i < items; ++i) {
        wchar_t item[64] = {};
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
        SIZE size = {};
        GetTextExtentPoint32W(dc, item, lstrlenW(item), &size);
        EXPECT_LE(size.cx, width) << "dialog " << id << ", list " << list.combo << " "
                                  << testing::PrintToString(std::wstring(item));
        ++measured;
      }
      SelectObject(dc, old);
      ReleaseDC(combo, dc);
    }
    DestroyWindow(dialog);
  }
  DestroyWindow(host);
  qorv::SetUiLanguage(0);
  EXPECT_GT(measured, 150) << "texts measured";
}

}  // namespace
