// Whether another copy of a program runs, from what creating or opening its named mutex gave.
// Plain code, no <windows.h>. A mutex made by an elevated copy refuses full access to an ordinary
// process: creating or opening it then fails with "access denied", and that means it exists.
#pragma once
#include <cstdint>

namespace qorv {

constexpr uint32_t kErrorAccessDenied = 5;     // ERROR_ACCESS_DENIED
constexpr uint32_t kErrorAlreadyExists = 183;  // ERROR_ALREADY_EXISTS

// CreateMutexW's result: handle or not, and GetLastError right after.
enum class InstanceCheck : uint8_t {
  First,      // this copy made the mutex
  Another,    // another copy holds it
  Unguarded,  // the mutex could not be made for another reason: run without the guard
};
InstanceCheck InstanceFromCreate(bool gotHandle, uint32_t lastError);

// OpenMutexW's result: the mutex exists when it opened or when the access was refused.
bool PresentFromOpen(bool gotHandle, uint32_t lastError);

// "qorv /quit": the exit code from what happened to the running copy.
enum class QuitOutcome : uint8_t {
  Gone,         // it ended within the wait
  NoneRunning,  // no copy ran
  StillThere,   // it could not be asked or did not end within the wait
};
int QuitExitCode(QuitOutcome outcome);  // 0, 1, 2

}  // namespace qorv
