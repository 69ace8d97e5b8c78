// Process-wide values of the settings program, set once at start-up and read by the pages, and the
// start-up sequence itself.
#pragma once
#include <windows.h>

#include <cstdint>

#include "settings/settings_win.h"

namespace qorv {

extern HINSTANCE g_instance;
extern uint32_t g_platformId;      // dwPlatformId; 2 is the NT family
extern uint32_t g_osMajor;         // dwMajorVersion
extern uint32_t g_qorvWndMessage;  // registered "QorvWnd"
extern uint32_t g_layeredApiMask;  // LoadLayeredApi's mask

// Codes of the "QorvWnd" broadcast.
constexpr WPARAM kEditBegin = 1;
constexpr WPARAM kEditSaved = 2;
constexpr WPARAM kEditCancelled = 3;
constexpr WPARAM kMapSaved = 4;

// Posts the "QorvWnd" broadcast with the code and this thread's id, only while the main program's
// presence mutex exists (also when it refuses us access). Returns true when it was posted.
bool NotifyMain(WPARAM code);
// Full path of "Qorv.ini" beside the program.
const wchar_t* SettingsFilePath();
// "ProductName", a blank and "ProductVersion" from the program's version resource; returns the
// number of characters stored (without a buffer: the sum of both lengths).
int ProductTitle(wchar_t* buffer, int capacity);
// ProductTitle followed by string 9 (" 設定"), cut to the capacity; returns the length.
int SettingsWindowTitle(wchar_t* buffer, int capacity);

// The tabbed window from a start page (7-9 and larger clamp to the last page); sets the visited
// flags of the record afterwards. Returns RunSheet's result.
int RunSettingsWindow(HINSTANCE instance, int startPage);
// The debug dialog in its own message loop: 1 OK, 2 Cancel, 0 when it could not be created.
int RunDebugDialog(HINSTANCE instance);

// The whole run of the program; returns the process exit code: 1 OK (saved), 2 cancelled or the
// save failed, 0 a second copy or no debug dialog, -1 no settings window.
int RunSettingsProgram(HINSTANCE instance);

}  // namespace qorv
