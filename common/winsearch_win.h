// Window helpers shared by both programs.
#pragma once
#include <windows.h>

#include <cstdint>

namespace qorv {

// Time-out of every message sent to a window of another thread, always with SMTO_ABORTIFHUNG: a
// hung or busy window must never hold the sender.
constexpr UINT kSendTimeoutMs = 20;

// True when hwnd belongs to the calling thread or its thread answers a WM_NULL within
// kSendTimeoutMs. Calls that reach another thread synchronously (activation, focus, restyling,
// placement) go only to a window that has just answered.
bool Responsive(HWND hwnd);

// 0 when the two strings agree character by character after CharLowerW, up to the end of the shorter
// one; otherwise the difference of the first differing lowered characters.
int CaseInsensitiveCompareW(const wchar_t* a, const wchar_t* b);
// Climbs GetParent while the window has WS_CHILD.
HWND TopLevelOf(HWND hwnd);

LONG_PTR Style(HWND hwnd);
// Hit code of a screen point, computed by the default procedure in this thread without a send.
int HitTest(HWND hwnd, POINT pt);
// Hit code of a screen point as the window itself answers: sent directly to a window of this
// thread, with the bounded send to any other (HTNOWHERE when it does not answer in time).
int OwnHitTest(HWND hwnd, POINT pt);
// The MK_ bits of the mouse buttons, Ctrl and Shift that this thread's key state holds down.
uint32_t HeldMouseKeys();

// Flags of ChildAtPoint.
constexpr UINT kChildVisible = 0x01;          // must be visible
constexpr UINT kChildEnabled = 0x02;          // must be enabled
constexpr UINT kChildSkipTransparent = 0x04;  // skip WS_EX_TRANSPARENT windows
constexpr UINT kChildSkipClickThrough = 0x08; // skip windows both transparent and layered
constexpr UINT kChildNoHitTest = 0x10;        // do not ask the window's hit test

// The deepest window under the point inside container (its descendants; the container itself when
// none is found and the point lies in it), or, without a container, the first top-level window under
// it. `excluded` is never returned.
HWND ChildAtPoint(HWND container, POINT pt, HWND excluded, UINT flags);
// The window under the point, looking past windows that hit-test as transparent or nowhere.
HWND WindowAtPoint(POINT pt);

}  // namespace qorv
