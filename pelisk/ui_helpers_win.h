// Control helpers that the pages and dialogs of the settings program share.
#pragma once
#include <windows.h>

#include <cstdint>

#include "pelisk/ui_helpers.h"

namespace qorv {

// Adds the line-feed separated items of a string (at most 128 characters) to a combo box; an empty
// item ends the list. Returns the number of items added, 0 when the string is missing.
int FillComboFromString(HWND combo, UINT stringId);

// WM_HSCROLL/WM_VSCROLL from a scroll-bar control: steps its position by the shared rule, sets it
// with redraw and returns it.
int StepScrollBar(HWND scrollBar, int code);

// Right double-click on a page: shows the hidden control under the point (client coordinates of
// the page) with SW_SHOWNA. options are ChildAtPoint's flags. Returns the window shown or null.
HWND RevealHiddenControl(HWND page, POINT clientPoint, UINT options);

// Columns of a list view from a string of "name;width;format" lines (at most 63 characters), then
// check boxes, full-row select and info tips. Returns the number of columns.
int ListColumnsFromString(HWND list, UINT stringId);

// Moves a row one place up (step -1) or down (+1) with its sub-item texts (subItems of them), its
// check state and its data. Returns the row's new index, -1 when nothing moved.
int MoveListItem(HWND list, int index, int subItems, int step);

// Moves a dialog without repainting so that its centre is the centre of its parent's window.
void CenterOverParent(HWND dialog);
// Centres a window of the given size on the primary work area; returns the top-left corner.
POINT CenterOnWorkArea(int width, int height);

// Sets a page's or dialog's message result (pointer-sized) and returns TRUE for the dialog procedure.
INT_PTR SetDialogResult(HWND dialog, LONG_PTR result);

// " Warning " question with Yes/No of a string; true when the user answers Yes (go back and fix).
bool AskToFix(HWND owner, UINT stringId);
// Whether the system accepts the hotkey word as a hotkey now: registers and at once releases it.
bool HotkeyRegisters(HWND window, int id, uint32_t hotkey);

// Loads a string into the buffer (empty text when it is missing); returns its length.
int LoadText(UINT stringId, wchar_t* buffer, int capacity);

}  // namespace qorv
