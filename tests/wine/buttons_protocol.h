// The button-conversion target application (qorv_buttons.exe): two windows that log the input
// messages they receive into a mapping that the test created.
#pragma once
#include <windows.h>

#include <cstdint>

namespace buttons_target {

// "<prefix>:dbl" has the class style CS_DBLCLKS, "<prefix>:plain" has not.
constexpr wchar_t kDblClass[] = L"QorvButtonsDbl";
constexpr wchar_t kPlainClass[] = L"QorvButtonsPlain";
constexpr int kDblLeft = 80, kPlainLeft = 520, kTop = 120, kWidth = 400, kHeight = 300;

struct Entry {
  uint32_t window;  // 0 dbl, 1 plain
  uint32_t message;
  uint64_t wp;
  int64_t lp;
  uint32_t ctrlDown;  // GetKeyState(VK_CONTROL) < 0 when the message arrived
};

constexpr LONG kCapacity = 1024;
struct Log {
  volatile LONG count;
  Entry entries[kCapacity];
};

// wParam: virtual key. Result: GetKeyState(key) on the target's thread.
constexpr UINT kCmdKeyState = WM_APP + 20;
// Makes the window the foreground window with the focus.
constexpr UINT kCmdActivate = WM_APP + 21;
constexpr UINT kCmdQuit = WM_APP + 22;

}  // namespace buttons_target
