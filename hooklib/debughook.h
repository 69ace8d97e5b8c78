// The debug hook's decision: whether the hook that the system is about to call is blocked.
// Plain code, no <windows.h>.
#pragma once
#include <cstdint>

namespace qorv {

// Mask bit 0x00010000: calls that are not blocked are not passed on to later debug hooks.
constexpr uint32_t kDebugMaskNoPassOn = 0x00010000;

enum class DebugVerdict : uint8_t {
  PassOn,  // return CallNextHookEx
  Block,   // return 1: the system skips that hook procedure
  Allow,   // return 0: the hook is called, later debug hooks are not
};

// code and kind as the debug hook receives them (kind = the hook kind about to be called).
DebugVerdict DebugDecide(uint32_t mask, int code, int64_t kind);

}  // namespace qorv
