// A small application whose windows the Wine tests inspect and drive from another process.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

#include "common/layered_win.h"
#include "hooklib/shared_state.h"
#include "hooklib/window_win.h"
#include "tests/wine/target_protocol.h"

namespace {

LRESULT CALLBACK TargetProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETMINMAXINFO:
      if (GetPropW(hwnd, L"fixed") != nullptr) {
        reinterpret_cast<MINMAXINFO*>(lp)->ptMinTrackSize.y = target::kFixedMinHeight;
        return 0;
      }
      break;
    case target::kCmdWheelStep:
      qorv::g_shared.MainFlag = static_cast<uint32_t>(lp);
      return qorv::WheelTranslucency(hwnd, static_cast<short>(HIWORD(wp)), LOWORD(wp));
    case target::kCmdToggleRoll:
      return qorv::ToggleRoll(hwnd);
    case target::kCmdOwnLayered:
      SetWindowLongPtrW(hwnd, GWL_EXSTYLE, GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
      return SetLayeredWindowAttributes(hwnd, static_cast<COLORREF>(wp), static_cast<BYTE>(lp >> 8),
                                        static_cast<DWORD>(lp & 0xFF));
    case target::kCmdApplyAlpha:
      return qorv::ApplyAlpha(hwnd, static_cast<BYTE>(lp));
    case target::kCmdQuery:
      if (wp == target::kQueryMetric) return GetSystemMetrics(static_cast<int>(lp));
      if (wp == target::kQueryNormalHeight) {
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        if (!GetWindowPlacement(hwnd, &placement)) return -1;
        return placement.rcNormalPosition.bottom - placement.rcNormalPosition.top;
      }
      return -1;
    case target::kCmdHang:
      SetPropW(hwnd, target::kHangingProp, reinterpret_cast<HANDLE>(1));
      Sleep(static_cast<DWORD>(lp));
      RemovePropW(hwnd, target::kHangingProp);
      return 0;
    case target::kCmdQuit:
      PostQuitMessage(0);
      return 1;
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 2) return 2;

  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = TargetProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = target::kClass;
  if (!RegisterClassExW(&wc)) return 3;

  for (int i = 2; i < argc; ++i) {
    wchar_t title[256];
    swprintf(title, 256, L"%ls:%ls", argv[1], argv[i]);
    const int offset = 40 * (i - 2);
    HWND hwnd = CreateWindowExW(0, target::kClass, title, WS_OVERLAPPEDWINDOW, 60 + offset, 60 + offset, 400, 300,
                                nullptr, nullptr, instance, nullptr);
    if (hwnd == nullptr) return 4;
    int show = SW_SHOWNOACTIVATE;
    if (wcscmp(argv[i], L"max") == 0) show = SW_SHOWMAXIMIZED;
    if (wcscmp(argv[i], L"min") == 0) show = SW_SHOWMINNOACTIVE;
    if (wcscmp(argv[i], L"fixed") == 0) SetPropW(hwnd, L"fixed", reinterpret_cast<HANDLE>(1));
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
  }
  LocalFree(argv);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
