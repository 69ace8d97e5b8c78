// Small Win32 glue the settings pages share: plain char16_t texts into controls, and the client
// point of a mouse message.
#pragma once
#include <windows.h>

namespace qorv {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wide characters");

// Sets a control's text from a terminated UTF-16 text of at most 63 characters.
inline BOOL SetDlgItemText16(HWND dialog, int id, const char16_t* text) {
  wchar_t buffer[64];
  int i = 0;
  for (; i < 63 && text[i] != u'\0'; ++i) buffer[i] = static_cast<wchar_t>(text[i]);
  buffer[i] = L'\0';
  return SetDlgItemTextW(dialog, id, buffer);
}

// The signed client point of a mouse message.
inline POINT MousePoint(LPARAM lp) { return POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}; }

}  // namespace qorv
