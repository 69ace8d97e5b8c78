// The hotkeys on the main program's window: keyboard combinations registered with RegisterHotKey,
// mouse combinations watched on a low-level mouse hook of the program's own, which also serves as
// the witness that low-level hooks are still being called.
#pragma once
#include <windows.h>

#include <cstdint>

namespace qorv {

// Registers every keyboard entry of the words (index = hotkey id) on hwnd; returns the bits of the
// ids that could not be registered. Registrations held before are released first.
uint32_t HotkeysRegister(HWND hwnd, const uint32_t* words, int count);
void HotkeysRelease(HWND hwnd);

// The window property on the main window that shows which hotkeys are held: the bits of the ids,
// with 0x80000000 set once a registration pass has ended (absent before the first and at the end).
// Trying to register a combination is the only other way to tell, and that competes with us.
constexpr wchar_t kPropHotkeysHeld[] = L"qv HkHeld";
constexpr uint32_t kHotkeysSettled = 0x80000000;

// The low-level mouse hook posts notifyMsg (wParam = hotkey id) to hwnd for each mouse hotkey and
// swallows its events. Installed on the calling thread, which must pump messages.
bool MouseWatchInstall(HWND hwnd, UINT notifyMsg, const uint32_t* words, int count);
void MouseWatchRemove();
bool MouseWatchInstalled();
// For the tests: unhooks the watch but keeps its handle, as Windows does when it removes a slow
// low-level hook without a word.
void MouseWatchDropSilently();
// Events the hook has seen since it was first installed.
uint32_t MouseWatchEvents();

}  // namespace qorv
