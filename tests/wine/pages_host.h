// One settings page hosted inside the test process the way the settings window hosts it: a child
// dialog of a top-level window, asked with WM_COMMAND 1 or 2 whether it may close.
#pragma once
#include <windows.h>

#include <string>

#include "pelisk/pages/pages_win.h"
#include "pelisk/resource.h"
#include "tests/wine/input.h"
#include "tests/wine/pelisk_harness.h"

namespace pages_test {

using harness::Pump;
using harness::WaitFor;

// A mouse event that carries its own absolute position: the X11 driver now and then hands a stale
// pointer position to the desktop (a previous test's warp).
using input::MouseAt;

// Messages the host window carries out on its own thread, so that another thread can break off a
// drag that the page's thread is busy with.
constexpr UINT kHostReleaseCapture = WM_APP + 1;
constexpr UINT kHostDestroyPage = WM_APP + 2;

class PageHost {
 public:
  // The settings program's start-up values must be set first (pelisk::InitInProcess).
  PageHost(int dialogId, DLGPROC proc) {
    static ATOM atom = 0;
    if (atom == 0) {
      WNDCLASSW wc = {};
      wc.lpfnWndProc = &HostProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      wc.lpszClassName = L"QorvPageHost";
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      atom = RegisterClassW(&wc);
    }
    frame_ = CreateWindowExW(0, L"QorvPageHost", L"page", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 40, 40, 700, 480,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    page_ = CreateDialogParamW(qorv::g_instance, MAKEINTRESOURCEW(dialogId), frame_, proc, 0);
    if (page_ != nullptr) {
      SetWindowLongPtrW(frame_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(page_));
      SetWindowPos(page_, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    }
    SetForegroundWindow(frame_);
    Pump(50);
  }
  ~PageHost() {
    if (frame_ != nullptr) DestroyWindow(frame_);
    input::ReleaseAll();
  }
  PageHost(const PageHost&) = delete;
  PageHost& operator=(const PageHost&) = delete;

  HWND Page() const { return page_; }
  HWND Frame() const { return frame_; }
  HWND Item(int id) const { return GetDlgItem(page_, id); }
  // Asks the page as the settings window does when it closes; the page's answer (1 accepts).
  LONG_PTR Command(int id) const {
    SetWindowLongPtrW(page_, DWLP_MSGRESULT, 0);
    SendMessageW(page_, WM_COMMAND, static_cast<WPARAM>(id), 0);
    return GetWindowLongPtrW(page_, DWLP_MSGRESULT);
  }
  void Click(int id) const { SendMessageW(Item(id), BM_CLICK, 0, 0); }
  bool Checked(int id) const { return IsDlgButtonChecked(page_, id) == BST_CHECKED; }
  bool Visible(int id) const { return IsWindowVisible(Item(id)) != FALSE; }
  bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
  std::wstring Text(int id) const {
    wchar_t buffer[128] = {};
    GetDlgItemTextW(page_, id, buffer, 128);
    return buffer;
  }
  // Chooses a list item as the user would: the page hears CBN_SELCHANGE.
  void Select(int id, int index) const {
    SendMessageW(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(page_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(id)));
  }
  int Selection(int id) const { return static_cast<int>(SendMessageW(Item(id), CB_GETCURSEL, 0, 0)); }
  // A right double-click at a screen point of the page, once the page is the window there (a
  // freshly shown window may not be in place yet) and the cursor has arrived.
  bool RightDoubleClick(POINT pt) const {
    if (!WaitFor([&] { return WindowFromPoint(pt) == page_; })) return false;
    input::MoveTo(pt.x, pt.y);
    if (!WaitFor([&] {
          POINT at;
          return GetCursorPos(&at) && at.x == pt.x && at.y == pt.y;
        })) {
      return false;
    }
    for (int i = 0; i < 2; ++i) {
      MouseAt(pt, MOUSEEVENTF_RIGHTDOWN);
      MouseAt(pt, MOUSEEVENTF_RIGHTUP);
    }
    return true;
  }
  // Screen centre of a control.
  POINT Centre(int id) const {
    RECT r;
    GetWindowRect(Item(id), &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

 private:
  static LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kHostReleaseCapture) {
      ReleaseCapture();
      return 0;
    }
    if (msg == kHostDestroyPage) {
      DestroyWindow(reinterpret_cast<HWND>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }

  HWND frame_ = nullptr;
  HWND page_ = nullptr;
};

}  // namespace pages_test
