// Where a converted wheel goes (scroll-bar controls, scrollable ancestors) and the file-list and
// edit conveniences. All run on the hooked thread and keep no state; messages to other windows are
// posted, or sent with SMTO_ABORTIFHUNG and 20 ms.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

namespace qorv {

// The class of hwnd is exactly name, ignoring case (read into a buffer of bufferChars).
bool WindowClassIs(HWND hwnd, const wchar_t* name, int bufferChars);

// Direction (WS_VSCROLL / WS_HSCROLL bit) of a "ScrollBar" control accepted by filter (0: any), or 0.
uint32_t ScrollBarKind(HWND hwnd, uint32_t filter);
// The same for the window's parent when that parent is an "NUIScrollbar".
uint32_t NuiScrollBarKind(HWND hwnd, uint32_t filter);
// A visible, enabled scroll-bar control of the direction beside the window (searched from up to two
// levels above it), preferring one whose span contains the cursor; null when none.
HWND FindScrollBarChild(HWND hwnd, uint32_t direction, POINT cursor);
// Nearest ancestor with all required and none of the forbidden style bits; null at the top level.
HWND FindScrollableAncestor(HWND hwnd, uint32_t required, uint32_t forbidden);

// F2 in a file list's rename box: mode 0 cycles name, extension, all; 1 selects the name; 2 the
// extension. Returns the index of the last full stop or -1; 0 when the window is no rename box.
int RenameSelectHelper(HWND list, HWND edit, int mode);
// Ctrl+A in an edit control: selects all; returns the length selected (0: nothing done).
int EditSelectAll(HWND hwnd);
// Middle click on a file list: 2 or 1 when it went up a folder, 0 not a file list, -1 the desktop.
int UpFolderByClick(HWND hwnd);
// Double click on the empty area of a file list (the list's NM_DBLCLK seen at its parent); act 0 only
// asks. 3 (would act), 2 or 1 (went up), 0 no, -1 the desktop.
int UpFolderByDoubleClick(HWND parent, const NMITEMACTIVATE* notify, int act);
// Presses the modifiers (1 Alt, 2 Ctrl, 4 Shift, 8 Win) that are not down, strokes the key, releases them.
void SendKeyCombo(uint32_t modifiers, uint32_t vk);

}  // namespace qorv
