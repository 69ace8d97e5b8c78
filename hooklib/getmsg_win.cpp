// The message hook (WH_GETMESSAGE): turns the wheel into scroll messages or cursor keys where the
// settings ask for it, swallows it over captions while a caption-wheel function is on, and makes the
// small message rewrites of the table below. It never blocks a message: it rewrites it in place
// (WM_NULL swallows it) and always calls the next hook.
#include "common/flags.h"
#include "common/winsearch_win.h"
#include "hooklib/core_win.h"
#include "hooklib/movesize.h"
#include "hooklib/perwindow_win.h"
#include "hooklib/scroll_win.h"
#include "hooklib/shared_state.h"
#include "hooklib/wheel.h"
#include "hooklib/wheel_accum.h"
#include "hooklib/win_util_win.h"
#include "hooklib/window_win.h"

namespace qorv {
namespace {

// Per process: the last decision, reused while the cursor stays put, and the last conversion, which
// carries the precise-scrolling ramp.
struct WheelMemo {
  HWND messageWnd;
  uint32_t word;  // the effective wheel word the decision was made under
  WPARAM wp;
  POINT pt;
  UINT scrollMsg;  // 0, WM_KEYDOWN, WM_HSCROLL or WM_VSCROLL
  HWND target;
  HWND barCtl;
  uint32_t direction;
  uint32_t zone;
  RampMemo ramp;
};
WheelMemo g_memo;
// Per process: the part of a notch collected from fine wheel deltas, for one target and direction.
WheelAccum g_wheelAccum;

struct Decision {
  UINT scrollMsg;
  HWND target;
  HWND barCtl;
  uint32_t direction;
  uint32_t zone;
};

UINT ScrollMsgFor(uint32_t direction) { return direction == kDirVert ? WM_VSCROLL : WM_HSCROLL; }

LRESULT Swallow(MSG* msg, int code, WPARAM wp, LPARAM lp) {
  msg->message = WM_NULL;
  return CallNextHookEx(HookFrom32(g_shared.GetMsgHook), code, wp, lp);
}

Decision DecideKeys(const MSG& msg, uint32_t word, uint32_t keys) {
  Decision d = {};
  if ((word & (wheel_flag::kDetectVertBar | wheel_flag::kDetectHorzBar)) != 0) {
    RECT client;
    if (GetClientRect(msg.hwnd, &client)) {
      POINT origin = {0, 0};
      ClientToScreen(msg.hwnd, &origin);
      OffsetRect(&client, origin.x, origin.y);
      const POINT& p = msg.pt;
      const bool inside = p.x >= client.left && p.x < client.right && p.y >= client.top && p.y < client.bottom;
      if (inside && (word & wheel_flag::kDetectVertBar) != 0 && p.x >= client.right - GetSystemMetrics(SM_CXVSCROLL)) {
        d.zone = kDirVert;
      } else if (inside && (word & wheel_flag::kDetectHorzBar) != 0 &&
                 p.y >= client.bottom - GetSystemMetrics(SM_CYHSCROLL)) {
        d.zone = kDirHorz;
      }
    }
  }
  uint32_t direction = KeyModeDirection(word, keys, d.zone);
  if (direction == 0) return d;
  if ((word & wheel_flag::kSearchScrollBar) != 0) direction = direction == kDirVert ? kDirHorz : kDirVert;
  d.scrollMsg = WM_KEYDOWN;
  d.target = msg.hwnd;
  d.direction = direction;
  return d;
}

Decision DecideScroll(const MSG& msg, uint32_t word, uint32_t keys) {
  Decision d = {};
  HWND hwnd = msg.hwnd;
  if ((word & (wheel_flag::kDetectVertBar | wheel_flag::kDetectHorzBar)) != 0) {
    const int hit = HitTest(hwnd, msg.pt);
    if ((word & wheel_flag::kDetectVertBar) != 0 && hit == HTVSCROLL) return {WM_VSCROLL, hwnd, nullptr, kDirVert, kDirVert};
    if ((word & wheel_flag::kDetectHorzBar) != 0 && hit == HTHSCROLL) return {WM_HSCROLL, hwnd, nullptr, kDirHorz, kDirHorz};
    const uint32_t bar = ScrollBarKind(hwnd, 0);
    if (bar != 0) {
      uint32_t direction = 0;
      if ((word & wheel_flag::kDetectVertBar) != 0 && bar == kDirVert) direction = kDirVert;
      if ((word & wheel_flag::kDetectHorzBar) != 0 && bar == kDirHorz) direction = kDirHorz;
      HWND parent = GetParent(hwnd);
      if (direction != 0 && parent != nullptr) {
        return {ScrollMsgFor(direction), parent, hwnd, direction, direction};
      }
    }
    if ((Style(hwnd) & WS_CHILD) != 0) {
      const uint32_t nui = NuiScrollBarKind(hwnd, 0);
      uint32_t direction = 0;
      if ((word & wheel_flag::kDetectVertBar) != 0 && nui == kDirVert) direction = kDirVert;
      if ((word & wheel_flag::kDetectHorzBar) != 0 && nui == kDirHorz) direction = kDirHorz;
      if (direction != 0) {
        HWND nuiBar = GetParent(hwnd);
        HWND target = GetParent(nuiBar);
        if (target != nullptr) return {ScrollMsgFor(direction), target, nuiBar, direction, direction};
      }
    }
  }
  d.direction = ScrollModeDirection(word, keys);
  if (d.direction == 0) return d;
  d.scrollMsg = ScrollMsgFor(d.direction);
  if ((static_cast<uint32_t>(Style(hwnd)) & d.direction) != 0) {
    d.target = hwnd;
  } else if ((word & wheel_flag::kSearchScrollBar) != 0) {
    d.barCtl = FindScrollBarChild(hwnd, d.direction, msg.pt);
    d.target = d.barCtl != nullptr ? GetParent(d.barCtl)
                                   : FindScrollableAncestor(hwnd, d.direction | WS_VISIBLE, WS_DISABLED);
  }
  return d;
}

bool AtTopOfBar(const Decision& d) {
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  const BOOL read = d.barCtl != nullptr ? GetScrollInfo(d.barCtl, SB_CTL, &info)
                                        : GetScrollInfo(d.target, d.scrollMsg == WM_VSCROLL ? SB_VERT : SB_HORZ, &info);
  return read && info.nPos <= info.nMin;
}

uint32_t RampTimeField() {
  return Field(g_shared.WheelFlag, wheel_flag::kPreciseTimeMask, wheel_flag::kPreciseTimeShift);
}

int Ramp(uint32_t word, int repeat, uint32_t code, uint32_t time) {
  const uint32_t timeField = RampTimeField();
  if ((word & wheel_flag::kPrecise) == 0 || timeField == 0) return repeat;
  return PreciseRepeat(repeat, code, time, g_memo.ramp, timeField);
}

// A message of a huge delta (posted by some program) converts at most this many notches, so that it
// cannot flood the target.
constexpr int32_t kMaxNotchesPerMessage = 10;

// How many notches the wheel message completes for the target and direction of the decision; the
// conversion runs that many times.
int32_t WholeNotches(const Decision& d, int delta, DWORD time) {
  int32_t notches = WheelAccumulate(g_wheelAccum, reinterpret_cast<UINT_PTR>(d.target), d.direction, delta, time,
                                    WheelAccumPauseMs(g_shared.WheelFlag));
  if (notches < 0) notches = -notches;
  return notches < kMaxNotchesPerMessage ? notches : kMaxNotchesPerMessage;
}

// Returns true when the wheel was handled (result in *result); false: go on to the message table.
bool ConvertWheel(int code, WPARAM hookWp, LPARAM hookLp, MSG* msg, LRESULT* result) {
  const int delta = static_cast<short>(HIWORD(msg->wParam));
  const uint32_t keys = LOWORD(msg->wParam);
  if (delta == 0) {
    *result = CallNextHookEx(HookFrom32(g_shared.GetMsgHook), code, hookWp, hookLp);
    return true;
  }
  const FlagWords flags = ReadFlags();
  const uint32_t mainFlag = flags.main;
  if ((mainFlag & main_flag::kCaptionWheelBits) != 0) {
    HWND top = TopLevelOf(msg->hwnd);
    if (top != nullptr) {
      const int hit = HitTest(top, msg->pt);
      if (hit == HTCAPTION || (hit >= HTMINBUTTON && hit <= HTBORDER)) {
        // The top-level window may belong to another thread: restyled only when it answers.
        if ((hit == HTCAPTION || hit == HTMINBUTTON || hit == HTMAXBUTTON) &&
            (mainFlag & main_flag::kWheelTranslucent) != 0 && Responsive(top)) {
          WheelTranslucency(top, delta, keys);
        }
        *result = Swallow(msg, code, hookWp, hookLp);
        return true;
      }
    }
  }

  uint32_t word = flags.wheel;
  const uint32_t extra = flags.extra;
  if ((extra & extra_flag::kMapTableOn) != 0) {
    uint32_t entryWord = 0;
    if ((PerWindowLookup(msg->hwnd, extra, g_hostPath, g_hostNameOffset, &entryWord, nullptr) & 1) != 0) {
      word = entryWord;
    }
  }
  if ((word & 0xF0) == 0) return false;

  Decision d;
  // A decision made under other settings (a new word, another per-window row) is not reused.
  const bool reuse = msg->hwnd == g_memo.messageWnd && word == g_memo.word && LOWORD(msg->wParam) == LOWORD(g_memo.wp) &&
                     msg->pt.x - g_memo.pt.x <= 2 && g_memo.pt.x - msg->pt.x <= 2 &&
                     msg->pt.y - g_memo.pt.y <= 2 && g_memo.pt.y - msg->pt.y <= 2 &&
                     (g_memo.barCtl == nullptr || IsWindowEnabled(g_memo.barCtl));
  if (reuse) {
    d = {g_memo.scrollMsg, g_memo.target, g_memo.barCtl, g_memo.direction, g_memo.zone};
  } else {
    d = (word & wheel_flag::kCursorKeys) != 0 ? DecideKeys(*msg, word, keys) : DecideScroll(*msg, word, keys);
    g_memo.messageWnd = msg->hwnd;
    g_memo.word = word;
    g_memo.wp = msg->wParam;
    g_memo.pt = msg->pt;
    g_memo.scrollMsg = d.scrollMsg;
    g_memo.target = d.target;
    g_memo.barCtl = d.barCtl;
    g_memo.direction = d.direction;
    g_memo.zone = d.zone;
  }
  if (d.target == nullptr || d.scrollMsg == 0) return false;
  const bool removing = hookWp == PM_REMOVE;

  if (d.scrollMsg == WM_KEYDOWN) {
    *result = Swallow(msg, code, hookWp, hookLp);
    if (!removing) return true;
    for (int32_t notch = WholeNotches(d, delta, msg->time); notch > 0; --notch) {
      bool rampable = false;
      const KeyStep step = KeyStepFor(word, d.direction, d.zone, keys, delta, &rampable);
      const int repeat = rampable ? Ramp(word, step.repeat, step.key, msg->time) : step.repeat;
      g_memo.ramp.repeat = repeat;
      if (repeat > 0) {
        const LPARAM lp = static_cast<LPARAM>(MapVirtualKeyW(step.key, 0)) << 16 | 0x01000001;
        for (int i = 0; i < repeat; ++i) PostMessageW(d.target, WM_KEYDOWN, step.key, lp);
        PostMessageW(d.target, WM_KEYUP, step.key, lp | static_cast<LPARAM>(0xC0000000u));
        g_memo.ramp.code = step.key;
        g_memo.ramp.time = msg->time;
      }
    }
    return true;
  }

  const bool vertical = d.scrollMsg == WM_VSCROLL;
  const int count = ScrollCount(word, vertical, d.zone, keys, d.target == msg->hwnd);
  if (count <= 0) return false;
  *result = Swallow(msg, code, hookWp, hookLp);
  if (!removing || !IsWindowEnabled(d.target)) return true;
  for (int32_t notch = WholeNotches(d, delta, msg->time); notch > 0; --notch) {
    const ScrollStep step = ScrollStepFor(count, delta, NeedsPosition(count, delta) && AtTopOfBar(d));
    const int repeat = Ramp(word, step.repeat, step.code, msg->time);
    g_memo.ramp.repeat = repeat;
    bool sent = true;
    DWORD_PTR ignored = 0;
    for (int i = 0; i < repeat && sent; ++i) {
      sent = SendMessageTimeoutW(d.target, d.scrollMsg, step.code, reinterpret_cast<LPARAM>(d.barCtl),
                                 SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored) != 0;
    }
    if (sent) {
      SendMessageTimeoutW(d.target, d.scrollMsg, kSbEndScroll, reinterpret_cast<LPARAM>(d.barCtl), SMTO_ABORTIFHUNG,
                          kSendTimeoutMs, &ignored);
    }
    g_memo.ramp.code = step.code;
    g_memo.ramp.time = msg->time;
    if (!sent) break;
  }
  return true;
}

void PostNotification(WPARAM wp, LPARAM lp) {
  PostToOwner(g_shared.GetMsgOwner, g_shared.GetMsgNotifyMsg, wp, lp);
}

void PressEscape() {
  const BYTE scan = static_cast<BYTE>(MapVirtualKeyW(VK_ESCAPE, 0));
  keybd_event(VK_ESCAPE, scan, 0, 0);
  keybd_event(VK_ESCAPE, scan, KEYEVENTF_KEYUP, 0);
}

// The rewrites and notifications that apply to messages being removed from the queue.
void MessageTable(MSG* msg) {
  const uint32_t mainFlag = g_shared.MainFlag;
  HWND hwnd = msg->hwnd;
  // A window that the restore pass could not restore at once restores itself in its own thread.
  if (g_shared.RollCount != 0 && (mainFlag & main_flag::kRollUp) == 0 && hwnd != nullptr &&
      (Style(hwnd) & WS_CHILD) == 0 && IsRolledUp(hwnd) != 0) {
    Unroll(hwnd);
  }
  switch (msg->message) {
    case WM_CLOSE:
      if (IsRolledUp(hwnd) != 0) Unroll(hwnd);
      break;
    case WM_NCLBUTTONDOWN: {
      const LONG_PTR style = Style(hwnd);
      if (IsRolledUp(hwnd) != 0) {
        msg->wParam = static_cast<WPARAM>(RolledUpHitCode(static_cast<int>(msg->wParam), (style & WS_MAXIMIZE) != 0));
      }
      const WPARAM hit = msg->wParam;
      if ((mainFlag & main_flag::kFrameDrag) != 0 &&
          ((hit >= HTLEFT && hit <= HTBOTTOMRIGHT) || (hit == HTBORDER && (style & WS_DLGFRAME) != 0)) &&
          GetKeyState(VK_RBUTTON) < 0) {
        msg->wParam = HTCAPTION;
      }
      break;
    }
    case WM_NCLBUTTONDBLCLK:
      if (msg->wParam == HTCAPTION && IsRolledUp(hwnd) != 0) {
        MessageBeep(0);
        msg->wParam = 0;
      }
      break;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK: {
      const LONG_PTR style = Style(hwnd);
      if (msg->wParam == HTCAPTION && (mainFlag & main_flag::kRollUp) != 0 && GetKeyState(VK_SHIFT) >= 0 &&
          GetKeyState(VK_CONTROL) >= 0 && (style & WS_CHILD) == 0 && (style & WS_VISIBLE) != 0 &&
          (style & WS_DLGFRAME) != 0 && ToggleRoll(hwnd) != 0) {
        msg->message = WM_NULL;
      }
      break;
    }
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
    case WM_NCMBUTTONDBLCLK: {
      const WPARAM hit = msg->wParam;
      if (hit == HTCAPTION || hit == HTSYSMENU || (hit >= HTMINBUTTON && hit <= HTBORDER) || hit == HTCLOSE) {
        PostNotification(NotificationAWParam(msg->message, static_cast<uint32_t>(msg->wParam)), msg->lParam);
      }
      break;
    }
    case WM_KEYDOWN:
      if (msg->wParam == VK_F2 && (mainFlag & main_flag::kRenameAid) != 0) RenameSelectHelper(nullptr, hwnd, 0);
      break;
    case WM_CHAR:
      if ((mainFlag & main_flag::kEditSelectAll) != 0 && msg->wParam == 1 && EditSelectAll(hwnd) != 0) {
        msg->message = WM_NULL;
      }
      break;
    case WM_SYSCOMMAND: {
      const WPARAM command = msg->wParam;
      if (IsRolledUp(hwnd) == 0) break;
      const bool maximized = (Style(hwnd) & WS_MAXIMIZE) != 0;
      if (command == SC_SIZE || command == SC_MAXIMIZE ||
          (maximized && (command == SC_MOVE || command == SC_MINIMIZE || command == SC_RESTORE))) {
        MessageBeep(0);
        msg->message = WM_NULL;
      }
      break;
    }
    case WM_LBUTTONDOWN:
      if ((mainFlag & main_flag::kFrameDrag) != 0 && (msg->wParam & MK_RBUTTON) != 0 &&
          GetKeyState(VK_RCONTROL) < 0) {
        msg->message = WM_NCLBUTTONDOWN;
        msg->wParam = (msg->wParam & MK_SHIFT) != 0 ? HTBOTTOMRIGHT : HTCAPTION;
        msg->lParam = static_cast<LPARAM>(GetMessagePos());
      }
      break;
    case WM_RBUTTONDOWN:
      if ((mainFlag & main_flag::kScrollPosReport) != 0 && g_moveSize.ScrollTrackCtl != 0) {
        PostNotification(NotificationBWParam(static_cast<uint32_t>(msg->wParam)),
                         static_cast<LPARAM>(g_moveSize.ScrollTrackCtl));
      }
      if (g_moveSize.SizeMoveWnd != 0 && (mainFlag & main_flag::kFrameDrag) != 0) PressEscape();
      break;
    case WM_MBUTTONDOWN:
      if ((mainFlag & main_flag::kWheelClickUpFolder) != 0 && (msg->wParam & (MK_SHIFT | MK_CONTROL)) == 0 &&
          UpFolderByClick(hwnd) > 0) {
        break;
      }
      PostNotification(NotificationAWParam(msg->message, static_cast<uint32_t>(msg->wParam)),
                       static_cast<LPARAM>(PackPoint(msg->pt.x, msg->pt.y)));
      break;
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      PostNotification(NotificationAWParam(msg->message, static_cast<uint32_t>(msg->wParam)),
                       static_cast<LPARAM>(PackPoint(msg->pt.x, msg->pt.y)));
      break;
    case 0x0504:  // the taskbar's Start-menu request
      if ((mainFlag & main_flag::kNoWinKeyStart) != 0 && GetKeyState(VK_CONTROL) >= 0 &&
          WindowClassIs(hwnd, L"Shell_TrayWnd", 16)) {
        msg->message = WM_NULL;
      }
      break;
    default:
      break;
  }
}

}  // namespace

LRESULT CALLBACK GetMsgProc(int code, WPARAM wp, LPARAM lp) {
  if (code < 0) return CallNextHookEx(HookFrom32(g_shared.GetMsgHook), code, wp, lp);
  MSG* msg = reinterpret_cast<MSG*>(lp);
  if (msg->message == WM_MOUSEWHEEL) {
    LRESULT result = 0;
    if (ConvertWheel(code, wp, lp, msg, &result)) return result;
  }
  if (wp == PM_REMOVE) MessageTable(msg);
  return CallNextHookEx(HookFrom32(g_shared.GetMsgHook), code, wp, lp);
}

}  // namespace qorv
