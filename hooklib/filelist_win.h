// File-list conveniences that the window-procedure hook passes on: the rename box's name selection
// and going up one folder by a double click on empty space.
#pragma once
#include <windows.h>

namespace qorv {

// Index of the last full stop in the rename edit's text, or -1; 0 when edit is not the rename edit
// of a file list (list may be null: then the edit's parent). mode 0 cycles, 1 name, 2 extension.
int RenameSelectHelper(HWND list, HWND edit, int mode);
// For the NM_DBLCLK a list sends to parent: 3, 2 or 1 when it goes (or would go, act 0) up one
// folder, -1 for the desktop's own list, 0 otherwise.
int UpFolderByDoubleClick(HWND parent, const NMHDR* notification, int act);

}  // namespace qorv
