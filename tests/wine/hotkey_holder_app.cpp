// Holds one hotkey, as another running program would, until it is closed. Argument: the
// HotkeyWord in hexadecimal. Its window "QorvHotkeyHolder" appears once the hotkey is held.
#include <windows.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR args, int) {
  const unsigned long word = wcstoul(args, nullptr, 16);
  if (!RegisterHotKey(nullptr, 1, (word >> 8) & 0x0F, word & 0xFF)) return 2;
  HWND hwnd =
      CreateWindowExW(0, L"STATIC", L"QorvHotkeyHolder", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  MSG msg;
  while (IsWindow(hwnd) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_CLOSE || (msg.hwnd == hwnd && msg.message == WM_APP)) break;
    DispatchMessageW(&msg);
  }
  UnregisterHotKey(nullptr, 1);
  return 0;
}
