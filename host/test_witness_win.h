// Witnesses for the Wine tests of effects that Wine does not show to another program: the tray
// icon added, a notice told, the low-level watch found lost and installed again. Off unless the
// environment variable QORV_TEST_WITNESS is "1" when qorv starts; then qorv counts those events in
// properties of its main window, and "QorvTestDropWatch" posted to that window removes the
// low-level watch behind qorv's back, as Windows does with a hook that answers too slowly.
#pragma once
#include <windows.h>

namespace qorv {

constexpr wchar_t kWitnessTrayAdds[] = L"qv TestTrayAdds";       // icons the shell took
constexpr wchar_t kWitnessTells[] = L"qv TestTells";             // balloons or message boxes
constexpr wchar_t kWitnessReinstalls[] = L"qv TestReinstalls";   // watches installed again
constexpr wchar_t kWitnessDropMessage[] = L"QorvTestDropWatch";  // registered message

// Reads the environment once; the registered message number when on, else 0.
UINT TestWitnessStart();
// Adds one to the property on the main window when the witnesses are on.
void TestWitnessCount(HWND hwnd, const wchar_t* property);

}  // namespace qorv
