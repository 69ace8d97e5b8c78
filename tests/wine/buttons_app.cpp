// Target application of the button-conversion tests: logs every key, button and wheel message its
// two windows receive. Arguments: title prefix, name of the log mapping.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cwchar>

#include "tests/wine/buttons_protocol.h"

namespace {

using namespace buttons_target;

Log* g_log;
HWND g_windows[2];

bool Logged(UINT msg) {
  return msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP ||
         (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEMOVE) ||
         (msg >= WM_NCLBUTTONDOWN && msg <= WM_NCXBUTTONDBLCLK);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (Logged(msg) && g_log != nullptr) {
    const LONG i = InterlockedIncrement(&g_log->count) - 1;
    if (i < kCapacity) {
      g_log->entries[i] = {hwnd == g_windows[1] ? 1u : 0u, msg, wp, static_cast<int64_t>(lp),
                           GetKeyState(VK_CONTROL) < 0 ? 1u : 0u};
    }
  }
  switch (msg) {
    case kCmdKeyState:
      return GetKeyState(static_cast<int>(wp));
    case kCmdActivate:
      SetForegroundWindow(hwnd);
      SetFocus(hwnd);
      return GetForegroundWindow() == hwnd;
    case kCmdQuit:
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
    case WM_CONTEXTMENU:
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 3) return 2;
  HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, argv[2]);
  if (mapping == nullptr) return 3;
  g_log = static_cast<Log*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(Log)));
  if (g_log == nullptr) return 3;

  const wchar_t* classes[2] = {kDblClass, kPlainClass};
  const wchar_t* kinds[2] = {L"dbl", L"plain"};
  for (int i = 0; i < 2; ++i) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = i == 0 ? CS_DBLCLKS : 0;
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = classes[i];
    if (!RegisterClassExW(&wc)) return 4;
    wchar_t title[256];
    swprintf(title, 256, L"%ls:%ls", argv[1], kinds[i]);
    g_windows[i] = CreateWindowExW(0, classes[i], title, WS_OVERLAPPEDWINDOW, i == 0 ? kDblLeft : kPlainLeft, kTop,
                                   kWidth, kHeight, nullptr, nullptr, instance, nullptr);
    if (g_windows[i] == nullptr) return 5;
    ShowWindow(g_windows[i], SW_SHOW);
    UpdateWindow(g_windows[i]);
  }
  LocalFree(argv);
  SetForegroundWindow(g_windows[0]);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  UnmapViewOfFile(g_log);
  CloseHandle(mapping);
  return 0;
}
