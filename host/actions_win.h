// What the window hotkeys do to the foreground window of another program.
#pragma once
#include <windows.h>

#include <cstdint>

namespace qorv {

// The top-level window in front, unless it is the desktop, the taskbar or one of ours.
HWND ActionTarget(HWND self);

// Whether the window answers now, so that a style change (which sends to its thread) cannot hold us.
bool ActionsCanRestyle(HWND hwnd);
// Translucency at alpha; a second press makes the window opaque again. A window that its own
// program made layered is left alone. False when nothing was done.
bool ActionToggleTranslucent(HWND hwnd, uint8_t alpha);
bool ActionToggleTopmost(HWND hwnd);
// Sends the window to the bottom and keeps it there until the next press.
bool ActionToggleBottom(HWND hwnd);
bool ActionStepPriority(HWND hwnd, bool up);
bool ActionMinimize(HWND hwnd);
bool ActionMaximizeOrRestore(HWND hwnd);
bool ActionClose(HWND hwnd);

// A window came to the front: one kept at the bottom goes back down.
void ActionsForegroundChanged(HWND hwnd);
// Pushes every window kept at the bottom back down (timer).
void ActionsKeepBottom();

// Temporary translucency while the cursor is over a caption (made opaque when it leaves).
void ActionsTemporaryTranslucent(HWND hwnd, uint8_t alpha);
// The cursor is at (x, y): a temporarily translucent window it has left turns opaque.
void ActionsCursorAt(int x, int y);
bool ActionsAnyTemporary();
// A window may still be temporarily translucent: the cursor is followed.
bool ActionsFollowingCursor();
// At start: windows that an earlier copy left temporarily translucent (it was killed) are followed
// like our own, and turn opaque once the cursor is off them.
void ActionsAdoptTemporary();

// Undoes what the actions did to other windows: translucency, bottom keeping (pause and exit).
void ActionsRestoreAll();

}  // namespace qorv
