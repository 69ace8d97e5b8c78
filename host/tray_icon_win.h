// The main program's face in the notification area: its icon, tooltip and balloons, and what a
// click on the icon does.
#pragma once
#include <windows.h>

namespace qorv {

// A balloon on the tray icon; without an icon a message box on a thread of its own, so that the
// UI thread goes on at once.
void Tell(const wchar_t* text, bool warning);
// The tooltip from the state: paused, a hook that does not work, low-level hooks installed again.
void UpdateTip();
// Shows, replaces or removes the icon as the settings say.
void ApplyTray();
// Shows the wanted icon that the shell refused before (health timer).
void TrayRetry();
void OnTrayCallback(LPARAM lp);

}  // namespace qorv
