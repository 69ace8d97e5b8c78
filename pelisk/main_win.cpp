// pelisk.exe: the settings program's entry; everything else lives in the library.
#include <windows.h>

#include "common/dll_search_win.h"
#include "pelisk/app_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  qorv::LoadSystemDllsOnly();
  return qorv::RunSettingsProgram(instance);
}
