// The release installer (built by `make dist` into build/dist) installed silently into a folder of
// the user's, the installed qorv run, and removed again: the user's settings stay unless asked.
#include <gtest/gtest.h>

#include <string>

#include "tests/wine/harness.h"

using harness::Process;
using harness::WaitFor;

namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool UninstallKeyPresent() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Qorv", 0,
                    KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

void Install(const std::wstring& setup, const std::wstring& dir) {
  Process install(setup, L"/S /D=" + dir);
  DWORD code = 99;
  ASSERT_TRUE(install.WaitExit(60000, &code));
  ASSERT_EQ(code, 0u);
  // The x86_64 release carries the 32-bit companion and its library.
  for (const wchar_t* name : {L"qorv.exe", L"vantel.dll", L"qorv32.exe", L"vantel32.dll", L"MapInit.ini",
                              L"README.txt", L"uninstall.exe"}) {
    EXPECT_TRUE(Exists(dir + L"\\" + name)) << "missing after install: " << std::wstring(name).c_str();
  }
  EXPECT_TRUE(UninstallKeyPresent());
}

// The uninstaller copies itself away and runs from there: wait for what it removes.
void Uninstall(const std::wstring& dir, const std::wstring& args) {
  Process uninstall(dir + L"\\uninstall.exe", args);
  ASSERT_TRUE(uninstall.WaitExit(60000));
  EXPECT_TRUE(WaitFor([&] { return !UninstallKeyPresent(); }, 60000));  // the removal's last step, also
                                                                        // after the settings files
  EXPECT_FALSE(Exists(dir + L"\\uninstall.exe"));
  EXPECT_FALSE(Exists(dir + L"\\qorv.exe"));
  EXPECT_FALSE(Exists(dir + L"\\qorv32.exe"));
  EXPECT_FALSE(Exists(dir + L"\\MapInit.ini"));
}

TEST(DistInstaller, InstallsSilentlyRunsAndUninstallsKeepingTheSettingsUnlessAsked) {
  const std::wstring setup = harness::ExeDir() + L"\\..\\dist\\Qorv-1.6-x86_64-setup.exe";
  if (!Exists(setup)) GTEST_SKIP() << "no installer: run make dist";
  const std::wstring dir = harness::NewRunDir() + L"\\Qorv";
  ASSERT_NO_FATAL_FAILURE(Install(setup, dir));

  // The installed program runs from its folder and is ended by the uninstaller.
  Process qorv(dir + L"\\qorv.exe", L"", dir);
  ASSERT_TRUE(WaitFor([] { return FindWindowW(L"QorvMainWnd", L"Qorv") != nullptr; }));
  HANDLE file = CreateFileW((dir + L"\\Qorv.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  ASSERT_NO_FATAL_FAILURE(Uninstall(dir, L"/S"));
  EXPECT_TRUE(qorv.WaitExit(10000));
  EXPECT_TRUE(Exists(dir + L"\\Qorv.ini"));

  // Asked to, the removal takes the settings and the folder too.
  ASSERT_NO_FATAL_FAILURE(Install(setup, dir));
  ASSERT_NO_FATAL_FAILURE(Uninstall(dir, L"/S /PURGE"));
  EXPECT_FALSE(Exists(dir + L"\\Qorv.ini"));
  // The library stays mapped in programs that the hooks reached (this one too) and goes, with the
  // folder, when Windows next starts; nothing else may stay.
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      EXPECT_TRUE(name == L"." || name == L".." || name == L"vantel.dll") << "left behind: " << name.c_str();
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }
}

}  // namespace
