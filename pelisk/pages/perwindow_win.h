// Shared by the per-window page and its entry editor (dialog 109).
#pragma once
#include <windows.h>

#include "settings/map_file_win.h"

namespace qorv {

// The hook library's module-path query, bound at run time.
using ModuleNameQuery = int(WINAPI*)(HWND window, wchar_t* buffer, int size);

// Runs the editor on row (its texts, EntryFlag, EntryWheelFlag and WndId); 1 when OK changed the row,
// 2 when it was cancelled and the row is untouched.
INT_PTR RunEntryEditor(HWND owner, MapListRow& row, ModuleNameQuery query);

// Inverts a frame of the given width around window (drawing it twice restores the screen). surface 0
// draws in the window's own device context when it is visible, 1 on the screen's.
void HighlightWindowFrame(HWND window, int width, int surface);
// The surface a window's frame is drawn on: the screen for top-level windows on systems of major
// version 6 and later, else the window itself.
int HighlightSurface(HWND window);

}  // namespace qorv
