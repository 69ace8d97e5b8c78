// Holds the Wine virtual desktop for a whole test run. Wine closes a desktop about a second after its
// last user ends and opens it again for the next program; a test program that starts while the
// desktop is closing fails before it runs. This program is a user of the desktop (a message-only
// window) that shows nothing and waits until the run's end ends it.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = L"QorvDesktopKeeper";
  RegisterClassW(&wc);
  if (CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr) == nullptr) {
    return 1;
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
