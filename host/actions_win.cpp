#include "host/actions_win.h"

#include <cwchar>
#include <utility>

#include "common/layered_win.h"
#include "common/winsearch_win.h"
#include "host/hotkeys.h"

namespace qorv {

namespace {

// Marks on the windows that the hotkey made translucent, that are kept at the bottom and that are
// translucent for the moment, so that a restarted program recognises them too.
constexpr wchar_t kPropLay[] = L"qv HkLay";
constexpr wchar_t kPropBottom[] = L"qv HkBtm";
constexpr wchar_t kPropTemporary[] = L"qv HkTmp";

constexpr UINT kPosFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS;

// A window was made temporarily translucent and may still be: only then is the cursor followed.
bool g_temporaryMade;

bool IsShellWindow(HWND hwnd) {
  wchar_t name[32];
  if (GetClassNameW(hwnd, name, 32) == 0) return true;
  return wcscmp(name, L"Progman") == 0 || wcscmp(name, L"WorkerW") == 0 || wcscmp(name, L"Shell_TrayWnd") == 0 ||
         wcscmp(name, L"Shell_SecondaryTrayWnd") == 0;
}

bool OwnLayered(HWND hwnd) {
  return (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0 && GetPropW(hwnd, kPropLay) == nullptr &&
         GetPropW(hwnd, kPropTemporary) == nullptr;
}

// Style changes send messages to the window's thread: only a window that has just answered a
// bounded send (the same probe as the library's) is restyled; a busy one is left alone rather than
// holding this program. IsHungAppWindow alone would pass a window for its first five seconds.
bool Reachable(HWND hwnd) { return IsWindow(hwnd) && !IsHungAppWindow(hwnd) && Responsive(hwnd); }

// The mark goes last: a window without it is opaque already.
void MakeOpaque(HWND hwnd, const wchar_t* prop) {
  if (IsWindow(hwnd)) {
    if (Reachable(hwnd)) {
      SetLayeredAttributes(hwnd, 0, 255, 0);
    } else if (SetLayeredAttributes(hwnd, 0, 255, LWA_ALPHA)) {
      // Busy: opaque by its alpha alone, which sends nothing to its thread; the layered style is
      // taken off once it answers (LayeredLeftRetry, health timer).
      SetPropW(hwnd, kPropLayLeft, reinterpret_cast<HANDLE>(1));
    }
  }
  RemovePropW(hwnd, prop);
}

BOOL CALLBACK RestoreProc(HWND hwnd, LPARAM) {
  if (GetPropW(hwnd, kPropLay) != nullptr) MakeOpaque(hwnd, kPropLay);
  if (GetPropW(hwnd, kPropTemporary) != nullptr) MakeOpaque(hwnd, kPropTemporary);
  RemovePropW(hwnd, kPropBottom);
  return TRUE;
}

BOOL CALLBACK KeepBottomProc(HWND hwnd, LPARAM lp) {
  if (GetPropW(hwnd, kPropBottom) != nullptr) {
    SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, kPosFlags);
    *reinterpret_cast<bool*>(lp) = true;
  }
  return TRUE;
}

BOOL CALLBACK AnyPropProc(HWND hwnd, LPARAM lp) {
  auto* what = reinterpret_cast<std::pair<const wchar_t*, bool>*>(lp);
  if (GetPropW(hwnd, what->first) != nullptr) {
    what->second = true;
    return FALSE;
  }
  return TRUE;
}

bool AnyWithProp(const wchar_t* prop) {
  std::pair<const wchar_t*, bool> what(prop, false);
  EnumWindows(AnyPropProc, reinterpret_cast<LPARAM>(&what));
  return what.second;
}

struct TemporaryAt {
  POINT pt;
};

BOOL CALLBACK CursorLeftProc(HWND hwnd, LPARAM lp) {
  if (GetPropW(hwnd, kPropTemporary) == nullptr) return TRUE;
  RECT rect;
  const POINT pt = reinterpret_cast<TemporaryAt*>(lp)->pt;
  if (!GetWindowRect(hwnd, &rect) || !PtInRect(&rect, pt)) MakeOpaque(hwnd, kPropTemporary);
  return TRUE;
}

DWORD ClassOf(PriorityLevel level) {
  switch (level) {
    case PriorityLevel::Idle:
      return IDLE_PRIORITY_CLASS;
    case PriorityLevel::BelowNormal:
      return BELOW_NORMAL_PRIORITY_CLASS;
    case PriorityLevel::Normal:
      return NORMAL_PRIORITY_CLASS;
    case PriorityLevel::AboveNormal:
      return ABOVE_NORMAL_PRIORITY_CLASS;
    case PriorityLevel::High:
      return HIGH_PRIORITY_CLASS;
    case PriorityLevel::RealTime:
      return REALTIME_PRIORITY_CLASS;
  }
  return NORMAL_PRIORITY_CLASS;
}

bool LevelOf(DWORD cls, PriorityLevel& level) {
  for (int i = 0; i <= static_cast<int>(PriorityLevel::RealTime); ++i) {
    if (ClassOf(static_cast<PriorityLevel>(i)) == cls) {
      level = static_cast<PriorityLevel>(i);
      return true;
    }
  }
  return false;
}

}  // namespace

HWND ActionTarget(HWND self) {
  HWND hwnd = GetForegroundWindow();
  if (hwnd == nullptr) return nullptr;
  hwnd = GetAncestor(hwnd, GA_ROOT);
  if (hwnd == nullptr || hwnd == GetDesktopWindow() || IsShellWindow(hwnd)) return nullptr;
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  DWORD selfPid = 0;
  GetWindowThreadProcessId(self, &selfPid);
  return pid == selfPid ? nullptr : hwnd;
}

bool ActionsCanRestyle(HWND hwnd) { return Reachable(hwnd); }

bool ActionToggleTranslucent(HWND hwnd, uint8_t alpha) {
  if (!Reachable(hwnd)) return false;
  if (GetPropW(hwnd, kPropLay) != nullptr) {
    MakeOpaque(hwnd, kPropLay);
    return true;
  }
  if (GetPropW(hwnd, kPropTemporary) != nullptr) {
    // Temporary translucency becomes the lasting kind.
    RemovePropW(hwnd, kPropTemporary);
  } else if (OwnLayered(hwnd) || alpha == 0) {
    return false;
  }
  if (!SetPropW(hwnd, kPropLay, reinterpret_cast<HANDLE>(1))) return false;
  if (ApplyAlpha(hwnd, alpha) == 0) {
    RemovePropW(hwnd, kPropLay);
    return false;
  }
  return true;
}

bool ActionToggleTopmost(HWND hwnd) {
  const bool topmost = (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (!topmost) RemovePropW(hwnd, kPropBottom);  // the two do not go together
  return SetWindowPos(hwnd, topmost ? HWND_NOTOPMOST : HWND_TOPMOST, 0, 0, 0, 0, kPosFlags) != FALSE;
}

bool ActionToggleBottom(HWND hwnd) {
  if (GetPropW(hwnd, kPropBottom) != nullptr) {
    RemovePropW(hwnd, kPropBottom);
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, kPosFlags) != FALSE;
  }
  if ((GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) {
    SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, kPosFlags);
  }
  if (!SetPropW(hwnd, kPropBottom, reinterpret_cast<HANDLE>(1))) return false;
  return SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, kPosFlags) != FALSE;
}

bool ActionStepPriority(HWND hwnd, bool up) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_SET_INFORMATION, FALSE, pid);
  if (process == nullptr) return false;
  bool done = false;
  PriorityLevel level;
  if (LevelOf(GetPriorityClass(process), level)) {
    const PriorityLevel next = PriorityStep(level, up);
    done = next != level && SetPriorityClass(process, ClassOf(next));
  }
  CloseHandle(process);
  return done;
}

bool ActionMinimize(HWND hwnd) { return PostMessageW(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0) != FALSE; }

bool ActionMaximizeOrRestore(HWND hwnd) {
  return PostMessageW(hwnd, WM_SYSCOMMAND, IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE, 0) != FALSE;
}

bool ActionClose(HWND hwnd) { return PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0) != FALSE; }

void ActionsForegroundChanged(HWND hwnd) {
  if (hwnd != nullptr && GetPropW(hwnd, kPropBottom) != nullptr) {
    SetWindowPos(hwnd, HWND_BOTTOM, 0, 0, 0, 0, kPosFlags);
  }
}

void ActionsKeepBottom() {
  bool any = false;
  EnumWindows(KeepBottomProc, reinterpret_cast<LPARAM>(&any));
}


void ActionsTemporaryTranslucent(HWND hwnd, uint8_t alpha) {
  if (alpha == 0 || !Reachable(hwnd) || GetPropW(hwnd, kPropTemporary) != nullptr || OwnLayered(hwnd) ||
      GetPropW(hwnd, kPropLay) != nullptr) {
    return;
  }
  if (!SetPropW(hwnd, kPropTemporary, reinterpret_cast<HANDLE>(1))) return;
  if (ApplyAlpha(hwnd, alpha) == 0) {
    RemovePropW(hwnd, kPropTemporary);
    return;
  }
  g_temporaryMade = true;
}

void ActionsCursorAt(int x, int y) {
  if (!g_temporaryMade) return;
  TemporaryAt at = {{x, y}};
  EnumWindows(CursorLeftProc, reinterpret_cast<LPARAM>(&at));
  g_temporaryMade = AnyWithProp(kPropTemporary);
}

bool ActionsAnyTemporary() { return AnyWithProp(kPropTemporary); }

bool ActionsFollowingCursor() { return g_temporaryMade; }

void ActionsAdoptTemporary() { g_temporaryMade = ActionsAnyTemporary(); }

void ActionsRestoreAll() { EnumWindows(RestoreProc, 0); }

}  // namespace qorv
