// "KeyWndClass": the control that captures one key combination (or, set from outside, a mouse
// button or wheel direction) as a HotkeyWord and shows it as text such as "Ctrl + Alt + F5".
#pragma once
#include <windows.h>

#include <cstdint>

#include "pelisk/keyctl.h"

namespace qorv {

constexpr wchar_t kKeyWndClass[] = L"KeyWndClass";

// Messages to the control. None of them notifies the parent.
constexpr UINT KWM_GETVALUE = 0x0401;      // result: the value
constexpr UINT KWM_SETVALUE = 0x0402;      // wParam: value with a key; result 1, or 0 and no change
constexpr UINT KWM_SETFLAGS = 0x0403;      // wParam 0x1000: options, 0-255: a key's flag byte; old value
constexpr UINT KWM_SETEMPTYTEXT = 0x0404;  // wParam 0, lParam text or null (15 characters); result 1

constexpr DWORD KWS_MODIFIERMENU = kKwsModifierMenu;
constexpr DWORD KWS_WHEELSCAN = kKwsWheelScan;

// Registers the class once per process; the atom, or 0 when registration failed.
ATOM RegisterKeyWndClass(HINSTANCE instance);

// Sets a control up as the pages do from KeyLimit: limited controls show string 1 ("なし") for an
// empty value and refuse plain, Shift + and Ctrl + keys; unlimited ones offer the modifier menu and
// the wheel scan.
void ConfigureKeyControl(HWND control, bool limited);

// Text of a value as the control shows it; key names come from the keyboard layout. Returns the
// length.
int HotkeyDisplayText(uint32_t value, const wchar_t* emptyText, wchar_t* out, int capacity);

}  // namespace qorv
