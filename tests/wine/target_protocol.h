// Commands that the tests send to the windows of the target application (qorv_target.exe).
// The target plays a hooked process: it runs the library's window code on its own windows, on the
// thread that owns them, as the hook procedures do.
#pragma once
#include <windows.h>

namespace target {

constexpr wchar_t kClass[] = L"QorvTestTarget";

// wParam: MAKEWPARAM(MK_ key state, wheel delta); lParam: MainFlag. Result: WheelTranslucency's.
constexpr UINT kCmdWheelStep = WM_APP + 1;
// Result: ToggleRoll's.
constexpr UINT kCmdToggleRoll = WM_APP + 2;
// The window's own program makes it layered: wParam colour key, lParam flags | alpha << 8.
constexpr UINT kCmdOwnLayered = WM_APP + 3;
// lParam: alpha. Result: ApplyAlpha's.
constexpr UINT kCmdApplyAlpha = WM_APP + 4;
// Facts read inside the target (Wine answers some of them wrongly across processes):
// wParam kQueryNormalHeight: height of the window's restored rectangle; kQueryMetric: GetSystemMetrics(lParam).
constexpr UINT kCmdQuery = WM_APP + 6;
constexpr WPARAM kQueryNormalHeight = 0;
constexpr WPARAM kQueryMetric = 1;
// Posted: the window's thread sleeps lParam ms without retrieving messages, with kHangingProp on
// the window meanwhile (a test reads it without asking the busy thread).
constexpr UINT kCmdHang = WM_APP + 7;
constexpr wchar_t kHangingProp[] = L"qt Hanging";
// Ends the target's message loop.
constexpr UINT kCmdQuit = WM_APP + 5;

// Window kinds, named on the command line after the title prefix: "<prefix> normal max min fixed".
// Each window's title is "<prefix>:<kind>". "fixed" refuses small heights (minimum tracking height 200).
constexpr int kFixedMinHeight = 200;

}  // namespace target
