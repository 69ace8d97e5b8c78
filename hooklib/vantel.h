// Exported functions of the hook library, as the main program and the settings program call them.
#pragma once
#include <windows.h>

#ifdef VANTEL_BUILD
#define VANTEL_API extern "C"
#else
#define VANTEL_API extern "C" __declspec(dllimport)
#endif

VANTEL_API int WINAPI GetDllCount(int* attachCount, int* detachCount);
VANTEL_API DWORD WINAPI SetHookFlag(DWORD mainFlag, DWORD wheelFlag, DWORD wndFlag, DWORD extraFlag);
VANTEL_API int WINAPI SetHookGetMsg(HWND owner, UINT notifyMsg, DWORD threadId);
VANTEL_API int WINAPI UnHookGetMsg();
VANTEL_API int WINAPI SetHookCallWnd(HWND owner, UINT notifyMsg, DWORD threadId);
VANTEL_API int WINAPI UnHookCallWnd();
VANTEL_API int WINAPI SetHookMouse(HWND owner, UINT notifyMsg, DWORD threadId);
VANTEL_API int WINAPI UnHookMouse();
// block: the 72-byte mouse-button block (BtnFlag, SetNum, eight condition/key pairs).
VANTEL_API int WINAPI SetHookLLMouse(HWND owner, UINT notifyMsg, const void* block, DWORD threadId);
VANTEL_API int WINAPI UnHookLLMouse();
// owner: any non-zero value naming the caller; mask: bit (kind + 1) blocks that hook kind.
VANTEL_API int WINAPI SetHookDebug(DWORD owner, DWORD mask, DWORD threadId);
VANTEL_API int WINAPI UnHookDebug();
// Executable path of the process that owns the window: characters (bytes) copied, 0 on failure.
VANTEL_API int WINAPI GetWndModuleNameW(HWND hwnd, wchar_t* buffer, int size);
VANTEL_API int WINAPI GetWndModuleNameA(HWND hwnd, char* buffer, int size);

// For programs that bind the library at run time.
using GetDllCountFn = int(WINAPI*)(int*, int*);
using SetHookFlagFn = DWORD(WINAPI*)(DWORD, DWORD, DWORD, DWORD);
using SetHookFn = int(WINAPI*)(HWND, UINT, DWORD);
using UnHookFn = int(WINAPI*)();
using SetHookLLMouseFn = int(WINAPI*)(HWND, UINT, const void*, DWORD);
using SetHookDebugFn = int(WINAPI*)(DWORD, DWORD, DWORD);
using GetWndModuleNameWFn = int(WINAPI*)(HWND, wchar_t*, int);
using GetWndModuleNameAFn = int(WINAPI*)(HWND, char*, int);
