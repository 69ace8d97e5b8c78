// What the main program does with the hooks' reports: a wheel notch over the tray icon or the
// desktop changes the volume, over a caption it brings the window up or makes it translucent;
// the window-procedure hook's reports feed the size tooltip; the diagnostics window lists them.
#pragma once
#include <windows.h>

namespace qorv {

void OnGetMsgReport(WPARAM wp, LPARAM lp);
void OnMouseReport(WPARAM wp, LPARAM lp);
void OnCallWndReport(WPARAM wp, LPARAM lp);
void OnLLMouseReport(WPARAM wp, LPARAM lp);
// Opens or closes the diagnostics window as the debug settings say.
void ApplyDiagnostics();

}  // namespace qorv
