// Shared by the mouse-button page and its editor (dialog 123).
#pragma once
#include <windows.h>

#include "common/mouse_btn.h"

namespace qorv {

// Runs the editor on a pair; 1 when OK changed it, 2 when it was cancelled and the pair is untouched.
INT_PTR RunButtonEditor(HWND owner, ButtonPair& pair);

}  // namespace qorv
