// The wheel test application (qorv_wheel.exe): windows of the kinds the wheel path cares about,
// a log of what they receive in a named mapping, and commands sent to its scroll window.
#pragma once
#include <windows.h>

#include <cstdint>

namespace wheelapp {

// Window kinds, also the index of each window's handle in the log header.
enum Kind : uint32_t {
  kScroll,       // top-level with its own scroll bars
  kPane,         // child of kScroll without scroll bars
  kBars,         // top-level holding a pane and scroll-bar controls
  kBarsPane,     // the pane beside the controls
  kBarUpper,     // vertical scroll bar beside the upper half of the pane
  kBarLower,     // vertical scroll bar beside the lower half
  kBarHorz,      // horizontal scroll bar below the pane
  kEditHost,     // top-level with edit controls and a list
  kEdit,         // an "Edit" control
  kList,         // a "SysListView32"
  kRename,       // an "Edit" inside the list: a rename box
  kCombo,        // a drop-down combo box
  kCabinet,      // top-level of class "CabinetWClass"
  kDefView,      // its "SHELLDLL_DefView"
  kFolderList,   // the file list inside it
  kTray,         // a hidden top-level of class "Shell_TrayWnd"
  kHungPane,     // child of kScroll created by a second thread
  kKindCount
};

// Kind of the entries that witness what the main thread took from its queue, before any
// conversion could act on it or swallow it: msg is what was taken (WM_MOUSEWHEEL, or WM_NULL for a
// wheel that a hook ahead swallowed, wParam kept), lp the window it was for.
constexpr uint32_t kArrived = kKindCount;

struct Entry {
  uint32_t kind;
  uint32_t msg;
  uint64_t wp;
  int64_t lp;
  uint32_t time;  // GetTickCount when the window procedure saw it
  uint32_t pt;    // MAKELONG(x, y) of a taken message's point (kArrived entries)
};

constexpr uint32_t kMaxEntries = 8192;

struct Log {
  volatile LONG count;
  uint32_t ready;
  uint64_t windows[kKindCount];
  Entry entries[kMaxEntries];
};

// "QorvWheelLog" followed by the process id in decimal.
inline void LogName(wchar_t* out, size_t capacity, DWORD pid) {
  wsprintfW(out, L"QorvWheelLog%lu", pid);
  (void)capacity;
}

// Commands, sent to the kScroll window.
constexpr UINT kCmdSetPos = WM_APP + 1;     // wParam SB_VERT/SB_HORZ, lParam position
constexpr UINT kCmdGetPos = WM_APP + 2;     // wParam SB_VERT/SB_HORZ; result the position
constexpr UINT kCmdPeekFirst = WM_APP + 3;  // wParam 1: look at each message with PM_NOREMOVE before taking it
constexpr UINT kCmdHang = WM_APP + 4;       // posted: the main thread sleeps lParam ms, kHangingProp on meanwhile
constexpr UINT kCmdDropDown = WM_APP + 5;   // opens the combo box's list; result the list window
constexpr UINT kCmdGetSel = WM_APP + 6;     // wParam kind of an edit; result MAKELONG(start, end)
constexpr UINT kCmdFocus = WM_APP + 7;      // wParam kind: gives it the keyboard focus
constexpr UINT kCmdQuit = WM_APP + 8;
constexpr wchar_t kHangingProp[] = L"qt Hanging";
constexpr UINT kCmdPing = WM_APP + 9;       // answered by every window at once, also kHungPane's thread
constexpr UINT kCmdNewRenameBox = WM_APP + 10;  // a new rename box in kList replaces kRename; result its window
constexpr UINT kCmdMark = WM_APP + 11;          // posted to any window: recorded, so that what was posted before it has been taken

}  // namespace wheelapp
