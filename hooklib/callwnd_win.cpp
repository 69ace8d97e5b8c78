// The window-procedure hook (WH_CALLWNDPROC): tracks move/size loops, sets up snapping, makes the
// moving window translucent, and reports loops, sizes, activation and scroll-thumb drags to the
// main program. It watches a fixed set of sent messages and changes none of them; the only one it
// keeps from the window is the module-path request, which it answers itself.

#include "common/flags.h"
#include "common/layered_win.h"
#include "common/winsearch_win.h"
#include "hooklib/callwnd.h"
#include "hooklib/core_win.h"
#include "hooklib/frame_bounds.h"
#include "hooklib/frame_bounds_win.h"
#include "hooklib/movesize.h"
#include "hooklib/perwindow_win.h"
#include "hooklib/scroll_win.h"
#include "hooklib/shared_state.h"
#include "hooklib/snap_win.h"
#include "hooklib/win_util_win.h"
#include "hooklib/window_win.h"

namespace qorv {

namespace {

constexpr WPARAM kReportLoopStart = 0x00000231;
constexpr WPARAM kReportDesktopDoubleClick = 0x0000004E;
constexpr WPARAM kReportThumbCancelled = 0x0000001F;
constexpr WPARAM kReportThumbStart = 0x000F0000;
static_assert(kStyleChild == WS_CHILD && kStyleSizingFrame == (WS_THICKFRAME | WS_DLGFRAME), "style bits");
constexpr UINT kTbmGetPos = WM_USER;  // TBM_GETPOS of a trackbar

HWND Wnd(uintptr_t value) { return reinterpret_cast<HWND>(value); }
uintptr_t Handle(HWND hwnd) { return reinterpret_cast<uintptr_t>(hwnd); }
LPARAM Lp(HWND hwnd) { return reinterpret_cast<LPARAM>(hwnd); }

bool KeyDown(int vk) { return GetKeyState(vk) < 0; }

LPARAM SizeWord(int32_t width, int32_t height) {
  return static_cast<LPARAM>((static_cast<uint32_t>(height) & 0xFFFF) << 16 | (static_cast<uint32_t>(width) & 0xFFFF));
}

bool SameRect(const RECT& r, const Rect& s) {
  return r.left == s.left && r.top == s.top && r.right == s.right && r.bottom == s.bottom;
}

// Kind of a scroll control by its class: 2 scroll bar, 4 trackbar, -1 anything else.
int ScrollControlKind(HWND control) {
  if (WindowClassIs(control, L"ScrollBar", 33) || WindowClassIs(control, L"NUIScrollbar", 33)) return kTrackBarCtl;
  if (WindowClassIs(control, L"msctls_trackbar32", 33)) return kTrackTrackbar;
  return -1;
}

void MakeOpaque(HWND hwnd) { SetLayeredAttributes(hwnd, 0, 255, 0); }

void ApplyMoveAlphaOnce(uint32_t bit) {
  MoveSizeState& ms = g_moveSize;
  if ((ms.EffWndFlag & bit) != 0 && ms.MoveAlpha != 0 && ms.AlphaApplied == 0) {
    ms.AlphaApplied = ApplyAlpha(Wnd(ms.LayeredWnd), ms.MoveAlpha) != 0 ? 1 : 0;
  }
}

// The library stays loaded in a process once it has subclassed a window there: the system may
// unload a hook library when the hook is removed, and a window whose procedure is SnapWndProc
// would then call into nothing. The module that holds SnapWndProc is pinned until the process ends
// (GetModuleHandleExW, bound at run time: Windows XP and later); where that function is missing, a
// reference by the module's full path that is never given back holds it as well.
// https://learn.microsoft.com/windows/win32/api/libloaderapi/nf-libloaderapi-getmodulehandleexw
using GetModuleHandleExFn = BOOL(WINAPI*)(DWORD, LPCWSTR, HMODULE*);
bool g_pinned;

bool PinLibrary() {
  if (g_pinned) return true;
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto getModuleHandleEx =
      kernel != nullptr
          ? reinterpret_cast<GetModuleHandleExFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetModuleHandleExW")))
          : nullptr;
  HMODULE module = nullptr;
  if (getModuleHandleEx != nullptr) {
    g_pinned = getModuleHandleEx(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                                 reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(SnapWndProc)), &module) != FALSE;
    return g_pinned;
  }
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(g_libraryModule, path, MAX_PATH);
  g_pinned = length > 0 && length < MAX_PATH && LoadLibraryW(path) != nullptr;
  return g_pinned;
}

// The subclass as SubclassStepFor asks for it.
struct SubclassFacts {
  HWND hwnd;
  bool Buried() { return SnapSubclassBuried(); }
  bool Pin() { return PinLibrary(); }
  bool Ours() { return GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(SnapWndProc); }
};

// Step A: the flag word in force for this loop, and the snapping set-up.
void SetUpSnapping(HWND hwnd, LONG_PTR style) {
  MoveSizeState& ms = g_moveSize;
  const FlagWords flags = ReadFlags();
  const uint32_t wndFlag = flags.wnd;
  const uint32_t extraFlag = flags.extra;
  uint32_t entry = 0;
  uint32_t entryWndFlag = 0;
  if ((extraFlag & extra_flag::kMapTableOn) != 0) {
    entry = PerWindowLookup(hwnd, extraFlag, g_hostPath, g_hostNameOffset, nullptr, &entryWndFlag);
  }
  const uint32_t eff = EffectiveWndFlag(wndFlag, entry, entryWndFlag);
  ms.EffWndFlag = eff;
  ms.SnapPixels = static_cast<int32_t>(Field(wndFlag, wnd_flag::kSnapPixelsMask, wnd_flag::kSnapPixelsShift));

  const bool child = (style & WS_CHILD) != 0;
  if (!SnapAllowed({eff, ms.SnapPixels, IsWindow(Wnd(ms.SnapWnd)) != FALSE, static_cast<uint32_t>(style)})) return;
  // The buffer goes unchanged, holding the last values the process saw, for the window to adjust.
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&ms.MinMaxCopy), SMTO_ABORTIFHUNG,
                           kSendTimeoutMs, &answer)) {
    return;
  }
  ms.SnapCount = CollectSnapTargets(ms.SnapRects, ms.SnapEdges, static_cast<int32_t>(kMaxSnapTargets), eff, hwnd,
                                    child ? GetParent(hwnd) : nullptr);
  ms.SnapStarted = 0;
  RECT window = {};
  RECT box = {};
  SnapBoxOf(hwnd, (eff & wnd_flag::kSnapRgn) != 0, &window, &box);
  ms.SnapBaseRect = ToRect(window);
  // The window's own edges snap where they can be seen: inside its region box and its visible frame.
  BoxInsets(ToRect(window), ToRect(box), ms.RgnInset);
  SubclassFacts facts = {hwnd};
  const SubclassStep step = SubclassStepFor(facts);
  if (step == SubclassStep::kNone) return;
  if (step == SubclassStep::kOursAlready) {
    ms.SnapWnd = Handle(hwnd);
    return;
  }
  const LONG_PTR prev = SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SnapWndProc));
  ms.PrevWndProc = static_cast<uintptr_t>(prev);
  if (prev != 0) ms.SnapWnd = Handle(hwnd);
}

// Step B: translucency decided for the loop, and tracking of a top-level window.
void StartTracking(HWND hwnd) {
  MoveSizeState& ms = g_moveSize;
  if (IsWindow(Wnd(ms.LayeredWnd)) && ms.AlphaApplied != 0) {
    MakeOpaque(Wnd(ms.LayeredWnd));
    ms.LayeredWnd = 0;
  }
  const uint32_t eff = ms.EffWndFlag;
  ms.MoveAlpha = 0;
  if ((eff & (wnd_flag::kMoveTranslucent | wnd_flag::kSizeTranslucent)) != 0) {
    MoveAlphaFacts facts;
    facts.effWndFlag = eff;
    facts.wndFlag = g_shared.WndFlag;
    const LONG_PTR exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    facts.layered = (exStyle & WS_EX_LAYERED) != 0;
    facts.noRedirection = (exStyle & kExNoRedirectionBitmap) != 0;
    facts.shiftOrCtrl = KeyDown(VK_SHIFT) || KeyDown(VK_CONTROL);
    facts.directX = (eff & wnd_flag::kNoDirectXTranslucent) != 0 && DirectXInUse() != 0;
    ms.MoveAlpha = MoveAlphaFor(facts);
  }
  ms.AlphaApplied = 0;
  ms.TrackedWnd = Handle(hwnd);
  RECT window = {};
  GetWindowRect(hwnd, &window);
  ms.MoveStartRect = ToRect(window);
  ms.LayeredWnd = Handle(hwnd);
  ms.LastSizeEdge = 0;
  PostCallWndReport(kReportLoopStart, Lp(hwnd));
}

void OnEnterSizeMove(HWND hwnd) {
  MoveSizeState& ms = g_moveSize;
  const LONG_PTR style = Style(hwnd);
  SetUpSnapping(hwnd, style);
  if (ms.TrackedWnd == 0 && (style & WS_CHILD) == 0) StartTracking(hwnd);
  if (ms.SizeMoveWnd == 0) ms.SizeMoveWnd = Handle(hwnd);
}

void OnLoopEnd(HWND hwnd, UINT msg) {
  MoveSizeState& ms = g_moveSize;
  if (Handle(hwnd) == ms.TrackedWnd) {
    ms.TrackedWnd = 0;
    ms.LastSizeEdge = 0;
    PostCallWndReport(msg, Lp(hwnd));
    if (ms.AlphaApplied != 0) {
      MakeOpaque(Wnd(ms.LayeredWnd));
      ms.AlphaApplied = 0;
    }
  }
  ms.LayeredWnd = 0;
  ms.SizeMoveWnd = 0;
}

void OnSizing(HWND hwnd, WPARAM wp, LPARAM lp) {
  MoveSizeState& ms = g_moveSize;
  if (Handle(hwnd) != ms.TrackedWnd || lp == 0) return;
  const RECT& proposed = *reinterpret_cast<const RECT*>(lp);
  if (ms.LastSizeEdge != 0 || !SameRect(proposed, ms.MoveStartRect)) {
    ms.LastSizeEdge = static_cast<int32_t>(wp);
    ApplyMoveAlphaOnce(wnd_flag::kSizeTranslucent);
  }
  // While the window is subclassed, the subclass reports after snapping instead.
  if ((ms.EffWndFlag & wnd_flag::kShowSize) != 0 && ms.SnapWnd == 0) {
    PostCallWndReport((wp << 16) | WM_SIZING, SizeWord(proposed.right - proposed.left, proposed.bottom - proposed.top));
  }
}

void OnMoving(HWND hwnd) {
  MoveSizeState& ms = g_moveSize;
  if (Handle(hwnd) != ms.TrackedWnd) return;
  // A move whatever wParam says: it is documented as unused, and Wine passes 0.
  ms.LastSizeEdge = static_cast<int32_t>(kSizeEdgeMove);
  ApplyMoveAlphaOnce(wnd_flag::kMoveTranslucent);
}

void OnScroll(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  MoveSizeState& ms = g_moveSize;
  const WPARAM code = LOWORD(wp);
  const bool track = code == SB_THUMBTRACK && (ms.ScrollTrackWnd == 0 || ms.ScrollTrackWnd == Handle(hwnd));
  const bool position = code == SB_THUMBPOSITION && ms.ScrollTrackWnd != 0;
  if (!track && !position) return;
  if (ms.ScrollTrackWnd == 0 && code == SB_THUMBTRACK) {
    ms.ScrollTrackWnd = Handle(hwnd);
    HWND control = reinterpret_cast<HWND>(lp);
    int kind;
    if (control != nullptr) {
      kind = ScrollControlKind(control);
    } else {
      kind = msg == WM_HSCROLL ? kTrackHorzBar : kTrackVertBar;
      control = hwnd;
    }
    if (kind >= 0) {
      ms.ScrollTrackBar = static_cast<uint8_t>(kind);
      ms.ScrollTrackCtl = Handle(control);
      PostCallWndReport((static_cast<WPARAM>(kind) << 24) | kReportThumbStart | msg, Lp(control));
    }
  }
  if (ms.ScrollTrackWnd == Handle(hwnd) && ms.ScrollTrackCtl != 0) {
    HWND control = Wnd(ms.ScrollTrackCtl);
    LPARAM pos = 0;
    if (ms.ScrollTrackBar == kTrackTrackbar) {
      DWORD_PTR result = 0;
      SendMessageTimeoutW(control, kTbmGetPos, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
      pos = static_cast<LPARAM>(result);
    } else {
      SCROLLINFO info = {};
      info.cbSize = sizeof(info);
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(control, ms.ScrollTrackBar, &info);
      pos = info.nTrackPos;
    }
    PostCallWndReport((static_cast<WPARAM>(ms.ScrollTrackBar) << 24) | ((code & 0xFF) << 16) | msg, pos);
  }
  if (ms.ScrollTrackWnd == Handle(hwnd) && code == SB_THUMBPOSITION) {
    ms.ScrollTrackCtl = 0;
    ms.ScrollTrackWnd = 0;
  }
}

}  // namespace

// Gate (negative code, no message, the switch below as the message filter), then for each watched
// message its facts, decision and act, and the next hook; only the module-path request stops here.
LRESULT CALLBACK CallWndHookProc(int code, WPARAM wp, LPARAM lp) {
  const HHOOK next = HookFrom32(ReadShared(g_shared.CallWndHook));
  if (code < 0 || lp == 0) return CallNextHookEx(next, code, wp, lp);
  const CWPSTRUCT& m = *reinterpret_cast<const CWPSTRUCT*>(lp);
  if (OutOfContext(m.hwnd)) return CallNextHookEx(next, code, wp, lp);
  MoveSizeState& ms = g_moveSize;
  const uint32_t mainFlag = ReadShared(g_shared.MainFlag);
  switch (m.message) {
    case WM_DESTROY:
      if (Handle(m.hwnd) == ms.SnapWnd) ms.SnapWnd = 0;
      break;
    case WM_CLOSE:
      if (IsRolledUp(m.hwnd) != 0) Unroll(m.hwnd);
      break;
    case WM_CANCELMODE:
      if ((mainFlag & main_flag::kScrollPosReport) != 0 && ms.ScrollTrackWnd != 0) {
        PostCallWndReport(kReportThumbCancelled, static_cast<LPARAM>(ms.ScrollTrackWnd));
        ms.ScrollTrackWnd = 0;
      }
      break;
    case WM_GETMINMAXINFO:
      // Our own question at the start of a loop passes the copy itself.
      if (m.lParam != 0 && m.lParam != reinterpret_cast<LPARAM>(&ms.MinMaxCopy)) {
        ms.MinMaxCopy = *reinterpret_cast<const MinMaxInfo*>(m.lParam);
      }
      break;
    case WM_WINDOWPOSCHANGED:
      if (Handle(m.hwnd) == ms.TrackedWnd && ms.LastSizeEdge >= 1 && ms.LastSizeEdge <= 8 &&
          (ms.EffWndFlag & wnd_flag::kShowSize) != 0 && m.lParam != 0) {
        const WINDOWPOS& pos = *reinterpret_cast<const WINDOWPOS*>(m.lParam);
        PostCallWndReport((static_cast<WPARAM>(ms.LastSizeEdge) << 16) | WM_WINDOWPOSCHANGED, SizeWord(pos.cx, pos.cy));
      }
      break;
    case WM_NOTIFY: {
      // lParam points into the sender's memory: read only when this thread sent it itself.
      if ((mainFlag & (main_flag::kDoubleClickUpFolder | main_flag::kDesktopDblClickReport)) != 0 && m.lParam != 0 &&
          !InSendMessage()) {
        if (UpFolderByDoubleClick(m.hwnd, reinterpret_cast<const NMITEMACTIVATE*>(m.lParam),
                                  (mainFlag & main_flag::kDoubleClickUpFolder) != 0 ? 1 : 0) == -1) {
          PostCallWndReport(kReportDesktopDoubleClick, Lp(m.hwnd));
        }
      }
      break;
    }
    case WM_NCACTIVATE:
      if (m.wParam != 0 && (Style(m.hwnd) & WS_CHILD) == 0) {
        PostCallWndReport((static_cast<WPARAM>(LOWORD(m.wParam)) << 16) | WM_NCACTIVATE, Lp(m.hwnd));
      }
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if ((mainFlag & main_flag::kScrollPosReport) != 0) OnScroll(m.hwnd, m.message, m.wParam, m.lParam);
      break;
    case WM_PARENTNOTIFY:
      // Only a creation names a child window in lParam; other events carry a point there.
      if ((mainFlag & main_flag::kRenameAid) != 0 && g_osMajorVersion < 6 && LOWORD(m.wParam) == WM_CREATE) {
        RenameSelectHelper(m.hwnd, reinterpret_cast<HWND>(m.lParam), 1);
      }
      break;
    case WM_SIZING:
      OnSizing(m.hwnd, m.wParam, m.lParam);
      break;
    case WM_MOVING:
      OnMoving(m.hwnd);
      break;
    case WM_CAPTURECHANGED:
    case WM_EXITSIZEMOVE:
      OnLoopEnd(m.hwnd, m.message);
      break;
    case WM_ENTERSIZEMOVE:
      OnEnterSizeMove(m.hwnd);
      break;
    default:
      if (m.message == g_moduleQueryMsg && g_moduleQueryMsg != 0) {
        // The request is for this hook alone: answered here and never passed on.
        ModulePathAnswer(m.hwnd, m.wParam, m.lParam);
        return 0;
      }
      break;
  }
  return CallNextHookEx(next, code, wp, lp);
}

}  // namespace qorv
