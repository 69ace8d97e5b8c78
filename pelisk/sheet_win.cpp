#include "pelisk/sheet_win.h"

#include <commctrl.h>

#include <initializer_list>

#include "common/ui_language_win.h"
#include "pelisk/app_win.h"
#include "pelisk/pages/pages_win.h"
#include "pelisk/resource.h"
#include "pelisk/ui_helpers_win.h"

namespace qorv {

namespace {

SheetDesc* DescOf(HWND frame) { return reinterpret_cast<SheetDesc*>(GetWindowLongPtrW(frame, GWLP_USERDATA)); }

HWND CreatePage(HWND frame, SheetPage& page) {
  // The page in the user's language; a page without a template stays uncreated.
  const DLGTEMPLATE* dialogTemplate = UiDialogTemplate(page.instance, page.dialogId);
  page.window = dialogTemplate == nullptr ? nullptr
                                          : CreateDialogIndirectParamW(page.instance, dialogTemplate, frame,
                                                                       page.procedure, page.parameter);
  return page.window;
}

// The tab control's display area in frame coordinates.
RECT DisplayArea(HWND frame, HWND tab) {
  RECT area = {};
  GetClientRect(tab, &area);
  SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  MapWindowPoints(tab, frame, reinterpret_cast<POINT*>(&area), 2);
  return area;
}

void SelectPage(HWND frame, SheetDesc* desc, int index) {
  HWND tab = GetDlgItem(frame, IDC_SHEET_TAB);
  if (desc == nullptr || tab == nullptr || index < 0 || index >= desc->pageCount || index == desc->currentPage) return;
  if (SendMessageW(tab, TCM_GETCURSEL, 0, 0) != index) SendMessageW(tab, TCM_SETCURSEL, index, 0);
  SheetPage& page = desc->pages[index];
  if (page.window == nullptr && CreatePage(frame, page) != nullptr) {
    const RECT area = DisplayArea(frame, tab);
    SetWindowPos(page.window, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  HWND old =
      (desc->currentPage >= 0 && desc->currentPage < desc->pageCount) ? desc->pages[desc->currentPage].window : nullptr;
  HWND focus = GetFocus();
  const bool focusInOld = old != nullptr && focus != nullptr && (focus == old || IsChild(old, focus));
  if (old != nullptr) ShowWindow(old, SW_HIDE);
  if (page.window != nullptr) {
    SetWindowPos(page.window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(page.window, SW_SHOW);
    if (focus == nullptr || focusInOld) {
      PostMessageW(page.window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetNextDlgTabItem(page.window, nullptr, FALSE)),
                   TRUE);
    }
  }
  desc->currentPage = index;
}

BOOL InitFrame(HWND frame, SheetDesc* desc) {
  SetWindowLongPtrW(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(desc));
  SetWindowLongPtrW(frame, GWL_EXSTYLE, GetWindowLongPtrW(frame, GWL_EXSTYLE) | WS_EX_APPWINDOW);
  if (desc->icon != nullptr) SetClassLongPtrW(frame, GCLP_HICON, reinterpret_cast<LONG_PTR>(desc->icon));

  HWND tab = GetDlgItem(frame, IDC_SHEET_TAB);
  HWND page = nullptr;
  if (tab != nullptr && desc->pageCount > 0) {
    if (desc->pageCount > kSheetPageCount) desc->pageCount = kSheetPageCount;
    desc->currentPage = ClampPage(desc->currentPage, desc->pageCount);
    for (int i = 0; i < desc->pageCount; ++i) {
      TCITEMW item = {};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<wchar_t*>(desc->pages[i].title != nullptr ? desc->pages[i].title : L"");
      SendMessageW(tab, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
      desc->pages[i].window = nullptr;
    }
    SendMessageW(tab, TCM_SETCURSEL, desc->currentPage, 0);
    page = CreatePage(frame, desc->pages[desc->currentPage]);
  }

  RECT area = tab != nullptr ? DisplayArea(frame, tab) : RECT{};
  int dx = 0;
  int dy = 0;
  RECT pageRect = {};
  if (page != nullptr) {
    GetWindowRect(page, &pageRect);
    dx = (pageRect.right - pageRect.left) - (area.right - area.left);
    dy = (pageRect.bottom - pageRect.top) - (area.bottom - area.top);
  }
  RECT frameRect = {};
  GetWindowRect(frame, &frameRect);
  const int width = frameRect.right - frameRect.left + dx;
  const int height = frameRect.bottom - frameRect.top + dy;
  const POINT at = CenterOnWorkArea(width, height);
  MoveWindow(frame, at.x, at.y, width, height, FALSE);

  bool focused = false;
  if (page != nullptr) {
    RECT tabRect = {};
    GetWindowRect(tab, &tabRect);
    SetWindowPos(tab, nullptr, 0, 0, tabRect.right - tabRect.left + dx, tabRect.bottom - tabRect.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int id : {IDCANCEL, IDOK}) {
      HWND button = GetDlgItem(frame, id);
      RECT r = {};
      if (button == nullptr || !GetWindowRect(button, &r)) continue;
      MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&r), 2);
      SetWindowPos(button, nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetWindowPos(page, HWND_TOP, area.left, area.top, pageRect.right - pageRect.left, pageRect.bottom - pageRect.top,
                 SWP_NOACTIVATE);
    ShowWindow(page, SW_SHOW);
    if (desc->focusControlId != 0) {
      HWND target = GetDlgItem(page, desc->focusControlId);
      if (target == nullptr) target = GetDlgItem(frame, desc->focusControlId);
      if (target != nullptr) {
        SetFocus(target);
        focused = true;
      }
    }
  }
  if (desc->owner != nullptr) EnableWindow(desc->owner, FALSE);
  return focused ? FALSE : TRUE;
}

void CloseFrame(HWND frame, SheetDesc* desc, int id) {
  for (int i = 0; i < desc->pageCount; ++i) {
    HWND page = desc->pages[i].window;
    if (page == nullptr) continue;
    const LRESULT answer = SendMessageW(page, WM_COMMAND, static_cast<WPARAM>(id), 0);
    if (answer > 1) {
      SelectPage(frame, desc, i);
      return;
    }
  }
  for (int i = 0; i < desc->pageCount; ++i) {
    if (desc->pages[i].window != nullptr) DestroyWindow(desc->pages[i].window);
  }
  if (desc->owner != nullptr) EnableWindow(desc->owner, TRUE);
  DestroyWindow(frame);
  PostQuitMessage(id);
}

INT_PTR CALLBACK FrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  SheetDesc* desc = message == WM_INITDIALOG ? reinterpret_cast<SheetDesc*>(lParam) : DescOf(frame);
  if (desc == nullptr) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      return InitFrame(frame, desc);
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        CloseFrame(frame, desc, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == IDC_SHEET_TAB && header->code == TCN_SELCHANGE) {
        SelectPage(frame, desc, static_cast<int>(SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
        return TRUE;
      }
      return FALSE;
    }
    case kSheetSelectPage:
      SelectPage(frame, desc, static_cast<int>(lParam));
      return SetDialogResult(frame, 0);
    case kSheetGetTab:
      return SetDialogResult(frame, reinterpret_cast<LONG_PTR>(GetDlgItem(frame, IDC_SHEET_TAB)));
    case kSheetGetCurrentPage: {
      HWND page = (desc->currentPage >= 0 && desc->currentPage < desc->pageCount)
                      ? desc->pages[desc->currentPage].window
                      : nullptr;
      return SetDialogResult(frame, reinterpret_cast<LONG_PTR>(page));
    }
    default:
      return FALSE;
  }
}

// Ctrl+Tab and Ctrl+Shift+Tab on a tab-stop control of the window switch pages.
bool SwitchTabByKey(HWND frame, const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || GetKeyState(VK_CONTROL) >= 0) return false;
  if (msg.hwnd == nullptr || !IsChild(frame, msg.hwnd)) return false;
  if ((GetWindowLongPtrW(msg.hwnd, GWL_STYLE) & WS_TABSTOP) == 0) return false;
  SheetDesc* desc = DescOf(frame);
  HWND tab = GetDlgItem(frame, IDC_SHEET_TAB);
  if (desc == nullptr || tab == nullptr) return true;
  const int next = CycleTab(desc->currentPage, desc->pageCount, GetKeyState(VK_SHIFT) < 0);
  if (next >= 0) SendMessageW(tab, TCM_SETCURFOCUS, next, 0);
  return true;
}

}  // namespace

HGLOBAL BuildSheetTemplate(const SheetDesc& desc) {
  const auto* face = reinterpret_cast<const char16_t*>(desc.fontFace);
  const auto* ok = reinterpret_cast<const char16_t*>(desc.okText);
  const auto* cancel = reinterpret_cast<const char16_t*>(desc.cancelText);
  const size_t size = BuildSheetTemplateBytes(face, desc.fontSize, ok, cancel, nullptr, 0);
  HGLOBAL block = GlobalAlloc(GMEM_ZEROINIT, size);
  if (block == nullptr) return nullptr;
  auto* bytes = static_cast<uint8_t*>(GlobalLock(block));
  if (bytes == nullptr) {
    GlobalFree(block);
    return nullptr;
  }
  BuildSheetTemplateBytes(face, desc.fontSize, ok, cancel, bytes, size);
  GlobalUnlock(block);
  return block;
}

int RunSheet(SheetDesc* desc) {
  if (desc == nullptr) return -1;
  HWND frame = nullptr;
  if (desc->frameTemplate != nullptr) {
    frame =
        CreateDialogParamW(desc->instance, desc->frameTemplate, desc->owner, FrameProc, reinterpret_cast<LPARAM>(desc));
  } else {
    HGLOBAL block = BuildSheetTemplate(*desc);
    if (block == nullptr) return -1;
    auto* dialog = static_cast<const DLGTEMPLATE*>(GlobalLock(block));
    frame = CreateDialogIndirectParamW(desc->instance, dialog, desc->owner, FrameProc, reinterpret_cast<LPARAM>(desc));
    GlobalUnlock(block);
    GlobalFree(block);
  }
  if (frame == nullptr) return -1;
  if (desc->title != nullptr) SetWindowTextW(frame, desc->title);
  ShowWindow(frame, SW_SHOW);

  MSG msg;
  int result;
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      result = got == 0 ? static_cast<int>(msg.wParam) : 2;
      break;
    }
    if (IsWindow(frame) && SwitchTabByKey(frame, msg)) continue;
    if (IsWindow(frame) && IsDialogMessageW(frame, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (IsWindow(frame)) {
    // A quit message from elsewhere ended the loop while the window was open: close it without
    // asking the pages, so nothing of theirs is taken over, and leave a quit for any outer loop.
    for (int i = 0; i < desc->pageCount; ++i) {
      if (desc->pages[i].window != nullptr) DestroyWindow(desc->pages[i].window);
    }
    if (desc->owner != nullptr) EnableWindow(desc->owner, TRUE);
    DestroyWindow(frame);
    PostQuitMessage(0);
  }
  return result;
}

void PrepareSheetDesc(SheetDesc& desc, HINSTANCE instance, int startPage, wchar_t* titleBuffer, int titleCapacity,
                      wchar_t* windowTitle, int windowTitleCapacity) {
  static const struct {
    UINT dialog;
    DLGPROC procedure;
  } kPages[kSheetPageCount] = {
      {IDD_WHEEL, WheelPageProc},         {IDD_WINDOW, WindowPageProc},   {IDD_OTHER, OtherPageProc},
      {IDD_PERWINDOW, PerWindowPageProc}, {IDD_HOTKEYS, HotkeysPageProc}, {IDD_MOUSE, MousePageProc},
  };
  desc = SheetDesc{};
  desc.instance = instance;

  // Strings 18 and 19 may name a face and size, and the button texts; with the shipped strings
  // (each beginning with a line feed) the template's own apply.
  static wchar_t face[LF_FACESIZE];
  static wchar_t okText[32];
  static wchar_t cancelText[32];
  wchar_t fields[96];
  const char16_t* first;
  const char16_t* second;
  size_t firstLength;
  size_t secondLength;
  auto copy = [](wchar_t* out, size_t capacity, const char16_t* from, size_t length) {
    if (length >= capacity) length = capacity - 1;
    for (size_t i = 0; i < length; ++i) out[i] = static_cast<wchar_t>(from[i]);
    out[length] = 0;
  };
  LoadText(IDS_SHEET_FONT, fields, 96);
  if (SplitTwoFields(reinterpret_cast<const char16_t*>(fields), &first, &firstLength, &second, &secondLength)) {
    copy(face, LF_FACESIZE, first, firstLength);
    desc.fontFace = face;
    desc.fontSize = static_cast<uint16_t>(ParseWideInt(second));
  }
  LoadText(IDS_SHEET_BUTTONS, fields, 96);
  if (SplitTwoFields(reinterpret_cast<const char16_t*>(fields), &first, &firstLength, &second, &secondLength)) {
    copy(okText, 32, first, firstLength);
    copy(cancelText, 32, second, secondLength);
    desc.okText = okText;
    desc.cancelText = cancelText;
  }

  if (SettingsWindowTitle(windowTitle, windowTitleCapacity < 32 ? windowTitleCapacity : 32) > 0) {
    desc.title = windowTitle;
  }
  // Loaded once: the icon becomes the class icon of every dialog of the process.
  static HICON icon =
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_MAIN), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
  desc.icon = icon;
  desc.pageCount = SheetPageCountFor(g_platformId, startPage, g_settings.MouseBtn);
  desc.currentPage = startPage;
  desc.focusControlId = startPage == kHotkeysPageIndex ? IDOK : 0;

  // Tab titles: string 10 split at its line feeds (empty titles when it is missing).
  LoadText(IDS_PAGE_TITLES, titleBuffer, titleCapacity);
  wchar_t* cursor = titleBuffer;
  for (int i = 0; i < kSheetPageCount; ++i) {
    desc.pages[i].title = cursor;
    while (*cursor != 0 && *cursor != L'\n') ++cursor;
    if (*cursor == L'\n') *cursor++ = 0;
    desc.pages[i].instance = instance;
    desc.pages[i].dialogId = kPages[i].dialog;
    desc.pages[i].procedure = kPages[i].procedure;
  }
}

}  // namespace qorv
