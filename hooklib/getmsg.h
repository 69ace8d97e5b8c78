// Decisions of the message hook, as plain code: the target of a wheel conversion, whether the last
// one is reused, and the message table's rewrites and notifications. A decision asks the window
// (the glue's, or a test's) for each fact when it needs it, and only then: the hook runs on every
// message of every process. It returns what to do; the glue carries it out.
#pragma once
#include <cstdint>

#include "common/flags.h"
#include "common/geometry.h"
#include "common/mouse_keys.h"
#include "hooklib/wheel.h"

namespace qorv {

// Window messages, hit codes, style bits, commands and keys the decisions use; the glue checks
// them against <windows.h>.
constexpr uint32_t kWmNull = 0x0000, kWmClose = 0x0010, kWmNcLButtonDown = 0x00A1, kWmNcLButtonDblClk = 0x00A3,
                   kWmNcRButtonDown = 0x00A4, kWmNcRButtonDblClk = 0x00A6, kWmNcMButtonDown = 0x00A7,
                   kWmNcMButtonUp = 0x00A8, kWmNcMButtonDblClk = 0x00A9, kWmKeyDown = 0x0100, kWmChar = 0x0102,
                   kWmHScroll = 0x0114, kWmVScroll = 0x0115, kWmSysCommand = 0x0112, kWmLButtonDown = 0x0201,
                   kWmRButtonDown = 0x0204, kWmMButtonDown = 0x0207, kWmMButtonUp = 0x0208, kWmMButtonDblClk = 0x0209,
                   kWmStartMenu = 0x0504;  // the taskbar's Start-menu request
constexpr int32_t kHtCaption = 2, kHtSysMenu = 3, kHtHScroll = 6, kHtVScroll = 7, kHtMinButton = 8, kHtLeft = 10,
                  kHtBottomRight = 17, kHtBorder = 18, kHtClose = 20;
constexpr uint32_t kWsChild = 0x40000000, kWsVisible = 0x10000000, kWsMaximize = 0x01000000, kWsDlgFrame = 0x00400000;
constexpr uint32_t kScSize = 0xF000, kScMove = 0xF010, kScMinimize = 0xF020, kScMaximize = 0xF030, kScRestore = 0xF120;
constexpr uint32_t kVkRButton = 0x02, kVkShift = 0x10, kVkControl = 0x11, kVkF2 = 0x71, kVkRControl = 0xA3;

// --- Wheel target ---

// Which of the candidate windows a decision names; the glue holds the handles.
enum class WheelWnd : uint8_t {
  kNone,
  kWindow,       // the message window
  kParent,       // its parent
  kGrandParent,  // its parent's parent
  kFoundBar,     // the scroll-bar control that SearchBar found
  kFoundBarParent,
  kAncestor,  // the nearest visible, enabled ancestor with the direction's scroll style (searched last)
};

struct WheelChoice {
  uint32_t message;  // 0, kWmKeyDown, kWmHScroll or kWmVScroll
  WheelWnd target;
  WheelWnd bar;  // the scroll-bar control for lParam
  uint32_t direction;
  uint32_t zone;  // direction of the scroll bar the cursor is on, 0 none
};

// The direction of a bar of kind barKind when the word detects bars of that direction, else 0.
inline uint32_t DetectedBar(uint32_t word, uint32_t barKind) {
  if ((word & wheel_flag::kDetectVertBar) != 0 && barKind == kDirVert) return kDirVert;
  if ((word & wheel_flag::kDetectHorzBar) != 0 && barKind == kDirHorz) return kDirHorz;
  return 0;
}

inline uint32_t ScrollMessageFor(uint32_t direction) { return direction == kDirVert ? kWmVScroll : kWmHScroll; }

// The conversion of a wheel at pt for the effective word and the key state (low word of wParam).
// Window answers, each when asked, about the message window:
//   bool ClientOnScreen(Rect*)  its client rectangle in screen coordinates (false: not read)
//   int32_t BarWidth(), BarHeight()  SM_CXVSCROLL and SM_CYHSCROLL
//   int32_t HitTest()           the hit code of the point
//   uint32_t BarKind()          its direction as a "ScrollBar" control, 0 for another class
//   bool HasParent()
//   uint32_t Style()
//   uint32_t NuiBarKind()       the direction of its parent as an "NUIScrollbar", 0 for another
//   bool NuiHasOwner()          that parent has a parent
//   bool SearchBar(uint32_t direction)  a scroll-bar control of the direction lies beside it
template <typename Window>
WheelChoice DecideWheel(uint32_t word, uint32_t keys, Point pt, Window& w) {
  constexpr uint32_t kDetectBits = wheel_flag::kDetectVertBar | wheel_flag::kDetectHorzBar;
  WheelChoice c = {};
  if ((word & wheel_flag::kCursorKeys) != 0) {
    Rect r;
    if ((word & kDetectBits) != 0 && w.ClientOnScreen(&r) && pt.x >= r.left && pt.x < r.right && pt.y >= r.top &&
        pt.y < r.bottom) {
      if ((word & wheel_flag::kDetectVertBar) != 0 && pt.x >= r.right - w.BarWidth()) {
        c.zone = kDirVert;
      } else if ((word & wheel_flag::kDetectHorzBar) != 0 && pt.y >= r.bottom - w.BarHeight()) {
        c.zone = kDirHorz;
      }
    }
    uint32_t direction = KeyModeDirection(word, keys, c.zone);
    if (direction == 0) return c;
    if ((word & wheel_flag::kSearchScrollBar) != 0) direction = direction == kDirVert ? kDirHorz : kDirVert;
    c.message = kWmKeyDown;
    c.target = WheelWnd::kWindow;
    c.direction = direction;
    return c;
  }
  if ((word & kDetectBits) != 0) {
    // Over the window's own bar, on a scroll-bar control, or on the inner part of an "NUIScrollbar".
    const int32_t hit = w.HitTest();
    uint32_t bar = DetectedBar(word, hit == kHtVScroll ? kDirVert : hit == kHtHScroll ? kDirHorz : 0);
    if (bar != 0) return {ScrollMessageFor(bar), WheelWnd::kWindow, WheelWnd::kNone, bar, bar};
    bar = DetectedBar(word, w.BarKind());
    if (bar != 0 && w.HasParent()) return {ScrollMessageFor(bar), WheelWnd::kParent, WheelWnd::kWindow, bar, bar};
    if ((w.Style() & kWsChild) != 0) {
      bar = DetectedBar(word, w.NuiBarKind());
      if (bar != 0 && w.NuiHasOwner()) {
        return {ScrollMessageFor(bar), WheelWnd::kGrandParent, WheelWnd::kParent, bar, bar};
      }
    }
  }
  c.direction = ScrollModeDirection(word, keys);
  if (c.direction == 0) return c;
  c.message = ScrollMessageFor(c.direction);
  if ((w.Style() & c.direction) != 0) {
    c.target = WheelWnd::kWindow;
  } else if ((word & wheel_flag::kSearchScrollBar) != 0) {
    const bool found = w.SearchBar(c.direction);
    c.bar = found ? WheelWnd::kFoundBar : WheelWnd::kNone;
    c.target = found ? WheelWnd::kFoundBarParent : WheelWnd::kAncestor;
  }
  return c;
}

// What the last decision was made for.
struct WheelMemoKey {
  uint64_t window;
  uint32_t word;  // a decision made under other settings (a new word, another row) is not reused
  uint32_t keys;
  Point pt;
};
enum class WheelReuse : uint8_t { kNo, kYes, kIfBarEnabled };
// The last decision stands for the same window, word and keys within 2 pixels of its point, as long
// as its scroll-bar control (hasBar) is still enabled.
inline WheelReuse DecideWheelReuse(const WheelMemoKey& memo, bool hasBar, const WheelMemoKey& now) {
  const int32_t dx = now.pt.x - memo.pt.x;
  const int32_t dy = now.pt.y - memo.pt.y;
  if (now.window != memo.window || now.word != memo.word || now.keys != memo.keys || dx < -2 || dx > 2 || dy < -2 ||
      dy > 2) {
    return WheelReuse::kNo;
  }
  return hasBar ? WheelReuse::kIfBarEnabled : WheelReuse::kYes;
}

// --- Message table ---

struct MessageIn {
  uint32_t message;
  uint64_t wp;
  int64_t lp;
  Point pt;
  uint32_t mainFlag;
  uint32_t rollCount;  // RollCount of the shared block
  bool hasWindow;
  bool restoreDone;         // the window was restored before the table already
  uint64_t scrollTrackCtl;  // MoveSizeState: the control whose scroll box is dragged, 0 none
  bool sizeMoving;          // MoveSizeState: a move/size loop runs
};

// Things to do, in this order.
constexpr uint32_t kActRestore = 0x001;     // alone: Unroll the window, then decide again with restoreDone
constexpr uint32_t kActUnroll = 0x002;      // Unroll the window
constexpr uint32_t kActBeep = 0x004;        // MessageBeep(0)
constexpr uint32_t kActRewrite = 0x008;     // the message leaves as message, wp, lp (kWmNull swallows it)
constexpr uint32_t kActToggleRoll = 0x010;  // ToggleRoll; swallow when it acted
constexpr uint32_t kActSelectAll = 0x020;   // EditSelectAll; swallow when it acted
constexpr uint32_t kActRename = 0x040;      // RenameSelectHelper on the window
constexpr uint32_t kActUpFolder = 0x080;    // UpFolderByClick; post the notification unless it went up
constexpr uint32_t kActNotify = 0x100;      // post notifyWp, notifyLp to the main program
constexpr uint32_t kActEscape = 0x200;      // an Escape stroke

struct MessageAction {
  uint32_t acts;
  uint32_t message;
  uint64_t wp;
  int64_t lp;
  uint32_t notifyWp;
  int64_t notifyLp;
};

inline bool HitIn(uint64_t hit, int32_t first, int32_t last) {
  return hit >= static_cast<uint64_t>(first) && hit <= static_cast<uint64_t>(last);
}

// Notification A of a middle-button message, with lp as its lParam.
inline void NotifyA(const MessageIn& in, int64_t lp, MessageAction* a) {
  a->acts |= kActNotify;
  a->notifyWp = NotificationAWParam(in.message, static_cast<uint32_t>(in.wp));
  a->notifyLp = lp;
}

// The table's row for a message being removed from the queue; no act for most messages, which ask
// nothing. Window answers, each when asked, about the message window:
//   uint32_t Style()
//   bool RolledUp()
//   bool KeyDown(uint32_t vk)   kVkRButton, kVkShift, kVkControl or kVkRControl
//   bool IsTaskbar()            its class is "Shell_TrayWnd"
//   uint32_t MessagePos()       the cursor position of the message
template <typename Window>
MessageAction DecideMessage(const MessageIn& in, Window& w) {
  const uint32_t main = in.mainFlag;
  const uint64_t wp = in.wp;
  MessageAction a = {0, in.message, wp, in.lp, 0, 0};
  // A window that the restore pass could not restore at once restores itself in its own thread.
  if (!in.restoreDone && in.rollCount != 0 && (main & main_flag::kRollUp) == 0 && in.hasWindow &&
      (w.Style() & kWsChild) == 0 && w.RolledUp()) {
    a.acts = kActRestore;
    return a;
  }
  switch (in.message) {
    case kWmClose:
      if (w.RolledUp()) a.acts = kActUnroll;
      break;
    case kWmNcLButtonDown: {
      const uint32_t style = w.Style();
      // A rolled-up window cannot be sized from its frame.
      if (w.RolledUp()) a.wp = static_cast<uint64_t>(RolledUpHitCode(static_cast<int>(wp), (style & kWsMaximize) != 0));
      // Right button held: the frame moves the window.
      if ((main & main_flag::kFrameDrag) != 0 &&
          (HitIn(a.wp, kHtLeft, kHtBottomRight) || (a.wp == kHtBorder && (style & kWsDlgFrame) != 0)) &&
          w.KeyDown(kVkRButton)) {
        a.wp = kHtCaption;
      }
      if (a.wp != wp) a.acts = kActRewrite;
      break;
    }
    case kWmNcLButtonDblClk:
      if (wp == kHtCaption && w.RolledUp()) {
        a.acts = kActBeep | kActRewrite;
        a.wp = 0;
      }
      break;
    case kWmNcRButtonDown:
    case kWmNcRButtonDblClk:
      if (wp == kHtCaption && (main & main_flag::kRollUp) != 0 && !w.KeyDown(kVkShift) && !w.KeyDown(kVkControl)) {
        const uint32_t style = w.Style();
        if ((style & kWsChild) == 0 && (style & kWsVisible) != 0 && (style & kWsDlgFrame) != 0) a.acts = kActToggleRoll;
      }
      break;
    case kWmNcMButtonDown:
    case kWmNcMButtonUp:
    case kWmNcMButtonDblClk:
      if (wp == kHtCaption || wp == kHtSysMenu || HitIn(wp, kHtMinButton, kHtBorder) || wp == kHtClose) {
        NotifyA(in, in.lp, &a);
      }
      break;
    case kWmKeyDown:
      if (wp == kVkF2 && (main & main_flag::kRenameAid) != 0) a.acts = kActRename;
      break;
    case kWmChar:
      if ((main & main_flag::kEditSelectAll) != 0 && wp == 1) a.acts = kActSelectAll;  // Ctrl+A
      break;
    case kWmSysCommand:
      // A rolled-up window is not sized, nor moved, minimised or restored while maximised.
      if (w.RolledUp() &&
          (wp == kScSize || wp == kScMaximize ||
           ((wp == kScMove || wp == kScMinimize || wp == kScRestore) && (w.Style() & kWsMaximize) != 0))) {
        a.acts = kActBeep | kActRewrite;
        a.message = kWmNull;
      }
      break;
    case kWmLButtonDown:
      // Right button held and right Ctrl down: the click starts a move, or a size with Shift.
      if ((main & main_flag::kFrameDrag) != 0 && (wp & kMkRButton) != 0 && w.KeyDown(kVkRControl)) {
        a.acts = kActRewrite;
        a.message = kWmNcLButtonDown;
        a.wp = (wp & kMkShift) != 0 ? kHtBottomRight : kHtCaption;
        a.lp = static_cast<int64_t>(w.MessagePos());
      }
      break;
    case kWmRButtonDown:
      if ((main & main_flag::kScrollPosReport) != 0 && in.scrollTrackCtl != 0) {
        a.acts = kActNotify;
        a.notifyWp = NotificationBWParam(static_cast<uint32_t>(wp));
        a.notifyLp = static_cast<int64_t>(in.scrollTrackCtl);
      }
      if (in.sizeMoving && (main & main_flag::kFrameDrag) != 0) a.acts |= kActEscape;
      break;
    case kWmMButtonDown:
    case kWmMButtonUp:
    case kWmMButtonDblClk:
      NotifyA(in, PackPoint(in.pt.x, in.pt.y), &a);
      if (in.message == kWmMButtonDown && (main & main_flag::kWheelClickUpFolder) != 0 &&
          (wp & (kMkShift | kMkControl)) == 0) {
        a.acts = kActUpFolder;  // the notification only when no folder was opened
      }
      break;
    case kWmStartMenu:
      if ((main & main_flag::kNoWinKeyStart) != 0 && !w.KeyDown(kVkControl) && w.IsTaskbar()) {
        a.acts = kActRewrite;
        a.message = kWmNull;
      }
      break;
    default:
      break;
  }
  return a;
}

}  // namespace qorv
