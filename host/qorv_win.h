// The main window: hidden, top-level (broadcasts reach only top-level windows), the owner of the
// hooks' notifications, the hotkeys and the tray icon. Its procedure only dispatches.
#pragma once
#include <windows.h>

namespace qorv {

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace qorv
