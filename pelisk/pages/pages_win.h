// Dialog procedures of the tabbed window's pages and of the debug dialog.
#pragma once
#include <windows.h>

namespace qorv {

INT_PTR CALLBACK WheelPageProc(HWND, UINT, WPARAM, LPARAM);      // dialog 114
INT_PTR CALLBACK WindowPageProc(HWND, UINT, WPARAM, LPARAM);     // dialog 115
INT_PTR CALLBACK OtherPageProc(HWND, UINT, WPARAM, LPARAM);      // dialog 122
INT_PTR CALLBACK PerWindowPageProc(HWND, UINT, WPARAM, LPARAM);  // dialog 113
INT_PTR CALLBACK HotkeysPageProc(HWND, UINT, WPARAM, LPARAM);    // dialog 111
INT_PTR CALLBACK MousePageProc(HWND, UINT, WPARAM, LPARAM);      // dialog 112
INT_PTR CALLBACK DebugDialogProc(HWND, UINT, WPARAM, LPARAM);    // dialog 106

}  // namespace qorv
