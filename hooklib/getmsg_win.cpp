// The message hook (WH_GETMESSAGE): turns the wheel into scroll messages or cursor keys where the
// settings ask for it, swallows it over captions while a caption-wheel function is on, and makes the
// small message rewrites of the table below. It never blocks a message: it rewrites it in place
// (WM_NULL swallows it) and always calls the next hook.
#include "common/flags.h"
#include "common/winsearch_win.h"
#include "hooklib/core_win.h"
#include "hooklib/getmsg.h"
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

static_assert(kWmNcLButtonDown == WM_NCLBUTTONDOWN && kWmNcMButtonDblClk == WM_NCMBUTTONDBLCLK &&
                  kWmSysCommand == WM_SYSCOMMAND && kWmVScroll == WM_VSCROLL && kWmHScroll == WM_HSCROLL &&
                  kWmMButtonDblClk == WM_MBUTTONDBLCLK && kWmKeyDown == WM_KEYDOWN && kWmChar == WM_CHAR,
              "message ids");
static_assert(kHtCaption == HTCAPTION && kHtVScroll == HTVSCROLL && kHtHScroll == HTHSCROLL && kHtBorder == HTBORDER &&
                  kHtBottomRight == HTBOTTOMRIGHT && kHtClose == HTCLOSE,
              "hit codes");
static_assert(kWsChild == WS_CHILD && kWsVisible == WS_VISIBLE && kWsMaximize == WS_MAXIMIZE &&
                  kWsDlgFrame == WS_DLGFRAME && kScRestore == SC_RESTORE && kScSize == SC_SIZE,
              "style bits and commands");
static_assert(kVkRButton == VK_RBUTTON && kVkShift == VK_SHIFT && kVkControl == VK_CONTROL && kVkF2 == VK_F2 &&
                  kVkRControl == VK_RCONTROL,
              "virtual keys");

// The wheel conversion as decided: the message to send (0, WM_KEYDOWN, WM_HSCROLL or WM_VSCROLL),
// its target and scroll-bar control, the direction and the scroll-bar zone.
struct Decision {
  UINT scrollMsg;
  HWND target;
  HWND barCtl;
  uint32_t direction;
  uint32_t zone;
};

// Per process: the last decision, reused while the cursor stays put, and the last conversion, which
// carries the precise-scrolling ramp.
struct WheelMemo {
  WheelMemoKey key;
  Decision decision;
  RampMemo ramp;
};
WheelMemo g_memo;
// Per process: the part of a notch collected from fine wheel deltas, for one target and direction.
WheelAccum g_wheelAccum;

LRESULT Next(int code, WPARAM wp, LPARAM lp) { return CallNextHookEx(HookFrom32(g_shared.GetMsgHook), code, wp, lp); }

LRESULT Swallow(MSG* msg, int code, WPARAM wp, LPARAM lp) {
  msg->message = WM_NULL;
  return Next(code, wp, lp);
}

// The message window as the wheel decision asks about it, and the windows it may name, found while
// it asked.
struct WheelWindows {
  const MSG& msg;
  HWND parent;
  HWND grandParent;
  HWND foundBar;

  bool ClientOnScreen(Rect* rect) {
    RECT client;
    if (!GetClientRect(msg.hwnd, &client)) return false;
    POINT origin = {0, 0};
    ClientToScreen(msg.hwnd, &origin);
    OffsetRect(&client, origin.x, origin.y);
    *rect = ToRect(client);
    return true;
  }
  int32_t BarWidth() { return GetSystemMetrics(SM_CXVSCROLL); }
  int32_t BarHeight() { return GetSystemMetrics(SM_CYHSCROLL); }
  int32_t HitTest() { return qorv::HitTest(msg.hwnd, msg.pt); }
  uint32_t BarKind() { return ScrollBarKind(msg.hwnd, 0); }
  bool HasParent() {
    parent = GetParent(msg.hwnd);
    return parent != nullptr;
  }
  uint32_t Style() { return static_cast<uint32_t>(qorv::Style(msg.hwnd)); }
  uint32_t NuiBarKind() { return NuiScrollBarKind(msg.hwnd, 0); }
  bool NuiHasOwner() {
    parent = GetParent(msg.hwnd);
    grandParent = GetParent(parent);
    return grandParent != nullptr;
  }
  bool SearchBar(uint32_t direction) {
    foundBar = FindScrollBarChild(msg.hwnd, direction, msg.pt);
    return foundBar != nullptr;
  }

  HWND Named(WheelWnd which, uint32_t direction) const {
    switch (which) {
      case WheelWnd::kWindow:
        return msg.hwnd;
      case WheelWnd::kParent:
        return parent;
      case WheelWnd::kGrandParent:
        return grandParent;
      case WheelWnd::kFoundBar:
        return foundBar;
      case WheelWnd::kFoundBarParent:
        return GetParent(foundBar);
      case WheelWnd::kAncestor:
        return FindScrollableAncestor(msg.hwnd, direction | WS_VISIBLE, WS_DISABLED);
      case WheelWnd::kNone:
        break;
    }
    return nullptr;
  }
};

// A fresh decision.
Decision Decide(const MSG& msg, uint32_t word, uint32_t keys) {
  WheelWindows windows = {msg, nullptr, nullptr, nullptr};
  const WheelChoice c = DecideWheel(word, keys, {msg.pt.x, msg.pt.y}, windows);
  return {c.message, windows.Named(c.target, c.direction), windows.Named(c.bar, c.direction), c.direction, c.zone};
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
  return Field(ReadShared(g_shared.WheelFlag), wheel_flag::kPreciseTimeMask, wheel_flag::kPreciseTimeShift);
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
                                    WheelAccumPauseMs(ReadShared(g_shared.WheelFlag)));
  if (notches < 0) notches = -notches;
  return notches < kMaxNotchesPerMessage ? notches : kMaxNotchesPerMessage;
}

// Returns true when the wheel was handled (result in *result); false: go on to the message table.
bool ConvertWheel(int code, WPARAM hookWp, LPARAM hookLp, MSG* msg, LRESULT* result) {
  const int delta = static_cast<short>(HIWORD(msg->wParam));
  const uint32_t keys = LOWORD(msg->wParam);
  if (delta == 0) {
    *result = Next(code, hookWp, hookLp);
    return true;
  }
  const FlagWords flags = ReadFlags();
  const uint32_t mainFlag = flags.main;
  if ((mainFlag & main_flag::kCaptionWheelBits) != 0) {
    HWND top = TopLevelOf(msg->hwnd);
    if (top != nullptr) {
      const int hit = CaptionTestHit(HitTest(top, msg->pt), [&] { return OwnHitTest(top, msg->pt); });
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

  const WheelMemoKey now = {WndBits(msg->hwnd), word, keys, {msg->pt.x, msg->pt.y}};
  WheelReuse reuse = DecideWheelReuse(g_memo.key, g_memo.decision.barCtl != nullptr, now);
  if (reuse == WheelReuse::kIfBarEnabled && !IsWindowEnabled(g_memo.decision.barCtl)) reuse = WheelReuse::kNo;
  if (reuse == WheelReuse::kNo) {
    g_memo.decision = Decide(*msg, word, keys);
    g_memo.key = now;
  }
  const Decision d = g_memo.decision;
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

// The message window as the message table asks about it.
struct MessageWindow {
  HWND hwnd;

  uint32_t Style() { return static_cast<uint32_t>(qorv::Style(hwnd)); }
  bool RolledUp() { return IsRolledUp(hwnd) != 0; }
  bool KeyDown(uint32_t vk) { return GetKeyState(static_cast<int>(vk)) < 0; }
  bool IsTaskbar() { return WindowClassIs(hwnd, L"Shell_TrayWnd", 16); }
  uint32_t MessagePos() { return GetMessagePos(); }
};

void PressEscape() {
  const BYTE scan = static_cast<BYTE>(MapVirtualKeyW(VK_ESCAPE, 0));
  keybd_event(VK_ESCAPE, scan, 0, 0);
  keybd_event(VK_ESCAPE, scan, KEYEVENTF_KEYUP, 0);
}

// The rewrites and notifications that apply to messages being removed from the queue.
void MessageTable(MSG* msg) {
  HWND hwnd = msg->hwnd;
  MessageIn in = {msg->message,
                  msg->wParam,
                  msg->lParam,
                  {msg->pt.x, msg->pt.y},
                  ReadShared(g_shared.MainFlag),
                  ReadShared(g_shared.RollCount),
                  hwnd != nullptr,
                  false,
                  g_moveSize.ScrollTrackCtl,
                  g_moveSize.SizeMoveWnd != 0};
  MessageWindow window = {hwnd};
  MessageAction a;
  for (;;) {
    a = DecideMessage(in, window);
    if (a.acts != kActRestore) break;
    Unroll(hwnd);
    in.restoreDone = true;
  }
  if (a.acts == 0) return;
  if ((a.acts & kActUnroll) != 0) Unroll(hwnd);
  if ((a.acts & kActBeep) != 0) MessageBeep(0);
  if ((a.acts & kActRewrite) != 0) {
    msg->message = a.message;
    msg->wParam = static_cast<WPARAM>(a.wp);
    msg->lParam = static_cast<LPARAM>(a.lp);
  }
  if ((a.acts & kActToggleRoll) != 0 && ToggleRoll(hwnd) != 0) msg->message = WM_NULL;
  if ((a.acts & kActSelectAll) != 0 && EditSelectAll(hwnd) != 0) msg->message = WM_NULL;
  if ((a.acts & kActRename) != 0) RenameSelectHelper(nullptr, hwnd, 0);
  if ((a.acts & kActUpFolder) != 0 && UpFolderByClick(hwnd) <= 0) a.acts |= kActNotify;
  if ((a.acts & kActNotify) != 0) {
    PostToOwner(g_shared.GetMsgOwner, g_shared.GetMsgNotifyMsg, a.notifyWp, static_cast<LPARAM>(a.notifyLp));
  }
  if ((a.acts & kActEscape) != 0) PressEscape();
}

}  // namespace

// Gate (negative code), then for the wheel and for a message being removed: facts, decision,
// action; the next hook always.
LRESULT CALLBACK GetMsgProc(int code, WPARAM wp, LPARAM lp) {
  if (code < 0) return Next(code, wp, lp);
  MSG* msg = reinterpret_cast<MSG*>(lp);
  if (OutOfContext(msg->hwnd)) return Next(code, wp, lp);
  if (msg->message == WM_MOUSEWHEEL) {
    LRESULT result = 0;
    if (ConvertWheel(code, wp, lp, msg, &result)) return result;
  }
  if (wp == PM_REMOVE) MessageTable(msg);
  return Next(code, wp, lp);
}

}  // namespace qorv
