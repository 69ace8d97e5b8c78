// The settings store on real files under the Japanese code page.
#include <gtest/gtest.h>

#include <string>

#include "common/flags.h"
#include "settings/file_win.h"
#include "settings/ini_win.h"
#include "settings/map_file_win.h"
#include "settings/settings_win.h"
#include "tests/wine/harness.h"

namespace {

std::string ReadAll(const std::wstring& path) {
  std::string bytes;
  qorv::ReadSmallFile(path.c_str(), 1 << 20, bytes);
  return bytes;
}

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 932u);
    ini = dir + L"\\Qorv.ini";
    qorv::g_settings = {};
  }
  std::wstring dir = harness::NewRunDir();
  std::wstring ini;
};

TEST(IniPathTest, SettingsFilesLiveNextToTheExecutable) {
  wchar_t buffer[MAX_PATH];
  const std::wstring exeDir = harness::ExeDir();
  qorv::IniPath(buffer, MAX_PATH, L"Qorv.ini");
  EXPECT_EQ(std::wstring(buffer), exeDir + L"\\Qorv.ini");
  qorv::IniPath(buffer, MAX_PATH, L"C:\\elsewhere\\Qorv.INI");
  EXPECT_EQ(std::wstring(buffer), L"C:\\elsewhere\\Qorv.INI");
  qorv::IniPath(buffer, MAX_PATH, nullptr);  // no name: the program's own name with "ini"
  EXPECT_EQ(std::wstring(buffer), exeDir + L"\\qorv_wine_tests.ini");
  qorv::IniPath(buffer, MAX_PATH, L"notes.txt");
  EXPECT_EQ(std::wstring(buffer), exeDir + L"\\qorv_wine_tests.ini");
  EXPECT_EQ(qorv::IniPath(buffer, 5, L"C:\\a\\b.ini"), 4u);  // cut at the capacity
  EXPECT_EQ(std::wstring(buffer), L"C:\\a");
  EXPECT_EQ(qorv::MapPath(L"MapFlag.ini"), exeDir + L"\\MapFlag.ini");
}

TEST_F(StoreTest, FirstRunCreatesOnlyTheFlagKeys) {
  EXPECT_EQ(qorv::SettingsLoadAtStart(ini.c_str()), 0);
  EXPECT_EQ(ReadAll(ini),
            "[FLAGS]\r\nMainFlag=0x05010014\r\nWheelFlag=0x053F0BE9\r\nWndFlag=0x050A040D\r\nMxId=0\r\n");
  EXPECT_EQ(qorv::SettingsLoadAtStart(ini.c_str()), 1);
}

TEST_F(StoreTest, SaveRulesOnRealFile) {
  harness::WriteBytes(ini, "; user's note\r\n[FLAGS]\r\nMainFlag=0x1\r\nMxType=0x5\r\n\r\n[HotKey]\r\nHkWndTop=0x00000351\r\n");
  ASSERT_EQ(qorv::SettingsLoad(ini.c_str()), 1);
  EXPECT_EQ(qorv::g_settings.HotkeyTable[3], 0x351u);
  qorv::g_settings.MainFlag = 0x05010214;
  qorv::g_settings.HotkeysPageVisited = true;
  qorv::g_settings.MousePageVisited = true;
  qorv::g_settings.MouseBtn.btnFlag = qorv::btn_flag::kStartAtLaunch;
  qorv::g_settings.MouseBtn.setNum = 1;
  qorv::g_settings.MouseBtn.pairs[0] = {0x00012002, 0x00250026};
  EXPECT_EQ(qorv::SettingsSave(ini.c_str()), 1);
  const std::string saved = ReadAll(ini);
  EXPECT_EQ(saved.rfind("; user's note\r\n[FLAGS]\r\nMainFlag=0x05010214\r\nMxType=0x5\r\n", 0), 0u) << saved;
  EXPECT_NE(saved.find("HkWndTop=0x00000351\r\n"), std::string::npos);
  EXPECT_NE(saved.find("[MouseBtn]\r\nBtnFlag=0x00000001\r\nSetNum=1\r\nBtnSet0=0x012002:0x00250026\r\n"),
            std::string::npos);

  qorv::SettingsRecord before = qorv::g_settings;
  ASSERT_EQ(qorv::SettingsLoad(ini.c_str()), 1);
  EXPECT_EQ(qorv::g_settings.MouseBtn.pairs[0].key, 0x00250026u);
  EXPECT_EQ(qorv::g_settings.MixerWord, 0x50000u);
  EXPECT_EQ(qorv::g_settings.MainFlag, before.MainFlag);

  qorv::g_settings.HotkeyTable[qorv::kHotkeyDebugFlag] = 0x00100001;
  EXPECT_EQ(qorv::DebugSave(ini.c_str()), 1);
  const std::string debugSaved = ReadAll(ini);
  EXPECT_NE(debugSaved.find("DebugFlag=0x00100001\r\n"), std::string::npos);
  EXPECT_NE(debugSaved.find("HkDbgHook=0\r\n"), std::string::npos);
}

TEST_F(StoreTest, UnreadableFileIsNeverReplaced) {
  // 65,536 bytes is too large to read: the start-up save and later saves leave it whole.
  const std::string head = "[FLAGS]\r\nMainFlag=0x1\r\n; ";
  const std::string big = head + std::string(65536 - head.size() - 2, 'x') + "\r\n";
  ASSERT_EQ(big.size(), 65536u);
  harness::WriteBytes(ini, big);
  EXPECT_EQ(qorv::SettingsLoadAtStart(ini.c_str()), 0);
  EXPECT_EQ(qorv::g_settings.MainFlag, qorv::kMainFlagDefault);
  EXPECT_EQ(qorv::SettingsSave(ini.c_str()), 0);
  EXPECT_EQ(qorv::DebugSave(ini.c_str()), 0);
  EXPECT_EQ(ReadAll(ini), big);

  // One byte less is read.
  harness::WriteBytes(ini, big.substr(0, 65535));
  EXPECT_EQ(qorv::SettingsLoad(ini.c_str()), 1);
  EXPECT_EQ(qorv::g_settings.MainFlag, 1u);
}

TEST_F(StoreTest, EmptyFileReadsAsDefaultsAndIsSavedOver) {
  harness::WriteBytes(ini, "");
  EXPECT_EQ(qorv::SettingsLoadAtStart(ini.c_str()), 0);
  EXPECT_EQ(ReadAll(ini),
            "[FLAGS]\r\nMainFlag=0x05010014\r\nWheelFlag=0x053F0BE9\r\nWndFlag=0x050A040D\r\nMxId=0\r\n");

  // A save by the user (settings window or debug dialog) goes over an empty file too.
  for (auto save : {qorv::SettingsSave, qorv::DebugSave}) {
    harness::WriteBytes(ini, "");
    qorv::g_settings.MainFlag = 0x05010214;
    bool wrote = false;
    EXPECT_EQ(save(ini.c_str(), &wrote), 0) << "nothing was read";
    EXPECT_TRUE(wrote);
    EXPECT_NE(ReadAll(ini), "");
  }
}

TEST_F(StoreTest, ReadingIsSharedButAWriterHoldingTheFileCountsAsUnreadable) {
  harness::WriteBytes(ini, "[FLAGS]\r\nMainFlag=0x2\r\n");
  HANDLE reader = CreateFileW(ini.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_EQ(qorv::SettingsLoad(ini.c_str()), 1);  // another reader does not stop us
  CloseHandle(reader);

  HANDLE locker = CreateFileW(ini.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locker, INVALID_HANDLE_VALUE);
  EXPECT_EQ(qorv::SettingsLoadAtStart(ini.c_str()), 0);
  CloseHandle(locker);
  EXPECT_EQ(ReadAll(ini), "[FLAGS]\r\nMainFlag=0x2\r\n");  // not replaced by the defaults
}

TEST_F(StoreTest, ReplacingLeavesNoTemporaryFiles) {
  harness::WriteBytes(ini, "[FLAGS]\r\n");
  for (int i = 0; i < 3; ++i) ASSERT_EQ(qorv::SettingsSave(ini.c_str()), 1);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  int files = 0;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) ++files;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  EXPECT_EQ(files, 1);
}

TEST_F(StoreTest, JapaneseTextThroughWriteAndRead) {
  const std::wstring title = L"表示ソフト―テスト";  // 表 and ソ have trail bytes 0x5C
  qorv::IniText text = qorv::IniSetString("Names", "Title", title.c_str(), nullptr);
  ASSERT_NE(text, nullptr);
  EXPECT_GT(qorv::IniWrite(ini.c_str(), text), 0u);
  qorv::IniFree(text);
  text = qorv::IniLoad(ini.c_str());
  ASSERT_NE(text, nullptr);
  char* cursor = text;
  ASSERT_NE(qorv::IniFindSection("Names", &cursor), nullptr);
  const char* value = qorv::IniFindKey("Title", &cursor);
  ASSERT_NE(value, nullptr);
  wchar_t wide[64] = {};
  const int n = MultiByteToWideChar(932, 0, value, static_cast<int>(strcspn(value, "\r\n")), wide, 63);
  EXPECT_EQ(std::wstring(wide, n), title);
  qorv::IniFree(text);

  std::vector<qorv::MapListRow> rows(2);
  rows[0].EntryFlag = 0x61;
  rows[0].EntryWheelFlag = 0x00000001;
  rows[0].Title = L"ソフト表示";
  rows[0].WndId = 0;
  rows[0].FileName = L"表示.exe";
  rows[0].ClassName = L"ソ|表";
  rows[1].EntryFlag = 0x10;
  rows[1].WndId = 1001;
  const std::wstring map = dir + L"\\MapFlag.ini";
  EXPECT_EQ(qorv::MapWrite(map.c_str(), rows), 2);
  std::vector<qorv::MapListRow> back;
  EXPECT_EQ(qorv::MapLoadFrom(map.c_str(), (dir + L"\\MapInit.ini").c_str(), back, L"(タイトルなし)"), 2);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].Title, rows[0].Title);
  EXPECT_EQ(back[0].FileName, rows[0].FileName);
  EXPECT_EQ(back[0].ClassName, rows[0].ClassName);
  EXPECT_TRUE(back[0].Checked());
  EXPECT_EQ(back[0].IdText(), L"");
  EXPECT_EQ(back[1].Title, L"(タイトルなし)");
  EXPECT_EQ(back[1].IdText(), L"1001");
  EXPECT_FALSE(back[1].Checked());
}

TEST_F(StoreTest, MapLoadCopiesTheInitialTableOnceAndNeverOverwrites) {
  const std::wstring flag = dir + L"\\MapFlag.ini";
  const std::wstring init = dir + L"\\MapInit.ini";
  ASSERT_TRUE(CopyFileW((harness::ExeDir() + L"\\MapInit.ini").c_str(), init.c_str(), FALSE));
  std::vector<qorv::MapListRow> rows;
  const int shipped = qorv::MapLoadFrom(flag.c_str(), init.c_str(), rows, L"-");
  ASSERT_GT(shipped, 0);
  EXPECT_EQ(ReadAll(flag), ReadAll(init));
  bool hasUwpFrame = false;
  for (const auto& row : rows) hasUwpFrame |= row.ClassName == L"ApplicationFrameWindow" && row.EntryWheelFlag == 0;
  EXPECT_TRUE(hasUwpFrame);

  // A "MapFlag.ini" without rows is not replaced; the list shows the initial table meanwhile.
  harness::WriteBytes(flag, "; nothing here\r\n");
  rows.clear();
  EXPECT_EQ(qorv::MapLoadFrom(flag.c_str(), init.c_str(), rows, L"-"), shipped);
  EXPECT_EQ(ReadAll(flag), "; nothing here\r\n");

  // An empty list deletes the user's file; the next load starts from the initial table again.
  EXPECT_EQ(qorv::MapWrite(flag.c_str(), {}), 0);
  EXPECT_FALSE(qorv::FileExists(flag.c_str()));
  rows.clear();
  EXPECT_EQ(qorv::MapLoadFrom(flag.c_str(), init.c_str(), rows, L"-"), shipped);
  EXPECT_TRUE(qorv::FileExists(flag.c_str()));

  // Neither file: an empty list.
  DeleteFileW(flag.c_str());
  DeleteFileW(init.c_str());
  rows.clear();
  EXPECT_EQ(qorv::MapLoadFrom(flag.c_str(), init.c_str(), rows, L"-"), 0);
  EXPECT_TRUE(rows.empty());
}

}  // namespace
