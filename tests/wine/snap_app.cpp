// Target application of the move/size and module-name tests: windows of the kinds that the tests
// drag, size and scroll with injected input (see snap_protocol.h).
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>

#include "tests/wine/snap_protocol.h"

namespace {

HWND g_trackbar;
WNDPROC g_belowResub;   // the procedure under the one a "resub" window adds
LONG g_resubCount;

LRESULT CALLBACK ResubProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  ++g_resubCount;
  if (msg == snapapp::kCmdResubCount) return g_resubCount;
  return CallWindowProcW(g_belowResub, hwnd, msg, wp, lp);
}
DWORD g_lastButton;

LRESULT CALLBACK SnapAppProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_VSCROLL:
      if (lp == 0 && (LOWORD(wp) == SB_THUMBTRACK || LOWORD(wp) == SB_THUMBPOSITION)) {
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(hwnd, SB_VERT, &info);
        SetScrollPos(hwnd, SB_VERT, info.nTrackPos, TRUE);
      }
      return 0;
    case snapapp::kCmdSleep:
      SetPropW(hwnd, snapapp::kSleepingProp, reinterpret_cast<HANDLE>(1));
      Sleep(static_cast<DWORD>(lp));
      RemovePropW(hwnd, snapapp::kSleepingProp);
      return 0;
    case snapapp::kCmdThumbPoint: {
      RECT thumb = {};
      if (g_trackbar == nullptr) return 0;
      SendMessageW(g_trackbar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
      POINT mid = {(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
      ClientToScreen(g_trackbar, &mid);
      return MAKELONG(mid.x, mid.y);
    }
    case WM_ENTERSIZEMOVE:
      RemovePropW(hwnd, snapapp::kMovingProp);
      SetPropW(hwnd, snapapp::kLoopProp, reinterpret_cast<HANDLE>(1));
      if (RemovePropW(hwnd, L"qt resub") != nullptr) {
        g_belowResub = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ResubProc)));
      }
      break;
    case snapapp::kCmdResubCount:
      return -1;  // reached only when the "resub" procedure is no longer above
    case WM_EXITSIZEMOVE:
      RemovePropW(hwnd, snapapp::kLoopProp);
      break;
    case WM_MOVING: {
      POINT cursor = {};
      GetCursorPos(&cursor);
      const DWORD pos = GetMessagePos();
      const bool same = cursor.x == static_cast<short>(LOWORD(pos)) && cursor.y == static_cast<short>(HIWORD(pos));
      const UINT_PTR seen = same ? static_cast<UINT_PTR>(MAKELONG(cursor.x, cursor.y)) : snapapp::kMovingAstray;
      SetPropW(hwnd, snapapp::kMovingProp, reinterpret_cast<HANDLE>(seen));
      break;
    }
    case snapapp::kCmdActive:
      return reinterpret_cast<LRESULT>(GetActiveWindow());
    case snapapp::kCmdScaleChange: {
      RECT suggested;
      GetWindowRect(hwnd, &suggested);
      return SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    }
    case WM_DPICHANGED: {
      wchar_t title[256];
      GetWindowTextW(hwnd, title, 256);
      wchar_t* name = wcsstr(title, L":f");
      if (name != nullptr) {
        name[1] = L'g';
        SetWindowTextW(hwnd, title);
      }
      const RECT& r = *reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 1;
    }
    case snapapp::kCmdLastButton:
      return static_cast<LRESULT>(g_lastButton);
    case snapapp::kCmdMessagePos:
      return static_cast<LRESULT>(GetMessagePos());
    case snapapp::kCmdQuit:
      PostQuitMessage(0);
      return 0;
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK ButtonSeen(int code, WPARAM wp, LPARAM lp) {
  const MSG* msg = reinterpret_cast<const MSG*>(lp);
  if (code == HC_ACTION && wp == PM_REMOVE &&
      ((msg->message >= WM_LBUTTONDOWN && msg->message <= WM_MBUTTONDBLCLK) ||
       (msg->message >= WM_NCLBUTTONDOWN && msg->message <= WM_NCMBUTTONDBLCLK))) {
    g_lastButton = MAKELONG(msg->message, msg->wParam);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

BOOL CALLBACK MarkReady(HWND hwnd, LPARAM) {
  SetPropW(hwnd, snapapp::kReadyProp, reinterpret_cast<HANDLE>(1));
  return TRUE;
}

bool CreateKind(HINSTANCE instance, const wchar_t* prefix, const wchar_t* desc) {
  // "name=kind@x,y,w,h"
  const wchar_t* equals = wcschr(desc, L'=');
  const wchar_t* at = equals != nullptr ? wcschr(equals, L'@') : nullptr;
  if (at == nullptr || equals - desc >= 64 || at - equals > 64) return false;
  wchar_t name[64] = {};
  wchar_t kind[64] = {};
  wcsncpy(name, desc, static_cast<size_t>(equals - desc));
  wcsncpy(kind, equals + 1, static_cast<size_t>(at - equals - 1));
  int x = 0, y = 0, w = 0, h = 0;
  if (swscanf(at + 1, L"%d,%d,%d,%d", &x, &y, &w, &h) != 4) return false;
  wchar_t title[256];
  swprintf(title, 256, L"%ls:%ls", prefix, name);
  DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  if (wcscmp(kind, L"scroll") == 0) style |= WS_VSCROLL;
  HWND hwnd = CreateWindowExW(0, snapapp::kClass, title, style, x, y, w, h, nullptr, nullptr, instance, nullptr);
  if (hwnd == nullptr) return false;
  if (wcscmp(kind, L"resub") == 0) SetPropW(hwnd, L"qt resub", reinterpret_cast<HANDLE>(1));
  if (wcscmp(kind, L"layered") == 0) {
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(hwnd, 0, snapapp::kOwnAlpha, LWA_ALPHA);
  } else if (wcscmp(kind, L"scroll") == 0) {
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = 100;
    info.nPage = 10;
    SetScrollInfo(hwnd, SB_VERT, &info, FALSE);
  } else if (wcscmp(kind, L"trackbar") == 0) {
    g_trackbar = CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE | TBS_HORZ, 10, 10, 300, 40, hwnd,
                                 nullptr, instance, nullptr);
    SendMessageW(g_trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
  } else if (wcscmp(kind, L"group") == 0) {
    // A group box over an edit control, as dialogs have them: the box comes first, so it lies
    // above the edit, and answers the hit test with "transparent".
    CreateWindowExW(0, L"BUTTON", L"group", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 10, 10, 300, 100, hwnd, nullptr,
                    instance, nullptr);
    CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 40, 40, 200, 30, hwnd,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(snapapp::kGroupedEditId)), instance, nullptr);
  } else if (wcscmp(kind, L"region") == 0) {
    // Only the part from 20 pixels right of the left edge is the window's shape.
    SetWindowRgn(hwnd, CreateRectRgn(snapapp::kRegionInset, 0, w, h), FALSE);
  } else if (wcscmp(kind, L"parent") == 0) {
    wchar_t childTitle[256];
    swprintf(childTitle, 256, L"%ls:a", title);
    CreateWindowExW(0, snapapp::kClass, childTitle, WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME | WS_CLIPSIBLINGS,
                    40, 40, 200, 150, hwnd, nullptr, instance, nullptr);
    swprintf(childTitle, 256, L"%ls:b", title);
    CreateWindowExW(0, snapapp::kClass, childTitle, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_CLIPSIBLINGS, 340, 40, 150,
                    200, hwnd, nullptr, instance, nullptr);
  }
  ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  UpdateWindow(hwnd);
  return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 2) return 2;
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = SnapAppProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = snapapp::kClass;
  if (!RegisterClassExW(&wc)) return 3;
  if (GetEnvironmentVariableW(snapapp::kBordersVariable, nullptr, 0) != 0) {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    while (length > 0 && path[length - 1] != L'\\') --length;
    path[length] = 0;
    if (wcslen(path) + 20 >= MAX_PATH) return 5;
    wcscat(path, L"fakedwm\\dwmapi.dll");
    if (LoadLibraryW(path) == nullptr) return 5;
  }
  for (int i = 2; i < argc; ++i) {
    if (!CreateKind(instance, argv[1], argv[i])) return 4;
  }
  LocalFree(argv);
  // Shown, and whatever activation showing them brings has happened: the tests may go on.
  MSG pending;
  while (PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&pending);
  EnumThreadWindows(GetCurrentThreadId(), MarkReady, 0);

  SetWindowsHookExW(WH_GETMESSAGE, ButtonSeen, nullptr, GetCurrentThreadId());
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
