// Drives qorv_snap.exe from the tests: starts it with its windows, and drags with real injected
// mouse input. Every drag releases the button (and Shift) when it ends, also on failure.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/wine/harness.h"
#include "tests/wine/input.h"
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
      harness::WaitFor([&] {
        found = FindWindowW(snapapp::kClass, title.c_str());
        return found != nullptr && GetPropW(found, snapapp::kReadyProp) != nullptr;
      });
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

// Whether the thread of hwnd has taken input at p: the point of the last message it retrieved.
inline bool ThreadSawPoint(HWND hwnd, POINT p) {
  DWORD_PTR pos = 0;
  if (!SendMessageTimeoutW(hwnd, snapapp::kCmdMessagePos, 0, 0, SMTO_NORMAL, 2000, &pos)) return false;
  return static_cast<short>(LOWORD(pos)) == p.x && static_cast<short>(HIWORD(pos)) == p.y;
}

inline std::string SeenPoint(HWND hwnd) {
  DWORD_PTR pos = 0;
  if (!SendMessageTimeoutW(hwnd, snapapp::kCmdMessagePos, 0, 0, SMTO_NORMAL, 2000, &pos)) return "no answer";
  return std::to_string(static_cast<short>(LOWORD(pos))) + "," + std::to_string(static_cast<short>(HIWORD(pos))) +
         (GetPropW(hwnd, snapapp::kLoopProp) != nullptr ? " in its move/size loop" : "");
}

inline std::string WindowText(HWND hwnd) {
  wchar_t title[128] = {};
  GetWindowTextW(hwnd, title, 128);
  char text[256] = {};
  WideCharToMultiByte(CP_UTF8, 0, title, -1, text, sizeof(text), nullptr, nullptr);
  return std::to_string(reinterpret_cast<uintptr_t>(hwnd)) + " '" + text + "'";
}

inline DWORD_PTR LastButton(HWND hwnd) {
  DWORD_PTR last = 0;
  SendMessageTimeoutW(hwnd, snapapp::kCmdLastButton, 0, 0, SMTO_NORMAL, 2000, &last);
  return last;
}

inline std::string CursorText() {
  POINT p = {};
  GetCursorPos(&p);
  return std::to_string(p.x) + "," + std::to_string(p.y);
}

// A drag with the left button: press at from, then move through steps to the end. The button and
// the modifier key go up when the drag object ends. Each move waits until the window's thread has
// taken it: the move/size loop starts from the point of the last message the thread retrieved, and
// a step that the thread never saw would leave the window short.
class Drag {
 public:
  // sizeMoveLoop: the press starts the window's move/size loop, which the drag waits for before
  // the first move (under Wine a move that comes before the loop has taken the capture is only
  // taken together with the next one).
  Drag(HWND hwnd, POINT from, bool sizeMoveLoop = true) : hwnd_(hwnd), at_(from) {
    // Active first: a click that only activates another process's window may start no loop.
    HWND top = GetAncestor(hwnd, GA_ROOT);
    EXPECT_TRUE(harness::WaitFor([&] {
      if (GetForegroundWindow() != top) SetForegroundWindow(top);
      return GetForegroundWindow() == top;
    })) << "not in front: " << WindowText(top) << ", foreground " << WindowText(GetForegroundWindow());
    // The window's thread has taken the activation before the press comes.
    EXPECT_TRUE(harness::WaitFor([&] {
      DWORD_PTR active = 0;
      return SendMessageTimeoutW(top, snapapp::kCmdActive, 0, 0, SMTO_NORMAL, 2000, &active) &&
             reinterpret_cast<HWND>(active) == top;
    })) << "the window's thread did not take the activation";
    MoveTo(from);
    // The press carries its point, so the loop starts from it whatever the thread took before.
    MouseInput(from.x, from.y, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN);
    down_ = true;
    if (sizeMoveLoop) {
      // In the loop with the capture taken: a move from now on goes to the loop.
      EXPECT_TRUE(harness::WaitFor([&] {
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        return GetPropW(hwnd_, snapapp::kLoopProp) != nullptr &&
               GetGUIThreadInfo(GetWindowThreadProcessId(hwnd_, nullptr), &info) &&
               (info.flags & GUI_INMOVESIZE) != 0;
      }, 10000))
          << "the press did not start the move/size loop; under the point " << WindowText(WindowFromPoint(from))
          << ", dragged " << WindowText(hwnd_) << (IsWindow(hwnd_) ? "" : " (gone)")
          << (IsHungAppWindow(hwnd_) ? " (hung)" : "") << ", foreground " << WindowText(GetForegroundWindow())
          << ", last button message " << std::hex << LastButton(hwnd_) << std::dec;
    }
  }
  ~Drag() { Release(); }
  Drag(const Drag&) = delete;
  Drag& operator=(const Drag&) = delete;

  // Moves the cursor by (dx, dy) in steps of at most 20 pixels.
  void MoveBy(int dx, int dy) {
    const int steps = 1 + (abs(dx) > abs(dy) ? abs(dx) : abs(dy)) / 20;
    const POINT start = at_;
    for (int i = 1; i <= steps; ++i) MoveTo({start.x + dx * i / steps, start.y + dy * i / steps});
  }
  // Presses a modifier key during the drag: it goes to the dragged window's thread, which is
  // active now, and is released with the button.
  void Hold(BYTE vk) {
    // Through the X server: a drag under load crosses X windows, where Wine sets its key state back
    // to the X server's (input::XKey).
    EXPECT_TRUE(input::XKey(vk, true)) << "key " << int(vk) << " not down";
    modifier_ = vk;
  }
  void Release() {
    if (down_) SettleMove();
    if (down_) MouseInput(at_.x, at_.y, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP);
    down_ = false;
    if (modifier_ != 0) {
      EXPECT_TRUE(input::XKey(modifier_, false)) << "key " << int(modifier_) << " not up";
    }
    modifier_ = 0;
    EXPECT_TRUE(harness::WaitFor([&] { return GetPropW(hwnd_, snapapp::kLoopProp) == nullptr; }, 10000))
        << "the move/size loop did not end";
  }

 private:
  // In a move loop, the last step placed the window with the cursor on the point of that step (see
  // snapapp::kMovingProp); otherwise a step aside and back places it again.
  void SettleMove() {
    if (GetPropW(hwnd_, snapapp::kLoopProp) == nullptr || GetPropW(hwnd_, snapapp::kMovingProp) == nullptr) return;
    const POINT end = at_;
    const auto settled = [&] {
      return reinterpret_cast<UINT_PTR>(GetPropW(hwnd_, snapapp::kMovingProp)) ==
             static_cast<UINT_PTR>(MAKELONG(end.x, end.y));
    };
    EXPECT_TRUE(harness::WaitFor([&] {
      if (settled()) return true;
      MoveTo({end.x + 1, end.y});
      MoveTo(end);
      return settled();
    }, 10000)) << "the last step of the drag never placed the window with the cursor on its point";
  }
  void MoveTo(POINT p) {
    at_ = p;
    POINT now = {};
    GetCursorPos(&now);
    if (now.x == p.x && now.y == p.y) return;  // no move, so nothing for the thread to take
    MouseInput(p.x, p.y, MOUSEEVENTF_MOVE);
    // Under Wine a thread in a loop of its own (move/size, scroll bar, a control's capture) now and
    // then sleeps on with a move in its queue until further input comes, as a real mouse sends all
    // the time: the same move again wakes it. It changes nothing about where the cursor is.
    int polls = 0;
    EXPECT_TRUE(harness::WaitFor([&] {
      if (ThreadSawPoint(hwnd_, p)) return true;
      if (++polls % 25 == 0) MouseInput(p.x, p.y, MOUSEEVENTF_MOVE);
      return false;
    }, 10000))
        << "the window's thread never took the move to " << p.x << "," << p.y << "; it saw " << SeenPoint(hwnd_)
        << ", cursor " << CursorText();
  }

  HWND hwnd_;
  POINT at_;
  bool down_ = false;
  BYTE modifier_ = 0;
};

}  // namespace snapdrive
