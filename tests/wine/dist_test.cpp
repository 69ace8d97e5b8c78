// The release installer (built by `make dist` into build/dist) installed silently, for the user into
// a folder of the user's and for every user into Program Files, the installed qorv run, and removed
// again: each install's registry entries go from the hive it used, the settings stay unless asked.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

#include "tests/wine/harness.h"

using harness::Process;
using harness::WaitFor;

namespace {

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Qorv";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool KeyPresent(HKEY hive, const wchar_t* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(hive, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// The "Qorv" value of the Run key, or "" when there is none.
std::wstring RunValue(HKEY hive) {
  wchar_t value[MAX_PATH + 8] = {};
  DWORD size = sizeof(value) - sizeof(wchar_t);
  if (RegGetValueW(hive, kRunKey, L"Qorv", RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) return L"";
  return value;
}

std::string FileBytes(const std::wstring& path) {
  std::string bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

std::wstring Installer() { return harness::ExeDir() + L"\\..\\dist\\Qorv-1.6-x86_64-setup.exe"; }

DWORD RunProgram(const std::wstring& exe, const std::wstring& args) {
  Process process(exe, args);
  DWORD code = 99;
  EXPECT_TRUE(process.WaitExit(60000, &code));
  return code;
}

void Install(const std::wstring& args, const std::wstring& dir, HKEY hive) {
  ASSERT_EQ(RunProgram(Installer(), L"/S " + args), 0u);
  // The x86_64 release carries the 32-bit companion and its library.
  for (const wchar_t* name : {L"qorv.exe", L"vantel.dll", L"qorv32.exe", L"vantel32.dll", L"MapInit.ini",
                              L"README.txt", L"uninstall.exe"}) {
    EXPECT_TRUE(Exists(dir + L"\\" + name)) << "missing after install: " << std::wstring(name).c_str();
  }
  EXPECT_TRUE(KeyPresent(hive, kUninstallKey));
}

// The uninstaller copies itself away and runs from there: wait for what it removes.
void Uninstall(const std::wstring& dir, const std::wstring& args, HKEY hive) {
  Process uninstall(dir + L"\\uninstall.exe", args);
  ASSERT_TRUE(uninstall.WaitExit(60000));
  EXPECT_TRUE(WaitFor([&] { return !KeyPresent(hive, kUninstallKey); }, 60000));  // the removal's last step,
                                                                                 // also after the settings
  EXPECT_FALSE(Exists(dir + L"\\uninstall.exe"));
  EXPECT_FALSE(Exists(dir + L"\\qorv.exe"));
  EXPECT_FALSE(Exists(dir + L"\\qorv32.exe"));
  EXPECT_FALSE(Exists(dir + L"\\MapInit.ini"));
  EXPECT_EQ(RunValue(hive), L"");
}

// Nothing may stay but the library, which stays mapped in programs that the hooks reached (this
// one too) and goes, with the folder, when Windows next starts.
void ExpectOnlyTheLibraryLeft(const std::wstring& dir) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    EXPECT_TRUE(name == L"." || name == L".." || name == L"vantel.dll") << "left behind: " << name.c_str();
  } while (FindNextFileW(find, &found));
  FindClose(find);
}

TEST(DistInstaller, InstallsSilentlyRunsAndUninstallsKeepingTheSettingsUnlessAsked) {
  if (!Exists(Installer())) GTEST_SKIP() << "no installer: run make dist";
  const std::wstring dir = harness::NewRunDir() + L"\\Qorv";
  ASSERT_NO_FATAL_FAILURE(Install(L"/RUNKEY=HKCU /D=" + dir, dir, HKEY_CURRENT_USER));
  EXPECT_EQ(RunValue(HKEY_CURRENT_USER), L"\"" + dir + L"\\qorv.exe\"");
  // A user's install creates no settings file: qorv does so on its first run.
  EXPECT_FALSE(Exists(dir + L"\\Qorv.ini"));
  EXPECT_FALSE(KeyPresent(HKEY_LOCAL_MACHINE, kUninstallKey));

  // The installed program runs from its folder and is ended by the uninstaller.
  Process qorv(dir + L"\\qorv.exe", L"", dir);
  ASSERT_TRUE(WaitFor([] { return FindWindowW(L"QorvMainWnd", L"Qorv") != nullptr; }));
  HANDLE file = CreateFileW((dir + L"\\Qorv.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  ASSERT_NO_FATAL_FAILURE(Uninstall(dir, L"/S", HKEY_CURRENT_USER));
  EXPECT_TRUE(qorv.WaitExit(10000));
  EXPECT_TRUE(Exists(dir + L"\\Qorv.ini"));

  // Asked to, the removal takes the settings and the folder too.
  ASSERT_NO_FATAL_FAILURE(Install(L"/D=" + dir, dir, HKEY_CURRENT_USER));
  EXPECT_EQ(RunValue(HKEY_CURRENT_USER), L"");  // no Run value unless asked
  ASSERT_NO_FATAL_FAILURE(Uninstall(dir, L"/S /PURGE", HKEY_CURRENT_USER));
  EXPECT_FALSE(Exists(dir + L"\\Qorv.ini"));
  ExpectOnlyTheLibraryLeft(dir);
}

// Wine runs every program as administrator, so the install for every user goes through here; what
// the access lists of Windows make of it is not shown (see README).
TEST(DistInstaller, InstallsForEveryUserIntoProgramFilesWithTheSettingsFilesReady) {
  if (!Exists(Installer())) GTEST_SKIP() << "no installer: run make dist";
  wchar_t programFiles[MAX_PATH];
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, programFiles), S_OK);
  const std::wstring dir = std::wstring(programFiles) + L"\\Qorv";
  ASSERT_FALSE(Exists(dir + L"\\qorv.exe")) << "left by an earlier run";
  const std::wstring command = L"\"" + dir + L"\\qorv.exe\"";

  struct Case {
    const wchar_t* runKey;
    HKEY runHive;  // where the Run value goes, or null for none
  } cases[] = {{L"HKLM", HKEY_LOCAL_MACHINE}, {L"HKCU", HKEY_CURRENT_USER}, {L"NONE", nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.runKey);
    ASSERT_NO_FATAL_FAILURE(Install(L"/ALLUSERS /RUNKEY=" + std::wstring(c.runKey), dir, HKEY_LOCAL_MACHINE));
    EXPECT_FALSE(KeyPresent(HKEY_CURRENT_USER, kUninstallKey));
    EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), c.runHive == HKEY_LOCAL_MACHINE ? command : L"");
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), c.runHive == HKEY_CURRENT_USER ? command : L"");
    // Ordinary users cannot create files in the folder: the installer made the settings files.
    EXPECT_EQ(FileBytes(dir + L"\\Qorv.ini"), "");
    EXPECT_EQ(FileBytes(dir + L"\\MapFlag.ini"), FileBytes(dir + L"\\MapInit.ini"));
    ASSERT_NO_FATAL_FAILURE(Uninstall(dir, L"/S", HKEY_LOCAL_MACHINE));
    EXPECT_EQ(RunValue(HKEY_CURRENT_USER), L"");
    EXPECT_TRUE(Exists(dir + L"\\Qorv.ini"));
  }
  // A settings file that users changed is kept by the next install; /PURGE takes everything.
  harness::WriteBytes(dir + L"\\Qorv.ini", "[FLAGS]\r\nMainFlag=0x5\r\n");
  ASSERT_NO_FATAL_FAILURE(Install(L"/ALLUSERS", dir, HKEY_LOCAL_MACHINE));
  EXPECT_EQ(FileBytes(dir + L"\\Qorv.ini"), "[FLAGS]\r\nMainFlag=0x5\r\n");
  ASSERT_NO_FATAL_FAILURE(Uninstall(dir, L"/S /PURGE", HKEY_LOCAL_MACHINE));
  ExpectOnlyTheLibraryLeft(dir);
  if (Exists(dir)) {
    const BOOL removed = RemoveDirectoryW(dir.c_str());
    ADD_FAILURE() << "folder left; the test's own removal " << removed << " error " << GetLastError();
  }
}

// Switches that cannot be honoured end the installer with exit code 2 before it writes anything.
TEST(DistInstaller, RefusesARunKeyItCannotWrite) {
  if (!Exists(Installer())) GTEST_SKIP() << "no installer: run make dist";
  const std::wstring dir = harness::NewRunDir() + L"\\Qorv";
  for (const wchar_t* args : {L"/RUNKEY=HKLM", L"/RUNKEY=HKXX"}) {
    SCOPED_TRACE(args);
    EXPECT_EQ(RunProgram(Installer(), L"/S " + std::wstring(args) + L" /D=" + dir), 2u);
    EXPECT_FALSE(Exists(dir));
  }
}

}  // namespace
