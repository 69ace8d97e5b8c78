// Windows of qorv_snap.exe, the target of the move/size and module-name tests. Command line:
// "<prefix> name=kind@x,y,w,h ..."; each top-level window's title is "<prefix>:<name>".
// Kinds: plain; resub (subclasses itself once more at the start of its first move/size loop, above
// any procedure a hook put there);  region (a window region that leaves out the kRegionInset leftmost pixels); layered (made layered by the program itself, alpha 200); scroll (own vertical bar,
// range 0-100); trackbar (a trackbar child, range 0-100); parent (a child "<prefix>:<name>:a" with a
// caption and sizing frame at client (40,40) 200x150, and a bordered sibling ":b" at (340,40) 150x200);
// group (a group box at client (10,10) 300x100 lying over an edit control, id kGroupedEditId, at
// (40,40) 200x30).
#pragma once
#include <windows.h>

namespace snapapp {

constexpr wchar_t kClass[] = L"QorvSnapTarget";
constexpr BYTE kOwnAlpha = 200;
constexpr int kRegionInset = 20;
constexpr int kGroupedEditId = 301;
// Ends the message loop.
constexpr UINT kCmdQuit = WM_APP + 20;
// Sets the property "qt sleeping", sleeps lParam ms without retrieving messages, removes it.
constexpr UINT kCmdSleep = WM_APP + 21;
// Result: the screen point at the middle of the trackbar's thumb, MAKELONG(x, y).
constexpr UINT kCmdThumbPoint = WM_APP + 22;
// Result: GetMessagePos() of the window's thread, the point of the last input it has taken.
constexpr UINT kCmdMessagePos = WM_APP + 23;
// Result: MAKELONG(message, wParam) of the last button message the window's thread took.
constexpr UINT kCmdLastButton = WM_APP + 24;
// Result: how many messages the procedure that a "resub" window put above the others has seen.
constexpr UINT kCmdResubCount = WM_APP + 26;
// Result: GetActiveWindow() of the window's thread.
constexpr UINT kCmdActive = WM_APP + 25;
// The window sends itself WM_DPICHANGED for twice the scale, with its own rectangle as the suggested
// one, as the system does when a drag takes a window onto a monitor of another scale. At
// WM_DPICHANGED a window whose name starts with "f" takes the name "g..." and the suggested
// rectangle; the stand-in window-manager library reports borders of kScaledBorder for "g" windows.
constexpr UINT kCmdScaleChange = WM_APP + 27;
constexpr wchar_t kSleepingProp[] = L"qt sleeping";
// Set on every top-level window once all of them are made and shown.
constexpr wchar_t kReadyProp[] = L"qt ready";
// Set on a window while its move/size loop runs.
constexpr wchar_t kLoopProp[] = L"qt loop";
// Set at every WM_MOVING: MAKELONG of the cursor when it stood on the point of the move being
// handled, else kMovingAstray. (Under Wine the X server's report of an older pointer position can
// put the cursor back for a moment while the loop handles a newer move; the snap step places the
// window by the cursor.)
constexpr wchar_t kMovingProp[] = L"qt moving";
constexpr UINT_PTR kMovingAstray = 0xFFFFFFFF;
// With this environment variable set, the program loads the stand-in "dwmapi.dll" from the folder
// "fakedwm" beside it before it makes its windows; the stand-in reports invisible borders of
// kBorder pixels left, right and bottom (none at the top) for windows whose name starts with "f".
constexpr wchar_t kBordersVariable[] = L"QORV_SNAP_BORDERS";
constexpr int kBorder = 7;
constexpr int kScaledBorder = 2 * kBorder;

}  // namespace snapapp
