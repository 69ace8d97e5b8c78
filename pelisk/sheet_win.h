// The tabbed settings window: a modeless frame dialog with a tab control, OK and Cancel, and one
// child dialog per page that is created the first time its tab is shown.
#pragma once
#include <windows.h>

#include <cstdint>

#include "pelisk/sheet.h"

namespace qorv {

struct SheetPage {
  HWND window;  // null until the page is first created
  const wchar_t* title;
  HINSTANCE instance;
  UINT dialogId;
  DLGPROC procedure;
  LPARAM parameter;
};

struct SheetDesc {
  HINSTANCE instance;
  const wchar_t* frameTemplate;  // resource name, or null for BuildSheetTemplate
  const wchar_t* fontFace;       // null: the template's own
  uint16_t fontSize;
  const wchar_t* okText;      // null: "OK"
  const wchar_t* cancelText;  // null: "キャンセル"
  const wchar_t* title;
  HWND owner;
  HICON icon;
  int pageCount;
  int currentPage;     // start page on entry, then the page shown
  int focusControlId;  // non-zero: control to focus at the start (page first, then frame)
  SheetPage pages[kSheetPageCount];
};

// In-memory frame template in a GlobalAlloc block that the caller frees; null on failure.
HGLOBAL BuildSheetTemplate(const SheetDesc& desc);

// Runs the window until a quit message ends its loop and returns the quit's code: 1 OK, 2 Cancel
// (the window's own), or the code of a quit posted from elsewhere; -1 when there is no descriptor
// or no frame.
int RunSheet(SheetDesc* desc);

// Fills the descriptor of the program's six pages (titles from string 10 into titleBuffer, which
// must outlive the run) for a start page and the focus-on-OK option.
void PrepareSheetDesc(SheetDesc& desc, HINSTANCE instance, int startPage, wchar_t* titleBuffer, int titleCapacity,
                      wchar_t* windowTitle, int windowTitleCapacity);

}  // namespace qorv
