// Drives qorv_snap.exe from the tests: starts it with its windows, and drags with real injected
// mouse input. Every drag releases the button (and Shift) when it ends, also on failure.
#pragma once
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/wine/harness.h"
#include "tests/wine/snap_protocol.h"

namespace snapdrive {

inline std::wstring UniquePrefix() {
  static int counter;
  wchar_t prefix[64];
  swprintf(prefix, 64, L"qs%lu-%lu-%d", GetCurrentProcessId(), GetTickCount(), ++counter);
  return prefix;
}

// One qorv_snap.exe process; windowDescs are "name=kind@x,y,w,h".
class SnapApp {
 public:
  explicit SnapApp(const std::vector<std::wstring>& windowDescs)
      : prefix_(UniquePrefix()), process_(harness::ExeDir() + L"\\qorv_snap.exe", Args(prefix_, windowDescs)) {
    for (const auto& desc : windowDescs) {
      const std::wstring title = prefix_ + L":" + desc.substr(0, desc.find(L'='));
      HWND found = nullptr;
      harness::WaitFor([&] { return (found = FindWindowW(snapapp::kClass, title.c_str())) != nullptr; });
      windows_.push_back(found);
      // A sent message makes the thread call the window-procedure hook, which maps the library in.
      DWORD_PTR ignored;
      if (found != nullptr) SendMessageTimeoutW(found, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    }
  }
  ~SnapApp() {
    for (HWND hwnd : windows_) {
      if (hwnd != nullptr) {
        PostMessageW(hwnd, snapapp::kCmdQuit, 0, 0);
        break;
      }
    }
    if (!process_.WaitExit(10000)) process_.Kill();
  }
  SnapApp(const SnapApp&) = delete;
  SnapApp& operator=(const SnapApp&) = delete;

  HWND Window(size_t index) const { return index < windows_.size() ? windows_[index] : nullptr; }
  HWND Child(size_t index, const wchar_t* suffix) const {
    wchar_t title[256];
    GetWindowTextW(Window(index), title, 256);
    return FindWindowExW(Window(index), nullptr, snapapp::kClass, (std::wstring(title) + suffix).c_str());
  }
  bool AllFound() const {
    for (HWND hwnd : windows_) {
      if (hwnd == nullptr) return false;
    }
    return process_.Started();
  }
  DWORD Id() const { return process_.Id(); }

 private:
  static std::wstring Args(const std::wstring& prefix, const std::vector<std::wstring>& windowDescs) {
    std::wstring args = prefix;
    for (const auto& desc : windowDescs) args += L" " + desc;
    return args;
  }

  std::wstring prefix_;
  harness::Process process_;
  std::vector<HWND> windows_;
};

inline RECT WindowRect(HWND hwnd) {
  RECT rect = {};
  GetWindowRect(hwnd, &rect);
  return rect;
}

inline bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Absolute coordinates: relative moves are accelerated.
inline void MouseInput(int x, int y, DWORD flags) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  const int cx = GetSystemMetrics(SM_CXSCREEN);
  const int cy = GetSystemMetrics(SM_CYSCREEN);
  input.mi.dx = static_cast<LONG>((static_cast<LONGLONG>(x) * 65536 + cx - 1) / cx);
  input.mi.dy = static_cast<LONG>((static_cast<LONGLONG>(y) * 65536 + cy - 1) / cy);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(input));
}

inline void Key(BYTE vk, bool down) { keybd_event(vk, static_cast<BYTE>(MapVirtualKeyW(vk, 0)), down ? 0 : KEYEVENTF_KEYUP, 0); }

// The point nearest to the start of a row scan of the window where WM_NCHITTEST gives hit.
inline bool FindHit(HWND hwnd, LRESULT hit, POINT* out) {
  const RECT r = WindowRect(hwnd);
  for (int y = r.top; y < r.bottom; y += 2) {
    for (int x = r.left + (r.right - r.left) / 3; x < r.right; x += 3) {
      DWORD_PTR result = 0;
      if (SendMessageTimeoutW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_NORMAL, 2000, &result) &&
          static_cast<LRESULT>(result) == hit) {
        *out = {x + 1, y + 2};
        return true;
      }
    }
  }
  return false;
}

// A drag with the left button: press at from, then move through steps to the end. The button and
// the modifier key go up when the drag object ends.
class Drag {
 public:
  Drag(HWND hwnd, POINT from) : hwnd_(hwnd), at_(from) {
    // Active first: a click that only activates another process's window may start no loop.
    HWND top = GetAncestor(hwnd, GA_ROOT);
    SetForegroundWindow(top);
    harness::WaitFor([&] { return GetForegroundWindow() == top; }, 3000);
    MouseInput(from.x, from.y, MOUSEEVENTF_MOVE);
    harness::WaitFor([&] {
      POINT p;
      GetCursorPos(&p);
      return p.x == from.x && p.y == from.y;
    }, 3000);
    harness::Pump(150);  // the target's thread sees the cursor there before the press
    MouseInput(from.x, from.y, MOUSEEVENTF_LEFTDOWN);
    down_ = true;
  }
  ~Drag() { Release(); }
  Drag(const Drag&) = delete;
  Drag& operator=(const Drag&) = delete;

  // Moves the cursor by (dx, dy) in steps of at most 20 pixels, waiting after each for the window
  // to follow (a step may also be swallowed by a snap).
  void MoveBy(int dx, int dy) {
    const int steps = 1 + (abs(dx) > abs(dy) ? abs(dx) : abs(dy)) / 20;
    const POINT start = at_;
    for (int i = 1; i <= steps; ++i) {
      const RECT before = WindowRect(hwnd_);
      at_ = {start.x + dx * i / steps, start.y + dy * i / steps};
      MouseInput(at_.x, at_.y, MOUSEEVENTF_MOVE);
      harness::WaitFor([&] { return !SameRect(before, WindowRect(hwnd_)); }, 700);
    }
    harness::Pump(100);
  }
  // Presses a modifier key during the drag: it goes to the dragged window's thread, which is
  // active now, and is released with the button.
  void Hold(BYTE vk) {
    Key(vk, true);
    modifier_ = vk;
    harness::Pump(100);
  }
  void Release() {
    if (down_) MouseInput(at_.x, at_.y, MOUSEEVENTF_LEFTUP);
    down_ = false;
    if (modifier_ != 0) Key(modifier_, false);
    modifier_ = 0;
    harness::Pump(100);
  }

 private:
  HWND hwnd_;
  POINT at_;
  bool down_ = false;
  BYTE modifier_ = 0;
};

}  // namespace snapdrive
