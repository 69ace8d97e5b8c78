#include "hooklib/getmsg.h"

#include "common/flags.h"
#include "common/mouse_keys.h"
#include "hooklib/wheel.h"

namespace qorv {
namespace {

constexpr uint32_t kDetectBits = wheel_flag::kDetectVertBar | wheel_flag::kDetectHorzBar;

uint32_t ScrollMessageFor(uint32_t direction) { return direction == kDirVert ? kWmVScroll : kWmHScroll; }

// The detected direction of a bar of kind barKind, when the word detects bars of that direction.
uint32_t Detected(uint32_t word, uint32_t barKind) {
  if ((word & wheel_flag::kDetectVertBar) != 0 && barKind == kDirVert) return kDirVert;
  if ((word & wheel_flag::kDetectHorzBar) != 0 && barKind == kDirHorz) return kDirHorz;
  return 0;
}

WheelChoice OnBar(uint32_t direction, WheelWnd target, WheelWnd bar) {
  return {ScrollMessageFor(direction), target, bar, direction, direction};
}

WheelChoice DecideKeys(uint32_t word, uint32_t keys, Point pt, WheelFacts& f) {
  WheelChoice c = {};
  if ((word & kDetectBits) != 0) {
    Ask(f, kWheelFactClient);
    const Rect& r = f.client;
    const bool inside = f.clientRead && pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom;
    if (inside && (word & wheel_flag::kDetectVertBar) != 0 && pt.x >= r.right - f.cxVScroll) {
      c.zone = kDirVert;
    } else if (inside && (word & wheel_flag::kDetectHorzBar) != 0 && pt.y >= r.bottom - f.cyHScroll) {
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

WheelChoice DecideScroll(uint32_t word, uint32_t keys, WheelFacts& f) {
  if ((word & kDetectBits) != 0) {
    // Over the window's own bar, on a scroll-bar control, or on the inner part of an "NUIScrollbar".
    const int32_t hit = Ask(f, kWheelFactHit).hit;
    if ((word & wheel_flag::kDetectVertBar) != 0 && hit == kHtVScroll) {
      return OnBar(kDirVert, WheelWnd::kWindow, WheelWnd::kNone);
    }
    if ((word & wheel_flag::kDetectHorzBar) != 0 && hit == kHtHScroll) {
      return OnBar(kDirHorz, WheelWnd::kWindow, WheelWnd::kNone);
    }
    const uint32_t bar = Detected(word, Ask(f, kWheelFactBarKind).barKind);
    if (bar != 0 && Ask(f, kWheelFactParent).hasParent) return OnBar(bar, WheelWnd::kParent, WheelWnd::kWindow);
    if ((Ask(f, kWheelFactStyle).style & kWsChild) != 0) {
      const uint32_t nui = Detected(word, Ask(f, kWheelFactNuiKind).nuiKind);
      if (nui != 0 && Ask(f, kWheelFactNuiOwner).nuiHasOwner) {
        return OnBar(nui, WheelWnd::kGrandParent, WheelWnd::kParent);
      }
    }
  }
  WheelChoice c = {};
  c.direction = ScrollModeDirection(word, keys);
  if (c.direction == 0) return c;
  c.message = ScrollMessageFor(c.direction);
  if ((Ask(f, kWheelFactStyle).style & c.direction) != 0) {
    c.target = WheelWnd::kWindow;
  } else if ((word & wheel_flag::kSearchScrollBar) != 0) {
    f.searchDirection = c.direction;
    const bool found = Ask(f, kWheelFactBarSearch).barFound;
    c.bar = found ? WheelWnd::kFoundBar : WheelWnd::kNone;
    c.target = found ? WheelWnd::kFoundBarParent : WheelWnd::kAncestor;
  }
  return c;
}

bool Near(int32_t a, int32_t b) { return a - b <= 2 && b - a <= 2; }

bool HitIn(uint64_t hit, int32_t first, int32_t last) {
  return hit >= static_cast<uint64_t>(first) && hit <= static_cast<uint64_t>(last);
}

// Notification A for a middle-button message, with lp as its lParam.
void NotifyA(const MessageIn& in, int64_t lp, MessageAction* a) {
  a->acts |= kActNotify;
  a->notifyWp = NotificationAWParam(in.message, static_cast<uint32_t>(in.wp));
  a->notifyLp = lp;
}

void Swallow(MessageAction* a) {
  a->acts |= kActRewrite;
  a->message = kWmNull;
}

}  // namespace

WheelChoice DecideWheel(uint32_t word, uint32_t keys, Point pt, WheelFacts& facts) {
  return (word & wheel_flag::kCursorKeys) != 0 ? DecideKeys(word, keys, pt, facts) : DecideScroll(word, keys, facts);
}

WheelReuse DecideWheelReuse(const WheelMemoKey& memo, bool hasBar, const WheelMemoKey& now) {
  if (now.window != memo.window || now.word != memo.word || now.keys != memo.keys || !Near(now.pt.x, memo.pt.x) ||
      !Near(now.pt.y, memo.pt.y)) {
    return WheelReuse::kNo;
  }
  return hasBar ? WheelReuse::kIfBarEnabled : WheelReuse::kYes;
}

void DecideMessage(const MessageIn& in, MessageFacts& f, MessageAction* out) {
  const uint32_t main = in.mainFlag;
  MessageAction a = {0, in.message, in.wp, in.lp, 0, 0};
  // A window that the restore pass could not restore at once restores itself in its own thread.
  if (!in.restoreDone && in.rollCount != 0 && (main & main_flag::kRollUp) == 0 && in.hasWindow &&
      (Ask(f, kMsgFactStyle).style & kWsChild) == 0 && Ask(f, kMsgFactRolled).rolled) {
    a.acts = kActRestore;
    *out = a;
    return;
  }
  const uint64_t wp = in.wp;
  switch (in.message) {
    case kWmClose:
      if (Ask(f, kMsgFactRolled).rolled) a.acts |= kActUnroll;
      break;
    case kWmNcLButtonDown: {
      const uint32_t style = Ask(f, kMsgFactStyle).style;
      // A rolled-up window cannot be sized from its frame.
      if (Ask(f, kMsgFactRolled).rolled) {
        a.wp = static_cast<uint64_t>(RolledUpHitCode(static_cast<int>(wp), (style & kWsMaximize) != 0));
      }
      // Right button held: the frame moves the window.
      if ((main & main_flag::kFrameDrag) != 0 &&
          (HitIn(a.wp, kHtLeft, kHtBottomRight) || (a.wp == kHtBorder && (style & kWsDlgFrame) != 0)) &&
          Ask(f, kMsgFactRButton).rButton) {
        a.wp = kHtCaption;
      }
      if (a.wp != wp) a.acts |= kActRewrite;
      break;
    }
    case kWmNcLButtonDblClk:
      if (wp == kHtCaption && Ask(f, kMsgFactRolled).rolled) {
        a.acts |= kActBeep | kActRewrite;
        a.wp = 0;
      }
      break;
    case kWmNcRButtonDown:
    case kWmNcRButtonDblClk:
      if (wp == kHtCaption && (main & main_flag::kRollUp) != 0 && !Ask(f, kMsgFactShift).shift &&
          !Ask(f, kMsgFactControl).control) {
        const uint32_t style = Ask(f, kMsgFactStyle).style;
        if ((style & kWsChild) == 0 && (style & kWsVisible) != 0 && (style & kWsDlgFrame) != 0) {
          a.acts |= kActToggleRoll;
        }
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
      if (wp == kVkF2 && (main & main_flag::kRenameAid) != 0) a.acts |= kActRename;
      break;
    case kWmChar:
      if ((main & main_flag::kEditSelectAll) != 0 && wp == 1) a.acts |= kActSelectAll;  // Ctrl+A
      break;
    case kWmSysCommand:
      // A rolled-up window is not sized, nor moved, minimised or restored while maximised.
      if (Ask(f, kMsgFactRolled).rolled &&
          (wp == kScSize || wp == kScMaximize ||
           ((wp == kScMove || wp == kScMinimize || wp == kScRestore) &&
            (Ask(f, kMsgFactStyle).style & kWsMaximize) != 0))) {
        a.acts |= kActBeep;
        Swallow(&a);
      }
      break;
    case kWmLButtonDown:
      // Right button held and right Ctrl down: the click starts a move, or a size with Shift.
      if ((main & main_flag::kFrameDrag) != 0 && (wp & kMkRButton) != 0 && Ask(f, kMsgFactRControl).rControl) {
        a.acts |= kActRewrite;
        a.message = kWmNcLButtonDown;
        a.wp = (wp & kMkShift) != 0 ? kHtBottomRight : kHtCaption;
        a.lp = static_cast<int64_t>(Ask(f, kMsgFactMessagePos).messagePos);
      }
      break;
    case kWmRButtonDown:
      if ((main & main_flag::kScrollPosReport) != 0 && in.scrollTrackCtl != 0) {
        a.acts |= kActNotify;
        a.notifyWp = NotificationBWParam(static_cast<uint32_t>(wp));
        a.notifyLp = static_cast<int64_t>(in.scrollTrackCtl);
      }
      if (in.sizeMoving && (main & main_flag::kFrameDrag) != 0) a.acts |= kActEscape;
      break;
    case kWmMButtonDown:
      NotifyA(in, PackPoint(in.pt.x, in.pt.y), &a);
      if ((main & main_flag::kWheelClickUpFolder) != 0 && (wp & (kMkShift | kMkControl)) == 0) {
        a.acts = kActUpFolder;  // the notification only when no folder was opened
      }
      break;
    case kWmMButtonUp:
    case kWmMButtonDblClk:
      NotifyA(in, PackPoint(in.pt.x, in.pt.y), &a);
      break;
    case kWmStartMenu:
      if ((main & main_flag::kNoWinKeyStart) != 0 && !Ask(f, kMsgFactControl).control && Ask(f, kMsgFactTray).tray) {
        Swallow(&a);
      }
      break;
    default:
      break;
  }
  *out = a;
}

}  // namespace qorv
