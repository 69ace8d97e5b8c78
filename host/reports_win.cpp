#include "host/reports_win.h"

#include <commctrl.h>

#include <cwchar>

#include "host/diag_layout.h"
#include "host/events.h"
#include "host/resource.h"
#include "host/texts_win.h"

namespace qorv {

namespace {

constexpr DWORD kSizeTipIdleMs = 1500;
constexpr int kDiagMaxLines = 500;
constexpr wchar_t kDiagClass[] = L"QorvDiagnostics";

HWND g_tip;
TOOLINFOW g_tool;
DWORD g_lastReport;
HWND g_diag;
HWND g_diagList;
HFONT g_diagFont;  // the list's font at the window's DPI

void TipEnsure(HWND owner) {
  if (g_tip != nullptr) return;
  g_tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0,
                          owner, nullptr, nullptr, nullptr);
  if (g_tip == nullptr) return;
  g_tool = {};
  g_tool.cbSize = sizeof(g_tool);
  g_tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  g_tool.hwnd = owner;
  g_tool.uId = 1;
  g_tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(g_tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&g_tool));
}

// The window's DPI (GetDpiForWindow, bound at run time: Windows 10 1607 and later), else the
// system's.
int WindowDpi(HWND hwnd) {
  using GetDpiFn = UINT(WINAPI*)(HWND);
  static const auto getDpi = reinterpret_cast<GetDpiFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  const UINT dpi = getDpi != nullptr && hwnd != nullptr ? getDpi(hwnd) : 0;
  if (dpi != 0) return static_cast<int>(dpi);
  HDC screen = GetDC(nullptr);
  const int system = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return system > 0 ? system : 96;
}

// The message font of the system at dpi: SystemParametersInfoForDpi where it exists (Windows 10
// 1607 and later), else the font at the system's DPI scaled.
void DiagSetFont(HWND list, int dpi) {
  using InfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  static const auto infoForDpi = reinterpret_cast<InfoForDpiFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof(metrics);
  HFONT font = nullptr;
  if (infoForDpi != nullptr &&
      infoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi))) {
    font = CreateFontIndirectW(&metrics.lfMessageFont);
  } else if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    metrics.lfMessageFont.lfHeight = FontHeightAt(metrics.lfMessageFont.lfHeight, WindowDpi(nullptr), dpi);
    font = CreateFontIndirectW(&metrics.lfMessageFont);
  }
  SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT)),
               TRUE);
  if (g_diagFont != nullptr) DeleteObject(g_diagFont);
  g_diagFont = font;
}

LRESULT CALLBACK DiagProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      if (g_diagList != nullptr) MoveWindow(g_diagList, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return 0;
    case WM_DPICHANGED: {
      // Moved to a monitor of another scale: the rectangle Windows suggests, and the font anew.
      const RECT* suggested = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      if (g_diagList != nullptr) DiagSetFont(g_diagList, HIWORD(wp));
      return 0;
    }
    case WM_CLOSE:
      ShowWindow(hwnd, SW_HIDE);  // closed by the user: hidden until the settings change
      return 0;
    case WM_DESTROY:
      g_diag = nullptr;
      g_diagList = nullptr;
      if (g_diagFont != nullptr) DeleteObject(g_diagFont);
      g_diagFont = nullptr;
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

const wchar_t* SourceName(DiagSource source) {
  switch (source) {
    case DiagSource::GetMsg:
      return L"GetMsg";
    case DiagSource::Mouse:
      return L"Mouse ";
    case DiagSource::LLMouse:
      return L"LLMs  ";
  }
  return L"";
}

}  // namespace

void SizeTipReport(HWND owner, WPARAM wp, LPARAM lp) {
  const CallWndReport report = DecodeCallWndReport(wp, lp);
  wchar_t text[64];
  switch (report.kind) {
    case CallWndReportKind::Size:
      swprintf(text, 64, L"%d × %d", report.width, report.height);
      break;
    case CallWndReportKind::ThumbPosition:
      swprintf(text, 64, HostText(IDS_THUMB_POSITION).c_str(), report.position);
      break;
    case CallWndReportKind::LoopEnd:
    case CallWndReportKind::ThumbCancelled:
      SizeTipHide();
      return;
    case CallWndReportKind::Other:
      return;
  }
  TipEnsure(owner);
  if (g_tip == nullptr) return;
  g_tool.lpszText = text;
  SendMessageW(g_tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&g_tool));
  POINT pt;
  GetCursorPos(&pt);
  const int dpi = WindowDpi(g_tip);
  SendMessageW(g_tip, TTM_TRACKPOSITION, 0, MAKELPARAM(pt.x + MulDiv(16, dpi, 96), pt.y + MulDiv(20, dpi, 96)));
  SendMessageW(g_tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&g_tool));
  g_lastReport = GetTickCount();
}

void SizeTipHide() {
  if (g_tip != nullptr) SendMessageW(g_tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&g_tool));
  g_lastReport = 0;
}

bool SizeTipShown() { return g_lastReport != 0; }

void SizeTipIdle() {
  if (g_lastReport != 0 && GetTickCount() - g_lastReport >= kSizeTipIdleMs) SizeTipHide();
}

void DiagnosticsShow(HINSTANCE instance, bool show) {
  if (!show) {
    if (g_diag != nullptr) DestroyWindow(g_diag);
    return;
  }
  if (g_diag != nullptr) {
    ShowWindow(g_diag, SW_SHOWNOACTIVATE);
    return;
  }
  static ATOM atom;
  if (atom == 0) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DiagProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.lpszClassName = kDiagClass;
    atom = RegisterClassExW(&wc);
  }
  g_diag = CreateWindowExW(WS_EX_TOOLWINDOW, kDiagClass, HostText(IDS_DIAG_TITLE).c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, 480, 300, nullptr, nullptr, instance, nullptr);
  if (g_diag == nullptr) return;
  // Created at the designed size, then sized for the DPI of the monitor it opened on.
  const int dpi = WindowDpi(g_diag);
  const DiagSize size = DiagWindowSize(dpi);
  SetWindowPos(g_diag, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client;
  GetClientRect(g_diag, &client);
  g_diagList = CreateWindowExW(0, L"LISTBOX", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0,
                               client.right, client.bottom, g_diag, nullptr, instance, nullptr);
  if (g_diagList != nullptr) DiagSetFont(g_diagList, dpi);
  ShowWindow(g_diag, SW_SHOWNOACTIVATE);
}

void DiagnosticsAdd(DiagSource source, WPARAM wp, LPARAM lp) {
  if (g_diagList == nullptr) return;
  wchar_t line[128];
  int x = 0;
  int y = 0;
  UnpackPoint(lp, x, y);
  swprintf(line, 128, L"%08lu %ls msg 0x%04X  wParam 0x%08X  (%d, %d)", GetTickCount(), SourceName(source),
           static_cast<unsigned>(wp & 0xFFFF), static_cast<unsigned>(wp), x, y);
  DiagnosticsNote(line);
}

void DiagnosticsNote(const wchar_t* line) {
  if (g_diagList == nullptr) return;
  if (SendMessageW(g_diagList, LB_GETCOUNT, 0, 0) >= kDiagMaxLines) SendMessageW(g_diagList, LB_DELETESTRING, 0, 0);
  const LRESULT index = SendMessageW(g_diagList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
  if (index >= 0) SendMessageW(g_diagList, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

}  // namespace qorv
