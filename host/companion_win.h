// The main program's side of the 32-bit companion: the x86_64 qorv.exe starts qorv32.exe from its
// own folder when it is there, hands it the flag words and the hooks to install, starts it again
// when it dies (at most three times a minute, then says so once) and ends it when it ends itself.
#pragma once
#include <windows.h>

#include <cwchar>

namespace qorv {

constexpr wchar_t kCompanionClass[] = L"Qorv32Wnd";
constexpr wchar_t kCompanionTitle[] = L"Qorv32";
constexpr wchar_t kCompanionExe[] = L"qorv32.exe";
constexpr wchar_t kCompanionLibrary[] = L"vantel32.dll";
// Posted by the companion to the main window once its window exists: wParam is that window.
constexpr UINT kCompanionHello = WM_APP + 8;
// Posted by the main program to the companion's window: the handover block changed.
constexpr UINT kCompanionUpdate = WM_APP + 1;
// Posted by the main program to the companion's window at session end: it ends without the
// library's passes over every window (they are being closed anyway).
constexpr UINT kCompanionSessionEnds = WM_APP + 9;

// "QorvCompanion <main window in decimal>": the handover block's mapping.
inline void CompanionMappingName(HWND mainWindow, wchar_t* name, size_t capacity) {
  swprintf(name, capacity, L"QorvCompanion %lu", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(mainWindow)));
}

// Starts the companion when this program is the x86_64 one and qorv32.exe lies beside it; ends a
// companion left by an earlier copy first.
void CompanionStart();
// Hands the current words and hooks over (called whenever they change).
void CompanionHandOver(unsigned kinds);
// The same hooks with the words as they are now.
void CompanionRefresh();
void CompanionOnHello(HWND companion);
void CompanionOnEnded();
bool CompanionGaveUp();
bool CompanionRunning();
// Ends the companion and waits (bounded) until it has removed its hooks; at session end without
// the library's restore passes.
void CompanionStop(bool sessionEnds = false);

}  // namespace qorv
