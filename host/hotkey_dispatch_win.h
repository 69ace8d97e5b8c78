// The hotkeys of the "HotKey" section: registered on the main window, and what each one does.
#pragma once
#include <windows.h>

namespace qorv {

// Registers the keyboard hotkeys (the mouse ones go to the hook thread's watch) and tells once
// about combinations that another program holds.
void RegisterHotkeys();
void ReleaseHotkeys();
// A hotkey fired (WM_HOTKEY, or a mouse hotkey seen by the watch).
void RunHotkey(int id);
void StartSettingsProgram();

}  // namespace qorv
