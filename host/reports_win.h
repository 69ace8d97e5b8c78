// What the main program shows of the hooks' notifications: the size and scroll-position tooltip
// and the diagnostics window.
#pragma once
#include <windows.h>

#include <cstdint>

namespace qorv {

// A small tooltip near the cursor showing sizes and scroll positions while they arrive.
void SizeTipReport(HWND owner, WPARAM wp, LPARAM lp);
void SizeTipHide();
// Hides the tooltip when no report came for a while (timer).
void SizeTipIdle();
bool SizeTipShown();  // shown and not yet hidden: the fast timer has work

// Sources listed by the diagnostics window.
enum class DiagSource { GetMsg, Mouse, LLMouse };
// Opens or closes the window; it lists what arrives while open.
void DiagnosticsShow(HINSTANCE instance, bool show);
void DiagnosticsAdd(DiagSource source, WPARAM wp, LPARAM lp);
// A line of the program's own, listed while the window is open.
void DiagnosticsNote(const wchar_t* line);

}  // namespace qorv
