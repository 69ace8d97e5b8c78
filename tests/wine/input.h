// Real input injected with SendInput, in absolute coordinates of the (virtual) desktop.
#pragma once
#include <windows.h>

#include <cwchar>
#include <initializer_list>

namespace input {

// Absolute coordinates of a desktop point, 0-65535.
inline void Absolute(int x, int y, LONG* dx, LONG* dy) {
  const int w = GetSystemMetrics(SM_CXSCREEN);
  const int h = GetSystemMetrics(SM_CYSCREEN);
  *dx = static_cast<LONG>((x * 65535LL + (w - 1) / 2) / (w - 1));
  *dy = static_cast<LONG>((y * 65535LL + (h - 1) / 2) / (h - 1));
}

// The point of the last MoveTo. Under Wine the X server may report an older pointer position after
// a move and put the cursor back there for a moment, so every button and wheel event carries the
// point it is meant for, in the same input as the event itself.
inline bool g_placed = false;
inline POINT g_at = {};

inline void MoveTo(int x, int y) {
  INPUT in = {};
  in.type = INPUT_MOUSE;
  Absolute(x, y, &in.mi.dx, &in.mi.dy);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof(in));
  g_placed = true;
  g_at = {x, y};
}

// Puts the cursor at p and says whether it stays there. Under Wine the desktop's thread may take an
// older report of the X server's pointer late and put the cursor back: a round trip to that thread
// lets such a report come in before the cursor is checked, and a cursor put back is moved again.
// Called in a wait until it holds.
inline bool CursorStaysAt(POINT p) {
  POINT now;
  GetCursorPos(&now);
  if (now.x != p.x || now.y != p.y) MoveTo(p.x, p.y);
  DWORD_PTR ignored;
  SendMessageTimeoutW(GetDesktopWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 2000, &ignored);
  GetCursorPos(&now);
  return now.x == p.x && now.y == p.y;
}

inline void Mouse(DWORD flags, DWORD data = 0) {
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  in.mi.mouseData = data;
  if (g_placed) {
    Absolute(g_at.x, g_at.y, &in.mi.dx, &in.mi.dy);
    in.mi.dwFlags |= MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  }
  SendInput(1, &in, sizeof(in));
}

inline void Wheel(int delta) { Mouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(delta)); }

// A button or wheel event at a point of its own, without moving the point MoveTo placed.
inline void MouseAt(POINT pt, DWORD flags, DWORD data = 0) {
  INPUT in = {};
  in.type = INPUT_MOUSE;
  Absolute(pt.x, pt.y, &in.mi.dx, &in.mi.dy);
  in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  in.mi.mouseData = data;
  SendInput(1, &in, sizeof(in));
}

// Shift, Ctrl and Alt go through the X server (xdotool), as a real keyboard's do. Wine sets its key
// state back to the X server's whenever one of its X windows gains the focus or the pointer enters
// one (KeymapNotify); a modifier only injected into Wine is then up again for every program, and a
// drag, an activation or a cursor move right after the press is enough. xdotool is a Unix program
// that Wine starts like any other; its handle is no process to wait on, so the key state is awaited.
inline const wchar_t* XKeyName(WORD vk) {
  return vk == VK_SHIFT ? L"Shift_L" : vk == VK_CONTROL ? L"Control_L" : vk == VK_MENU ? L"Alt_L" : nullptr;
}

inline bool XKey(WORD vk, bool down) {
  wchar_t command[96];
  swprintf(command, 96, L"Z:\\usr\\bin\\xdotool %ls %ls", down ? L"keydown" : L"keyup", XKeyName(vk));
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  const DWORD start = GetTickCount();
  while ((GetAsyncKeyState(vk) < 0) != down) {
    if (GetTickCount() - start > 10000) return false;
    Sleep(5);
  }
  return true;
}

inline void Key(WORD vk, bool down) {
  if (XKeyName(vk) != nullptr && XKey(vk, down)) return;
  INPUT in = {};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, 0));
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  if (vk == VK_RCONTROL || vk == VK_RMENU) in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  SendInput(1, &in, sizeof(in));
}

// Releases everything a test may have left down.
inline void ReleaseAll() {
  for (WORD vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LSHIFT, VK_LCONTROL, VK_LMENU, VK_RSHIFT, VK_RCONTROL, VK_RMENU,
                  VK_LWIN, VK_RWIN}) {
    if (GetAsyncKeyState(vk) < 0) Key(vk, false);
  }
  if (GetAsyncKeyState(VK_LBUTTON) < 0) Mouse(MOUSEEVENTF_LEFTUP);
  if (GetAsyncKeyState(VK_RBUTTON) < 0) Mouse(MOUSEEVENTF_RIGHTUP);
  if (GetAsyncKeyState(VK_MBUTTON) < 0) Mouse(MOUSEEVENTF_MIDDLEUP);
  if (GetAsyncKeyState(VK_XBUTTON1) < 0) Mouse(MOUSEEVENTF_XUP, XBUTTON1);
  if (GetAsyncKeyState(VK_XBUTTON2) < 0) Mouse(MOUSEEVENTF_XUP, XBUTTON2);
}

}  // namespace input
