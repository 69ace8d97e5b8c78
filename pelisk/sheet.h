// Decisions of the tabbed settings window that need no window: how many pages it offers, which tab
// Ctrl+Tab selects, the optional font and button texts, and the in-memory frame template.
#pragma once
#include <cstddef>
#include <cstdint>

#include "common/mouse_btn.h"

namespace qorv {

constexpr int kSheetPageCount = 6;
constexpr int kMousePageIndex = 5;
constexpr int kHotkeysPageIndex = 4;

// Frame messages; results come back through the dialog's message result.
constexpr unsigned kSheetSelectPage = 0x0472;      // lParam = page index
constexpr unsigned kSheetGetTab = 0x0474;          // result: the tab control
constexpr unsigned kSheetGetCurrentPage = 0x0476;  // result: the current page window

// 6 on the NT platform when the mouse-button page is asked for or in use, else 5.
int SheetPageCountFor(uint32_t platformId, int startPage, const MouseBtnBlock& block);
// Page index clamped to 0 .. count - 1 (count must be positive).
int ClampPage(int page, int count);
// Tab that Ctrl+Tab (backward: Ctrl+Shift+Tab) selects; -1 with fewer than two tabs.
int CycleTab(int current, int count, bool backward);

// The two fields of strings 18 and 19: "first\nsecond". A text that is missing or begins with a
// line feed gives nothing (returns false).
bool SplitTwoFields(const char16_t* text, const char16_t** first, size_t* firstLength, const char16_t** second,
                    size_t* secondLength);

// Bytes of the frame's dialog template (a DLGTEMPLATE with a font and three items: OK, Cancel and
// the tab control), little-endian as the system reads it. Null texts take the defaults ("ＭＳ
// Ｐゴシック" 9, "OK", "キャンセル"); a size of 0 or no face gives 9. Returns the number of bytes
// (also when out is null or too small, in which case nothing is written).
size_t BuildSheetTemplateBytes(const char16_t* face, uint16_t pointSize, const char16_t* okText,
                               const char16_t* cancelText, uint8_t* out, size_t capacity);

}  // namespace qorv
