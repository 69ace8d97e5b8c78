// Per-window lookup inside hooked processes: which row of the published per-window table applies
// to a window, and the executable path of another process's window through the module-path exchange.
#pragma once
#include <windows.h>

#include <cstdint>

namespace qorv {

// The matching row's EntryFlag (0 when none) for the window under the table that extraFlag names;
// the row's wheel and window words go to the outputs that are given, only when the result is not 0.
// path is the 8-bit executable path of the window's process and nameOffset the start of its file name.
uint32_t PerWindowLookup(HWND hwnd, uint32_t extraFlag, const char* path, uint32_t nameOffset, uint32_t* wheelFlag,
                         uint32_t* wndFlag);
// PerWindowLookup for a window of any process (the path of another process is fetched once per
// process change). Returns the window's process id, 0 when the other process's path could not be
// fetched; result and wheel word go to the outputs that are given.
DWORD LookupForWindow(HWND hwnd, uint32_t extraFlag, uint32_t* result, uint32_t* wheelFlag);
// Fetches the executable path of the window's process into buffer; returns its length, 0 on failure.
uint32_t ModulePathQuery(HWND hwnd, char* buffer, uint32_t bufferSize, UINT timeoutMs);
// Answers a module-path query (the registered message "QorvMsgGetModule ") in the queried process;
// called by the window-procedure hook with the message's wParam and lParam.
uint32_t ModulePathAnswer(HWND hwnd, WPARAM wp, LPARAM lp);

}  // namespace qorv
