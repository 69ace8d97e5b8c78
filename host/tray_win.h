// The notification-area icon: its tooltip, balloons, menu, and the "start with Windows" entry of
// the user's Run key.
#pragma once
#include <windows.h>

namespace qorv {

constexpr UINT kTrayCallback = WM_APP + 10;

// Menu commands, posted to the main window as WM_COMMAND.
constexpr UINT kCmdSettings = 100;
constexpr UINT kCmdPause = 101;
constexpr UINT kCmdAutoStart = 102;
constexpr UINT kCmdRestartAdmin = 103;
constexpr UINT kCmdExit = 104;

bool TrayShow(HWND hwnd, HICON icon, const wchar_t* tip);
void TrayRemove(HWND hwnd);
void TraySetTip(HWND hwnd, const wchar_t* tip);
// A balloon when the icon is shown; false when there is no icon to show it on.
bool TrayBalloon(HWND hwnd, const wchar_t* text, bool warning);
// The icon's rectangle on the screen, where the shell can tell.
bool TrayIconRect(HWND hwnd, RECT& rect);

struct TrayMenuState {
  bool paused;
  bool autoStart;
  bool offerAdmin;
};
void TrayShowMenu(HWND hwnd, const TrayMenuState& state);

// The value "Qorv" of HKCU\Software\Microsoft\Windows\CurrentVersion\Run naming this program.
bool AutoStartPresent();
bool AutoStartSet(bool on);

}  // namespace qorv
