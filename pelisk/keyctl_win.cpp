#include "pelisk/keyctl_win.h"

#include <imm.h>

#include "pelisk/resource.h"
#include "pelisk/ui_helpers_win.h"

namespace qorv {

namespace {

// Everything a control keeps; the window's extra slot holds a pointer to it (pointer-sized).
struct KeyControlState {
  KeyControlCore core;
  HFONT font;
  int caretX;
  int caretY;
  int textHeight;
};

KeyControlState* StateOf(HWND window) { return reinterpret_cast<KeyControlState*>(GetWindowLongPtrW(window, 0)); }

size_t SystemKeyName(uint32_t lParamBits, char16_t* out, size_t capacity, void*) {
  const int n =
      GetKeyNameTextW(static_cast<LONG>(lParamBits), reinterpret_cast<wchar_t*>(out), static_cast<int>(capacity));
  return n > 0 ? static_cast<size_t>(n) : 0;
}

uint32_t SystemScanToVk(uint32_t scan, void*) { return MapVirtualKeyW(scan, MAPVK_VSC_TO_VK); }

int TextHeightOf(HWND window, HFONT font) {
  HDC dc = GetDC(window);
  HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  if (old != nullptr) SelectObject(dc, old);
  ReleaseDC(window, dc);
  return metrics.tmHeight;
}

void Paint(HWND window, KeyControlState* state) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  HGDIOBJ old = state->font != nullptr ? SelectObject(dc, state->font) : nullptr;
  if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_DISABLED) != 0) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  SetBkMode(dc, TRANSPARENT);
  wchar_t text[kHotkeyTextCapacity];
  const int length = HotkeyDisplayText(state->core.value, reinterpret_cast<const wchar_t*>(state->core.emptyText), text,
                                       kHotkeyTextCapacity);
  TextOutW(dc, 1, 1, text, length);
  SIZE extent = {};
  GetTextExtentPoint32W(dc, text, length, &extent);
  state->caretX = extent.cx + 1;
  state->caretY = 1;
  if (GetFocus() == window) SetCaretPos(state->caretX, state->caretY);
  if (old != nullptr) SelectObject(dc, old);
  EndPaint(window, &ps);
}

// The dialog whose tab order the control's Tab follows: its parent, or, for a control on a page
// (a child dialog with WS_EX_CONTROLPARENT), the outermost dialog that holds the page. That is the
// dialog the dialog manager moves the focus in for Tab on any other control, so Tab leaves the page
// for the next tab stop of the whole window.
HWND TabOrderDialog(HWND window) {
  HWND dialog = GetParent(window);
  while (dialog != nullptr && (GetWindowLongPtrW(dialog, GWL_STYLE) & WS_CHILD) != 0 &&
         (GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0) {
    HWND outer = GetParent(dialog);
    if (outer == nullptr) break;
    dialog = outer;
  }
  return dialog;
}

void Act(HWND window, unsigned actions) {
  if ((actions & kKeyRepaint) != 0) InvalidateRect(window, nullptr, TRUE);
  if ((actions & (kKeyNextControl | kKeyPrevControl)) != 0) {
    SendMessageW(TabOrderDialog(window), WM_NEXTDLGCTL, (actions & kKeyPrevControl) != 0 ? 1 : 0, 0);
  }
  if ((actions & kKeyNotify) != 0) {
    const WPARAM id = static_cast<WORD>(GetDlgCtrlID(window));
    SendMessageW(GetParent(window), WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), reinterpret_cast<LPARAM>(window));
  }
}

unsigned HeldModifiers() {
  unsigned held = 0;
  if (GetKeyState(VK_LWIN) < 0 || GetKeyState(VK_RWIN) < 0) held |= kModWin;
  if (GetKeyState(VK_SHIFT) < 0) held |= kModShift;
  if (GetKeyState(VK_CONTROL) < 0) held |= kModCtrl;
  return held;
}

void ShowModifierMenu(HWND window, KeyControlState* state, LPARAM lParam) {
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return;
  static const struct {
    unsigned id;
    const wchar_t* text;
  } kItems[] = {{kModShift, L"&Shift +"}, {kModCtrl, L"&Ctrl +"}, {kModAlt, L"&Alt +"}, {kModWin, L"&Win +"}};
  for (const auto& item : kItems) {
    const bool on = (state->core.value & (item.id << 8)) != 0;
    AppendMenuW(menu, MF_STRING | (on ? MF_CHECKED : MF_UNCHECKED), item.id, item.text);
  }
  POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ClientToScreen(window, &at);
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD, at.x, at.y, 0, window, nullptr));
  DestroyMenu(menu);
  Act(window, KeyCoreMenuChoice(state->core, chosen));
}

LRESULT CALLBACK KeyWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    ImmAssociateContext(window, nullptr);
    auto* created =
        static_cast<KeyControlState*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(KeyControlState)));
    if (created != nullptr) {
      KeyCoreInit(created->core);
      created->textHeight = TextHeightOf(window, nullptr);
      SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(created));
    }
    return 0;
  }
  KeyControlState* state = StateOf(window);
  if (state == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_DESTROY:
      SetWindowLongPtrW(window, 0, 0);
      HeapFree(GetProcessHeap(), 0, state);
      return 0;
    case KWM_GETVALUE:
      return state->core.value;
    case KWM_SETVALUE:
      if (KeyCoreSetValue(state->core, static_cast<uint32_t>(wParam)) == 0) return 0;
      InvalidateRect(window, nullptr, TRUE);
      return 1;
    case KWM_SETFLAGS:
      if (wParam > 0xFFFFFFFFu) return 0;
      return KeyCoreSetFlags(state->core, static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam));
    case KWM_SETEMPTYTEXT:
      if (wParam != 0) return 0;
      KeyCoreSetEmptyText(state->core, reinterpret_cast<const char16_t*>(lParam));
      InvalidateRect(window, nullptr, TRUE);
      return 1;
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
    case WM_SETFONT:
      state->font = reinterpret_cast<HFONT>(wParam);
      state->textHeight = TextHeightOf(window, state->font);
      if (LOWORD(lParam) != 0) InvalidateRect(window, nullptr, TRUE);
      return 1;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(state->font);
    case WM_SETFOCUS:
      CreateCaret(window, nullptr, 0, state->textHeight);
      SetCaretPos(state->caretX, state->caretY);
      ShowCaret(window);
      return 0;
    case WM_KILLFOCUS:
      HideCaret(window);
      DestroyCaret();
      Act(window, KeyCoreFocusLost(state->core));
      return 0;
    case WM_PAINT:
      Paint(window, state);
      return 0;
    case WM_ERASEBKGND:
      if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_DISABLED) != 0) {
        RECT client;
        GetClientRect(window, &client);
        HideCaret(window);
        FillRect(reinterpret_cast<HDC>(wParam), &client, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        ShowCaret(window);
        return 1;
      }
      break;
    case WM_ENABLE:
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      if (wParam > 0xFF) break;
      const bool tabStop = (GetWindowLongPtrW(window, GWL_STYLE) & WS_TABSTOP) != 0;
      Act(window, KeyCoreKeyDown(state->core, static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam),
                                 HeldModifiers(), tabStop));
      return 0;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (wParam > 0xFF) break;
      Act(window, KeyCoreKeyUp(state->core, static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam)));
      return 0;
    case WM_LBUTTONDOWN: {
      const unsigned actions = KeyCoreLeftDown(state->core, (wParam & MK_RBUTTON) != 0);
      if (actions != 0) {
        Act(window, actions);
        return 0;
      }
      SetFocus(window);
      break;
    }
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      SetFocus(window);
      break;
    case WM_RBUTTONUP:
      if ((state->core.options & kKwsModifierMenu) == 0) break;
      if (GetFocus() == window && (KeyCoreRightUp(state->core) & kKeyShowMenu) != 0) {
        ShowModifierMenu(window, state, lParam);
      }
      return 0;
    case WM_MOUSEWHEEL: {
      if ((state->core.options & kKwsWheelScan) == 0) break;
      const unsigned actions = KeyCoreWheel(state->core, GET_WHEEL_DELTA_WPARAM(wParam), GET_KEYSTATE_WPARAM(wParam),
                                            GetFocus() == window, SystemScanToVk, nullptr);
      // A turn the scan does not use (no focus, other keys than the right button alone, a value
      // without a scan code) goes on to the parent, which may take it (the mouse-button editor's
      // Shift + wheel).
      if (actions == 0) break;
      Act(window, actions);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

ATOM RegisterKeyWndClass(HINSTANCE instance) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = KeyWndProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kKeyWndClass;
  return RegisterClassExW(&wc);
}

void ConfigureKeyControl(HWND control, bool limited) {
  if (limited) {
    wchar_t none[64];
    if (LoadText(IDS_NONE, none, 64) > 0) SendMessageW(control, KWM_SETEMPTYTEXT, 0, reinterpret_cast<LPARAM>(none));
    SendMessageW(control, KWM_SETFLAGS, 0, kKeyLimitFlags);
  } else {
    SendMessageW(control, KWM_SETFLAGS, kKeyOptionsIndex, KWS_MODIFIERMENU | KWS_WHEELSCAN);
  }
}

int HotkeyDisplayText(uint32_t value, const wchar_t* emptyText, wchar_t* out, int capacity) {
  if (capacity <= 0) return 0;
  return static_cast<int>(HotkeyText(value, reinterpret_cast<const char16_t*>(emptyText), SystemKeyName, nullptr,
                                     reinterpret_cast<char16_t*>(out), static_cast<size_t>(capacity)));
}

}  // namespace qorv
