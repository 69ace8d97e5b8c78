// The mouse hook (WH_MOUSE): sends the wheel to the window under the cursor instead of the focus
// window, optionally activating or focusing it first, reports every notch to the main program, and
// reports cursor moves while a caption-wheel function is on.
#include "common/flags.h"
#include "common/winsearch_win.h"
#include "hooklib/core_win.h"
#include "hooklib/dpi_win.h"
#include "hooklib/mouse.h"
#include "hooklib/perwindow_win.h"
#include "hooklib/scroll_win.h"
#include "hooklib/shared_state.h"
#include "hooklib/wheel.h"
#include "hooklib/win_util_win.h"

namespace qorv {
namespace {

constexpr DWORD kMoveReportIntervalMs = 10;

DWORD g_lastMoveReport;  // tick of the last cursor-move notification in this process

using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
IsWow64ProcessFn g_isWow64Process;
bool g_isWow64Resolved;

LPARAM PointParam(POINT pt) { return static_cast<LPARAM>(PackPoint(pt.x, pt.y)); }

HWND FindAncestorByExStyle(HWND hwnd, LONG_PTR required, LONG_PTR forbidden) {
  for (HWND w = hwnd; w != nullptr; w = GetParent(w)) {
    const LONG_PTR exStyle = GetWindowLongPtrW(w, GWL_EXSTYLE);
    if ((exStyle & required) == required && (exStyle & forbidden) == 0) return w;
    if ((Style(w) & WS_CHILD) == 0) break;
  }
  return nullptr;
}

// The window that an MDI activation brings forward: an "EXCEL7" sheet, else the MDI child holding W.
HWND ActivationTarget(HWND hwnd) {
  if (WindowClassIs(hwnd, L"EXCEL7", 32)) return hwnd;
  return FindAncestorByExStyle(hwnd, WS_EX_MDICHILD, 0);
}

// The windows of an MDI activation decision as it asks about them: under the cursor, the focus, and
// the child found.
struct MdiWindows {
  HWND window;
  HWND focus;
  HWND child;

  uint64_t Child() {
    child = ActivationTarget(window);
    return WndBits(child);
  }
  bool FocusInside() { return IsChild(child, focus) != FALSE; }
  bool HasPrevious() { return GetWindow(child, GW_HWNDPREV) != nullptr; }
  bool ActiveChild(uint64_t* active) {
    DWORD_PTR answer = 0;
    const bool answered =
        SendMessageTimeoutW(GetParent(child), WM_MDIGETACTIVE, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &answer) != 0;
    *active = answer;
    return answered;
  }
  bool IsSheet() { return WindowClassIs(child, L"EXCEL7", 32); }
  bool FocusHasTarget() { return ActivationTarget(focus) != nullptr; }
};

int ForegroundRule(HWND window, HWND top) {
  wchar_t windowClass[32] = {};
  wchar_t topClass[32] = {};
  GetClassNameW(window, windowClass, 32);
  GetClassNameW(top, topClass, 32);
  return ForegroundRuleForClasses(reinterpret_cast<const char16_t*>(windowClass),
                                  reinterpret_cast<const char16_t*>(topClass));
}

// Activates Y, joining the foreground thread's input state for the call; the non-null result of the
// activating call, or null. Activation and focus send to the threads of Y and of the foreground
// window and wait: nothing is done unless both have just answered.
HWND ForceActivate(HWND y) {
  HWND foreground = GetForegroundWindow();
  if (!Responsive(y) || (foreground != nullptr && !Responsive(foreground))) return nullptr;
  const DWORD me = GetCurrentThreadId();
  const DWORD threadY = GetWindowThreadProcessId(y, nullptr);
  const DWORD threadF = foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : 0;
  if (me == 0 || threadY == 0) return nullptr;
  const bool attachMe = threadF != 0 && threadF != me && AttachThreadInput(me, threadF, TRUE);
  const bool attachY = threadF != 0 && threadY != threadF && threadY != me && AttachThreadInput(threadY, threadF, TRUE);
  HWND result = nullptr;
  if ((Style(y) & WS_CHILD) != 0) {
    result = SetFocus(y);
    if (result != nullptr) {
      HWND mdiChild = FindAncestorByExStyle(y, WS_EX_MDICHILD, 0);
      if (mdiChild != nullptr) PostMessageW(mdiChild, WM_CHILDACTIVATE, 0, 0);
    }
  } else {
    result = SetActiveWindow(y);
    if (result == nullptr && SetForegroundWindow(y)) result = foreground != nullptr ? foreground : y;
  }
  if (attachY) AttachThreadInput(threadY, threadF, FALSE);
  if (attachMe) AttachThreadInput(me, threadF, FALSE);
  return result;
}

// Looks through transparent windows for the window that should get the wheel at the point.
HWND DeepTargetAt(HWND w, POINT pt) {
  const int hit = HitTest(w, pt);
  if (hit == HTHSCROLL || hit == HTVSCROLL) return w;
  HWND parent = (Style(w) & WS_CHILD) != 0 ? GetParent(w) : nullptr;
  if (parent == nullptr) {
    parent = ChildAtPoint(nullptr, pt, w, kChildVisible | kChildSkipClickThrough);
    if (parent == nullptr || GetWindowThreadProcessId(parent, nullptr) != GetWindowThreadProcessId(w, nullptr)) {
      return w;
    }
  }
  HWND found = ChildAtPoint(parent, pt, w, kChildVisible | kChildEnabled);
  return found != nullptr ? found : w;
}

}  // namespace

// 1 or 0 for a WOW64 process (null: this one), -1 when it cannot be told, -2 without IsWow64Process.
int IsWow64Window(HWND hwnd) {
  if (!g_isWow64Resolved) {
    HMODULE kernel = GetModuleHandleW(L"kernel32");
    if (kernel != nullptr) {
      g_isWow64Process = reinterpret_cast<IsWow64ProcessFn>(
          reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
    }
    g_isWow64Resolved = true;
  }
  if (g_isWow64Process == nullptr) return -2;
  HANDLE process = GetCurrentProcess();
  bool opened = false;
  if (hwnd != nullptr) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (process == nullptr) return -1;
    opened = true;
  }
  BOOL wow64 = FALSE;
  const int result = g_isWow64Process(process, &wow64) ? (wow64 ? 1 : 0) : -1;
  if (opened) CloseHandle(process);
  return result;
}

// Gate (a code other than HC_ACTION, a message other than a move or the wheel), facts (flag words,
// the window under the cursor, its row), decisions (activation, MDI activation, route), act, and the
// next hook unless the wheel was reposted.
LRESULT CALLBACK MouseHookProc(int code, WPARAM wp, LPARAM lp) {
  const HHOOK next = HookFrom32(ReadShared(g_shared.MouseHookHandle));
  const bool move = wp == WM_MOUSEMOVE || wp == WM_NCMOUSEMOVE;
  if (code != HC_ACTION || (!move && wp != WM_MOUSEWHEEL)) return CallNextHookEx(next, code, wp, lp);
  const auto* info = reinterpret_cast<const MOUSEHOOKSTRUCTEX*>(lp);
  // The event's window, not the one under the cursor: that one the wheel is rightly forwarded to.
  if (OutOfContext(info->hwnd)) return CallNextHookEx(next, code, wp, lp);
  const FlagWords flags = ReadFlags();
  const uint32_t mainFlag = flags.main;

  if (move) {
    if ((mainFlag & (main_flag::kWheelFront | main_flag::kTempTranslucent)) != 0 && ReadShared(g_shared.MouseOwner) != 0) {
      const DWORD now = GetTickCount();
      if (now - g_lastMoveReport >= kMoveReportIntervalMs) {
        // The main program works in physical pixels; this program may see its monitor scaled. A
        // move goes to the window under the cursor, which holds the point.
        POINT at = info->pt;
        DpiToPhysical(info->hwnd, &at);
        PostToOwner(g_shared.MouseOwner, g_shared.MouseNotifyMsg,
                    (static_cast<WPARAM>(info->wHitTestCode & 0xFFFF) << 16) | static_cast<WPARAM>(wp), PointParam(at));
        g_lastMoveReport = now;
      }
    }
    return CallNextHookEx(next, code, wp, lp);
  }

  HWND focus = info->hwnd;
  // Leave alone a wheel for a process of the other bitness, when asked to.
  if ((mainFlag & main_flag::kSkipOtherBitness) != 0 && focus != nullptr) {
    DWORD pid = 0;
    GetWindowThreadProcessId(focus, &pid);
    if (pid != GetCurrentProcessId() && IsWow64Window(focus) != IsWow64Window(nullptr)) {
      return CallNextHookEx(next, code, wp, lp);
    }
  }

  const POINT pt = info->pt;
  const uint32_t global = flags.wheel;
  const uint32_t extra = flags.extra;
  HWND w = WindowAtPoint(pt);
  uint32_t lookup = 0;
  uint32_t entryWord = 0;
  if ((extra & extra_flag::kMapTableOn) != 0 && w != nullptr) LookupForWindow(w, extra, &lookup, &entryWord);
  const uint32_t effective = MouseEffectiveWord(global, lookup, entryWord);
  HWND top = TopLevelOf(w);
  HWND foreground = GetForegroundWindow();
  const int delta = static_cast<short>(HIWORD(info->mouseData));
  HWND deep = nullptr;
  HWND deepTop = nullptr;
  // Read before any activation: attaching thread input resets the key state that GetKeyState
  // reports (AttachThreadInput, remarks).
  const uint32_t keys = HeldMouseKeys();

  if (w != nullptr) {
    if (WantsDeepTarget(effective, global, g_osMajorVersion)) {
      if (focus == w) {
        deep = w;
        deepTop = top;
      } else {
        deep = DeepTargetAt(w, pt);
        deepTop = deep == w ? top : TopLevelOf(deep);
      }
    }
    const bool transparent = (effective & wheel_flag::kForwardTransparent) != 0 && deep != nullptr;
    HWND x = transparent ? deep : w;
    HWND y = transparent ? deepTop : top;
    bool activated = false;

    if ((global & wheel_flag::kActivate) != 0 && y != foreground && y != nullptr) {
      const int rule = ForegroundRule(x, y);
      bool allowed = rule > 0;
      if (allowed && (mainFlag & (main_flag::kWheelFront | main_flag::kTempTranslucent)) != 0) {
        allowed = ActivationHitAllowed(CaptionTestHit(HitTest(y, pt), [&] { return OwnHitTest(y, pt); }));
      }
      if (allowed) {
        if (ForceActivate(y) != nullptr) {
          SetWindowPos(y, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS);
          if (rule < 2 && (effective & wheel_flag::kMdiActivate) == 0) return 1;  // the first notch only activates
        }
        activated = true;
      }
    }

    MdiWindows mdi = {w, focus, nullptr};
    const MdiStep step = DecideMdiActivation(
        {global, effective, activated, WndBits(w), WndBits(focus), WndBits(top), WndBits(foreground)}, mdi);
    if (step != MdiStep::kNone) {
      SetWindowPos(mdi.child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS);
      PostMessageW(mdi.child, WM_CHILDACTIVATE, 0, 0);
      if (step == MdiStep::kBringForwardConsume) return 1;
    }

    if ((effective & wheel_flag::kActivate) != 0 && !activated && y == foreground && x != nullptr &&
        GetFocus() != x && Responsive(x)) {
      SetFocus(x);
    }
  }

  if (g_osMajorVersion < 5) return CallNextHookEx(next, code, wp, lp);
  // The main program works in physical pixels, and the window the wheel is reposted to may belong
  // to a program of another DPI awareness than this one: the point crosses in physical pixels.
  POINT physical = pt;
  const bool havePhysical = DpiCursorPointToPhysical(&physical);
  // Without an owner a post would land in this thread's own queue.
  PostToOwner(g_shared.GetMsgOwner, g_shared.GetMsgNotifyMsg, NotificationCWParam(keys, delta), PointParam(physical));

  const WheelRoute route =
      DecideWheelRoute(effective, global, g_osMajorVersion, w != nullptr, deep == focus, w == focus);
  if (route == WheelRoute::kPass) return CallNextHookEx(next, code, wp, lp);
  HWND target = route == WheelRoute::kRepostToDeep ? deep : w;
  POINT at = physical;
  if (!havePhysical || !DpiToWindow(target, &at)) at = pt;
  PostMessageW(target, WM_MOUSEWHEEL, (static_cast<WPARAM>(static_cast<uint16_t>(delta)) << 16) | keys, PointParam(at));
  return 1;
}

}  // namespace qorv
