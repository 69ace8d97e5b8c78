// Window helpers shared by both programs.
#pragma once
#include <windows.h>

namespace qorv {

// 0 when the two strings agree character by character after CharLowerW, up to the end of the shorter
// one; otherwise the difference of the first differing lowered characters.
int CaseInsensitiveCompareW(const wchar_t* a, const wchar_t* b);
// Climbs GetParent while the window has WS_CHILD.
HWND TopLevelOf(HWND hwnd);

}  // namespace qorv
