// The settings program's resources as built into pelisk.exe: strings in exact UTF-16, the version
// block, the manifest, and the dialog templates with their styles and control classes.
#include <gtest/gtest.h>

#include <string>

#include "pelisk/resource.h"
#include "tests/wine/pelisk_harness.h"

namespace {

class ProgramResources : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring exe = harness::ExeDir() + L"\\pelisk.exe";
    module_ = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module_, nullptr) << "pelisk.exe beside the tests";
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  std::wstring String(UINT id) const {
    wchar_t text[512] = {};
    const int n = LoadStringW(module_, id, text, 512);
    return std::wstring(text, n > 0 ? n : 0);
  }
  const void* Resource(const wchar_t* type, UINT id, DWORD* size) const {
    HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(id), type);
    if (found == nullptr) return nullptr;
    *size = SizeofResource(module_, found);
    return LockResource(LoadResource(module_, found));
  }
  HMODULE module_ = nullptr;
};

TEST_F(ProgramResources, StringsAreTheExactUtf16Texts) {
  // Spelled by code point, so that an encoding slip in the resource compiler or in this file shows.
  EXPECT_EQ(String(IDS_NONE), L"\u306A\u3057");
  EXPECT_EQ(String(IDS_SETTINGS_SUFFIX), L" \u8A2D\u5B9A");
  EXPECT_EQ(String(IDS_SHEET_FONT), L"\n\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF\n9");
  EXPECT_EQ(String(IDS_DUPLICATE_HOTKEY),
            L"\u91CD\u8907\u3057\u3066\u3044\u308B\u30DB\u30C3\u30C8\u30AD\u30FC\u304C\u3042\u308A\u307E\u3059"
            L"\r\n\r\n\u4FEE\u6B63\u3057\u307E\u3059\u304B\uFF1F");
  const struct {
    UINT id;
    const wchar_t* text;
  } kStrings[] = {
      {IDS_REGISTER_FAILED, L"ホットキーの登録ができませんでした\r\n\r\n修正しますか？"},
      {IDS_LOAD_FAILED, L"設定ファイルの読み込みに失敗しました"},
      {IDS_MAP_COLUMNS, L"タイトル;150\nファイル名;110\nクラス名;120\nウインドID;70"},
      {IDS_VERTICAL_AMOUNTS, L"なし\n1 行\n2 行\n3 行\n4 行\n5 行\n6 行\n7 行\n8 行\n9 行\n10 行\nページ"},
      {IDS_HORIZONTAL_AMOUNTS, L"なし\n1 列\n2 列\n3 列\n4 列\n5 列\n6 列\n7 列\n8 列\n9 列\n10 列\nページ"},
      {IDS_PAGE_TITLES, L"ホイール\nウインドウ\nその他\n個別設定\nホットキー\nマウスボタン"},
      {IDS_NO_TITLE, L"(タイトルなし)"},
      {IDS_NEW_TITLE, L"(新規)"},
      {IDS_OS_ERROR, L"OSバージョンエラー\r\n\r\nQorvはWindows2000以降で動作します"},
      {IDS_LEFT_RIGHT_KEYS, L"左右キーに変換する(&B)"},
      {IDS_BUTTON_COLUMNS, L"ボタン;120\n発動条件;;2\n変換キー;160"},
      {IDS_BUTTON_NAMES,
       L"左クリック\n右クリック\nホイール上回転\nホイール下回転\nホイールクリック\n拡張ボタン1\n拡張ボタン2"},
      {IDS_SHEET_BUTTONS, L"\nOK\nキャンセル"},
      {IDS_MAP_SAVE_FAILED,
       L"個別設定ファイル「MapFlag.ini」を保存できませんでした。\r\n\r\n個別設定の変更は保存されていません。"},
  };
  for (const auto& s : kStrings) EXPECT_EQ(String(s.id), s.text) << "string " << s.id;
  // The system-version message is read as 8-bit text in the system code page.
  char ansi[64] = {};
  ASSERT_GT(LoadStringA(module_, IDS_OS_ERROR, ansi, 64), 0);
  EXPECT_EQ(std::string(ansi),
            "OS\x83o\x81[\x83W\x83\x87\x83\x93\x83G\x83\x89\x81[\r\n\r\nQorv\x82\xCD"
            "Windows2000\x88\xC8\x8D~\x82\xC5\x93\xAE\x8D\xEC\x82\xB5\x82\xDC\x82\xB7");
}

TEST_F(ProgramResources, VersionManifestIconsAndCursor) {
  DWORD size = 0;
  const char* manifest = static_cast<const char*>(Resource(MAKEINTRESOURCEW(24), 1, &size));
  ASSERT_NE(manifest, nullptr);
  const std::string text(manifest, size);
  EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(text.find("version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(text.find("PerMonitorV2"), std::string::npos);
  EXPECT_NE(text.find("asInvoker"), std::string::npos);
  for (UINT icon : {IDI_MAIN, IDI_PICKER, IDI_PICKER_SEARCH}) {
    EXPECT_NE(FindResourceW(module_, MAKEINTRESOURCEW(icon), MAKEINTRESOURCEW(14)), nullptr) << icon;  // group icon
  }
  EXPECT_NE(FindResourceW(module_, MAKEINTRESOURCEW(IDC_PICKER_CURSOR), MAKEINTRESOURCEW(12)), nullptr);

  const std::wstring exe = harness::ExeDir() + L"\\pelisk.exe";
  DWORD ignored = 0;
  std::string block(GetFileVersionInfoSizeW(exe.c_str(), &ignored), '\0');
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(block.size()), &block[0]));
  WORD* translation = nullptr;
  UINT length = 0;
  ASSERT_TRUE(
      VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
  EXPECT_EQ(translation[0], 0x0411);  // Japanese
  wchar_t* value = nullptr;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\041104b0\\ProductName", reinterpret_cast<void**>(&value),
                             &length));
  EXPECT_STREQ(value, L"Qorv");
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\041104b0\\ProductVersion",
                             reinterpret_cast<void**>(&value), &length));
  EXPECT_STREQ(value, L"1.6");
}

// Style and extended style of a DIALOGEX template.
struct TemplateHead {
  WORD version;
  WORD signature;
  DWORD help;
  DWORD exStyle;
  DWORD style;
  WORD items;
  short x, y, cx, cy;
};

TEST_F(ProgramResources, PagesAreControlChildDialogsOfOneSize) {
  for (UINT id : {IDD_WHEEL, IDD_WINDOW, IDD_OTHER, IDD_PERWINDOW, IDD_HOTKEYS, IDD_MOUSE}) {
    DWORD size = 0;
    const auto* head = static_cast<const TemplateHead*>(Resource(MAKEINTRESOURCEW(5), id, &size));
    ASSERT_NE(head, nullptr) << id;
    ASSERT_EQ(head->signature, 0xFFFF) << id;
    EXPECT_EQ(head->style, 0x40000440u) << id;
    EXPECT_EQ(head->cx, 322) << id;
    EXPECT_EQ(head->cy, 181) << id;
  }
  for (UINT id : {IDD_DEBUG, IDD_MAP_EDITOR, IDD_BUTTON_EDITOR}) {
    DWORD size = 0;
    const auto* head = static_cast<const TemplateHead*>(Resource(MAKEINTRESOURCEW(5), id, &size));
    ASSERT_NE(head, nullptr) << id;
    EXPECT_EQ(head->style & (WS_POPUP | WS_CAPTION), static_cast<DWORD>(WS_POPUP | WS_CAPTION)) << id;
  }
}

}  // namespace

namespace {

TEST(ProductTitle, NameAndVersionFromTheVersionBlockCutToTheBuffer) {
  pelisk::InitInProcess();
  const struct {
    int capacity;
    const wchar_t* text;
  } kCases[] = {{64, L"Qorv 1.6"}, {9, L"Qorv 1.6"}, {8, L"Qorv"}, {5, L"Qorv"}, {4, L""}};
  for (const auto& k : kCases) {
    wchar_t buffer[64];
    const int n = qorv::ProductTitle(buffer, k.capacity);
    EXPECT_EQ(std::wstring(buffer, n), k.text) << "capacity " << k.capacity;
    EXPECT_EQ(buffer[n], 0) << "capacity " << k.capacity;
  }
  EXPECT_EQ(qorv::ProductTitle(nullptr, 0), 7);
  wchar_t title[64];
  EXPECT_EQ(qorv::SettingsWindowTitle(title, 64), 11);
  EXPECT_STREQ(title, L"Qorv 1.6 設定");
}

}  // namespace
