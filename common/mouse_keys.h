// The MK_ key-state bits that mouse messages carry in wParam (WM_MOUSEWHEEL in its low word), for
// code that does not include <windows.h>; the Win32 side checks them against MK_ once.
#pragma once
#include <cstdint>

namespace qorv {

constexpr uint32_t kMkLButton = 0x0001;
constexpr uint32_t kMkRButton = 0x0002;
constexpr uint32_t kMkShift = 0x0004;
constexpr uint32_t kMkControl = 0x0008;
constexpr uint32_t kMkMButton = 0x0010;
constexpr uint32_t kMkXButton1 = 0x0020;
constexpr uint32_t kMkXButton2 = 0x0040;

}  // namespace qorv
