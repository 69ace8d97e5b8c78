// Windows of every kind the wheel path treats differently, recording what reaches them.
#include <windows.h>
#include <commctrl.h>

#include <initializer_list>

#include "tests/wine/wheel_protocol.h"

namespace {

using namespace wheelapp;

Log* g_log;
HWND g_windows[kKindCount];
bool g_peekFirst;
WNDPROC g_controlProcs[kKindCount];

void Record(uint32_t kind, UINT msg, WPARAM wp, LPARAM lp, DWORD pt = 0) {
  const LONG index = InterlockedIncrement(&g_log->count) - 1;
  if (index < 0 || static_cast<uint32_t>(index) >= kMaxEntries) return;
  g_log->entries[index] = {kind, msg, static_cast<uint64_t>(wp), static_cast<int64_t>(lp), GetTickCount(), pt};
}

bool Interesting(UINT msg) {
  switch (msg) {
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_MOUSEWHEEL:
    case WM_NCLBUTTONDOWN:
    case WM_SYSCOMMAND:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case 0x0504:
    case kCmdMark:
      return true;
    default:
      return false;
  }
}

uint32_t KindOf(HWND hwnd) { return static_cast<uint32_t>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

void Scroll(HWND hwnd, int bar, WPARAM code) {
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(hwnd, bar, &info);
  int pos = info.nPos;
  switch (LOWORD(code)) {
    case SB_LINEUP: pos -= 1; break;
    case SB_LINEDOWN: pos += 1; break;
    case SB_PAGEUP: pos -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: pos += static_cast<int>(info.nPage); break;
    case SB_TOP: pos = info.nMin; break;
    case SB_BOTTOM: pos = info.nMax; break;
    default: return;
  }
  SetScrollPos(hwnd, bar, pos, TRUE);
}

// Sees every message the main thread takes from its queue, in whatever loop.
LRESULT CALLBACK ArrivalHook(int code, WPARAM wp, LPARAM lp) {
  const MSG* msg = reinterpret_cast<const MSG*>(lp);
  if (code == HC_ACTION && wp == PM_REMOVE &&
      (msg->message == WM_MOUSEWHEEL || (msg->message == WM_NULL && msg->wParam != 0))) {
    Record(kArrived, msg->message, msg->wParam, reinterpret_cast<LPARAM>(msg->hwnd),
           static_cast<DWORD>(MAKELONG(msg->pt.x, msg->pt.y)));
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

HWND Make(uint32_t kind, DWORD exStyle, const wchar_t* cls, const wchar_t* title, DWORD style, int x, int y, int w,
          int h, HWND parent, int id);

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const uint32_t kind = KindOf(hwnd);
  if (Interesting(msg)) Record(kind, msg, wp, lp);
  switch (msg) {
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (lp != 0) {
        Scroll(reinterpret_cast<HWND>(lp), SB_CTL, wp);
      } else {
        Scroll(hwnd, msg == WM_VSCROLL ? SB_VERT : SB_HORZ, wp);
      }
      return 0;
    case WM_NCLBUTTONDOWN:
      return 0;  // recorded only: no move or size loop
    case WM_CONTEXTMENU:
      return 0;  // no system menu after a right click on the caption: it would hold the thread in its loop
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_MAXIMIZE || (wp & 0xFFF0) == SC_SIZE) return 0;
      break;
    case kCmdSetPos:
      SetScrollPos(hwnd, static_cast<int>(wp), static_cast<int>(lp), TRUE);
      return 1;
    case kCmdGetPos:
      return GetScrollPos(hwnd, static_cast<int>(wp));
    case kCmdPeekFirst:
      g_peekFirst = wp != 0;
      return 1;
    case kCmdHang:
      SetPropW(hwnd, kHangingProp, reinterpret_cast<HANDLE>(1));
      Sleep(static_cast<DWORD>(lp));
      RemovePropW(hwnd, kHangingProp);
      return 1;
    case kCmdDropDown: {
      SendMessageW(g_windows[kCombo], CB_SHOWDROPDOWN, TRUE, 0);
      COMBOBOXINFO combo = {};
      combo.cbSize = sizeof(combo);
      return GetComboBoxInfo(g_windows[kCombo], &combo) ? reinterpret_cast<LRESULT>(combo.hwndList) : 0;
    }
    case kCmdGetSel: {
      DWORD start = 0;
      DWORD end = 0;
      if (wp >= kKindCount) return -1;
      SendMessageW(g_windows[wp], EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
      return MAKELONG(start, end);
    }
    case kCmdFocus:
      if (wp < kKindCount) SetFocus(g_windows[wp]);
      return 1;
    case kCmdPing:
      return 1;
    case kCmdNewRenameBox:
      DestroyWindow(g_windows[kRename]);
      return reinterpret_cast<LRESULT>(Make(kRename, 0, L"Edit", L"report.txt", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                                            5, 30, 150, 22, g_windows[kList], 23));
    case kCmdQuit:
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// Standard controls keep their own procedures; this one records first.
LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const uint32_t kind = KindOf(hwnd);
  if (Interesting(msg)) Record(kind, msg, wp, lp);
  if (msg == kCmdPing) return 1;
  return CallWindowProcW(g_controlProcs[kind], hwnd, msg, wp, lp);
}

HWND Make(uint32_t kind, DWORD exStyle, const wchar_t* cls, const wchar_t* title, DWORD style, int x, int y, int w,
          int h, HWND parent, int id) {
  HWND hwnd = CreateWindowExW(exStyle, cls, title, style, x, y, w, h, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (hwnd == nullptr) return nullptr;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, kind);
  if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(WindowProc)) {
    g_controlProcs[kind] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc)));
  }
  g_windows[kind] = hwnd;
  g_log->windows[kind] = reinterpret_cast<uint64_t>(hwnd);
  return hwnd;
}

void Register(const wchar_t* name) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

DWORD WINAPI HungPaneThread(LPVOID) {
  RECT client;
  GetClientRect(g_windows[kScroll], &client);
  Make(kHungPane, WS_EX_NOPARENTNOTIFY, L"QorvWheelPane", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, client.right / 2, client.bottom / 2,
       client.right / 2, client.bottom / 2, g_windows[kScroll], 3);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  wchar_t name[64];
  LogName(name, 64, GetCurrentProcessId());
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Log), name);
  if (mapping == nullptr) return 2;
  g_log = static_cast<Log*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(Log)));
  if (g_log == nullptr) return 2;
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  for (const wchar_t* cls : {L"QorvWheelScroll", L"QorvWheelPane", L"QorvWheelBars", L"QorvWheelEditHost",
                             L"CabinetWClass", L"SHELLDLL_DefView", L"Shell_TrayWnd"}) {
    Register(cls);
  }

  const DWORD top = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
  const DWORD child = WS_CHILD | WS_VISIBLE;
  HWND scroll = Make(kScroll, 0, L"QorvWheelScroll", L"wheel scroll", top | WS_VSCROLL | WS_HSCROLL, 40, 40, 360, 260,
                     nullptr, 0);
  SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 50, 0};
  SetScrollInfo(scroll, SB_VERT, &info, TRUE);
  SetScrollInfo(scroll, SB_HORZ, &info, TRUE);
  Make(kPane, 0, L"QorvWheelPane", L"", child | WS_BORDER, 0, 0, 120, 100, scroll, 1);

  HWND bars = Make(kBars, 0, L"QorvWheelBars", L"wheel bars", top, 420, 40, 360, 300, nullptr, 0);
  Make(kBarsPane, 0, L"QorvWheelPane", L"", child | WS_BORDER, 0, 0, 200, 200, bars, 2);
  SCROLLINFO barInfo = {sizeof(barInfo), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 50, 0};
  SetScrollInfo(Make(kBarUpper, 0, L"ScrollBar", L"", child | SBS_VERT, 200, 0, 17, 100, bars, 11), SB_CTL, &barInfo, TRUE);
  SetScrollInfo(Make(kBarLower, 0, L"ScrollBar", L"", child | SBS_VERT, 200, 100, 17, 100, bars, 12), SB_CTL, &barInfo, TRUE);
  SetScrollInfo(Make(kBarHorz, 0, L"ScrollBar", L"", child | SBS_HORZ, 0, 200, 200, 17, bars, 13), SB_CTL, &barInfo, TRUE);

  HWND editHost = Make(kEditHost, 0, L"QorvWheelEditHost", L"wheel edit", top, 40, 330, 360, 260, nullptr, 0);
  Make(kEdit, WS_EX_CLIENTEDGE, L"Edit", L"report.txt", child | ES_AUTOHSCROLL, 10, 10, 200, 24, editHost, 21);
  HWND list = Make(kList, 0, WC_LISTVIEWW, L"", child | LVS_REPORT, 10, 44, 200, 100, editHost, 22);
  Make(kRename, 0, L"Edit", L"report.txt", child | ES_AUTOHSCROLL, 5, 30, 150, 22, list, 23);
  HWND combo = Make(kCombo, 0, L"ComboBox", L"", child | CBS_DROPDOWNLIST | WS_VSCROLL, 10, 150, 200, 200, editHost, 24);
  for (const wchar_t* item : {L"one", L"two", L"three"}) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));

  HWND cabinet = Make(kCabinet, 0, L"CabinetWClass", L"wheel folder", top, 420, 360, 360, 240, nullptr, 0);
  HWND defView = Make(kDefView, 0, L"SHELLDLL_DefView", L"", child, 0, 0, 340, 190, cabinet, 0);
  HWND folderList = Make(kFolderList, 0, WC_LISTVIEWW, L"", child | LVS_REPORT, 0, 0, 340, 190, defView, 31);
  LVCOLUMNW column = {};
  column.mask = LVCF_WIDTH | LVCF_TEXT;
  column.cx = 200;
  column.pszText = const_cast<wchar_t*>(L"name");
  SendMessageW(folderList, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.pszText = const_cast<wchar_t*>(L"report.txt");
  SendMessageW(folderList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  Make(kTray, 0, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 10, 10, nullptr, 0);

  HANDLE thread = CreateThread(nullptr, 0, HungPaneThread, nullptr, 0, nullptr);
  // The second thread's window talks to its parent on this thread while it is made: keep pumping.
  while (g_log->windows[kHungPane] == 0) {
    MSG pending;
    while (PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&pending);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  if (thread != nullptr) CloseHandle(thread);
  SetWindowsHookExW(WH_GETMESSAGE, ArrivalHook, nullptr, GetCurrentThreadId());
  g_log->ready = 1;

  MSG msg;
  for (;;) {
    if (g_peekFirst) {
      // Look at the next message first, as many programs do, then take it.
      MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
      PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    }
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) break;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  PostThreadMessageW(GetWindowThreadProcessId(g_windows[kHungPane], nullptr), WM_QUIT, 0, 0);
  return 0;
}
