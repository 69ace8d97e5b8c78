// Windows of an elevated program are out of reach of the hooks of a program that is not: the user
// is told once, and qorv can start itself elevated in its own place.
#pragma once
#include <windows.h>

#include "host/events.h"

namespace qorv {

ElevationState ElevationOfProcess(DWORD pid);
// A window came to the front: tells once when it belongs to an elevated program and we are not.
void CheckForegroundElevation(HWND front);
// True when the program's folder may be written by administrators alone (a per-machine install):
// only then is restarting elevated offered.
bool ProgramFolderProtected();
// Starts a program as the user would: directly while we are not elevated, else through the shell
// of the logged-on user, so that it never inherits our rights. False when it was not started
// (an elevated copy then starts nothing rather than something elevated).
bool StartProgramAsUser(const wchar_t* file, const wchar_t* dir);
// Starts this program elevated with /takeover; the new copy ends this one once it runs.
void RestartAsAdministrator();
// Lets the messages that ordinary processes send to us through when we run elevated: the library's
// reports, "QorvWnd" and "TaskbarCreated", nothing else. The function is looked up at run time;
// where it is missing there is no such filter to open.
void AllowLowerIntegrityMessages(HWND hwnd);

}  // namespace qorv
