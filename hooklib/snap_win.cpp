#include "hooklib/snap_win.h"

#include "common/flags.h"
#include "hooklib/core_win.h"
#include "hooklib/frame_bounds.h"
#include "hooklib/frame_bounds_win.h"
#include "hooklib/movesize.h"
#include "hooklib/shared_state.h"
#include "hooklib/shims_win.h"
#include "hooklib/snap.h"
#include "hooklib/win_util_win.h"

namespace qorv {

namespace {

constexpr uint8_t kFlagSnapHide = static_cast<uint8_t>(wnd_flag::kSnapHide);
constexpr uint8_t kFlagSnapRgn = static_cast<uint8_t>(wnd_flag::kSnapRgn);
constexpr uint8_t kFlagNoSnapLay = static_cast<uint8_t>(wnd_flag::kNoSnapLay);

RECT& AsRECT(Rect& r) { return reinterpret_cast<RECT&>(r); }

bool Empty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

// Parent's client rectangle in screen coordinates.
bool ParentClientOnScreen(HWND parent, RECT* out) {
  if (parent == nullptr || !GetClientRect(parent, out)) return false;
  MapWindowPoints(parent, HWND_DESKTOP, reinterpret_cast<POINT*>(out), 2);
  return true;
}

// Samples the box's edges against what is still uncovered; the region is left unchanged.
uint32_t SampleEdges(HRGN uncovered, const RECT& box) {
  Rect strips[16];
  EdgeStrips(ToRect(box), strips);
  uint8_t hidden[4] = {0, 0, 0, 0};
  for (int i = 0; i < 16; ++i) {
    if (!RectInRegion(uncovered, &AsRECT(strips[i]))) hidden[i / 4] |= static_cast<uint8_t>(1u << (i % 4));
  }
  Point corners[4];
  EdgeCorners(ToRect(box), corners);
  EdgeSamples s = {};
  s.hiddenTop = hidden[0];
  s.hiddenBottom = hidden[1];
  s.hiddenLeft = hidden[2];
  s.hiddenRight = hidden[3];
  s.topStartCovered = !PtInRegion(uncovered, corners[0].x, corners[0].y);
  s.topEndCovered = !PtInRegion(uncovered, corners[1].x, corners[1].y);
  s.bottomStartCovered = !PtInRegion(uncovered, corners[2].x, corners[2].y);
  s.bottomEndCovered = !PtInRegion(uncovered, corners[3].x, corners[3].y);
  return EdgeWordFromSamples(s);
}

// Takes the window's shape (its window region, or the box) out of the uncovered region.
void CoverBy(HRGN uncovered, HWND hwnd, const RECT& box, const RECT& window) {
  HRGN shape = CreateRectRgnIndirect(&box);
  if (shape == nullptr) return;
  if (GetWindowRgn(hwnd, shape) < SIMPLEREGION) {
    SetRectRgn(shape, box.left, box.top, box.right, box.bottom);
  } else {
    OffsetRgn(shape, window.left, window.top);
  }
  CombineRgn(uncovered, uncovered, shape, RGN_DIFF);
  DeleteObject(shape);
}

// Facts of one WM_MOVING/WM_SIZING for the snap step; false when this step is not snapped.
bool SnapMessage(HWND hwnd, UINT msg, WPARAM wp, RECT* proposed) {
  MoveSizeState& ms = g_moveSize;
  if (proposed == nullptr || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0) return false;
  if (reinterpret_cast<uintptr_t>(hwnd) != ms.SnapWnd) return false;
  POINT pt = {};
  GetCursorPos(&pt);
  SnapStepFacts facts = {};
  RECT bound;
  if ((Style(hwnd) & WS_CHILD) != 0) {
    if (!ParentClientOnScreen(GetParent(hwnd), &bound)) return false;
    facts.bound = SnapChildBound(ToRect(bound), ms.RgnInset, ms.EffWndFlag);
  } else {
    if (!MonitorRectAtPoint(&bound, pt.x, pt.y, 1)) PrimaryWorkArea(&bound);
    facts.bound = ToRect(bound);
  }
  facts.moving = msg == WM_MOVING;
  facts.sizeEdge = static_cast<int32_t>(wp);
  facts.proposed = ToRect(*proposed);
  facts.cursor = {pt.x, pt.y};
  facts.grabCursor = facts.cursor;
  if (GetKeyState(VK_LBUTTON) < 0) {
    const DWORD pos = GetMessagePos();
    facts.grabCursor = {static_cast<int16_t>(LOWORD(pos)), static_cast<int16_t>(HIWORD(pos))};
  }
  Rect out;
  if (!SnapStep(&ms, facts, &out)) return false;
  *proposed = AsRECT(out);
  return true;
}

// A window that was subclassed again above us: SnapWndProc stays in its chain and forwards to
// PrevWndProc, which must then stay as it is until the window goes.
HWND g_buriedWnd;

void EndSubclass(HWND hwnd) {
  MoveSizeState& ms = g_moveSize;
  if (reinterpret_cast<uintptr_t>(hwnd) != ms.SnapWnd) return;
  // Restoring the previous procedure over someone else's would cut their procedure out.
  if (GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(SnapWndProc)) {
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, static_cast<LONG_PTR>(ms.PrevWndProc));
  } else {
    g_buriedWnd = hwnd;
  }
  ms.SnapWnd = 0;
}

}  // namespace

bool SnapSubclassBuried() {
  if (g_buriedWnd != nullptr && !IsWindow(g_buriedWnd)) g_buriedWnd = nullptr;
  return g_buriedWnd != nullptr;
}

void PostCallWndReport(WPARAM wp, LPARAM lp) {
  PostToOwner(g_shared.CallWndOwner, g_shared.CallWndNotifyMsg, wp, lp);
}

int WindowRegionBox(HWND hwnd, RECT* box) {
  RECT window;
  if (!GetWindowRect(hwnd, &window)) return 0;
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (region == nullptr) return 0;
  const int kind = GetWindowRgn(hwnd, region);
  int result = 1;
  if (kind >= SIMPLEREGION && GetRgnBox(region, box) != ERROR) {
    OffsetRect(box, window.left, window.top);
    result = kind;
  } else {
    *box = window;
  }
  DeleteObject(region);
  return result;
}

BOOL CALLBACK SnapTargetEnumProc(HWND hwnd, LPARAM lp) {
  auto* c = reinterpret_cast<SnapCollect*>(lp);
  if (c->rects != nullptr && c->count >= c->capacity) return FALSE;
  if (!IsWindowVisible(hwnd) || hwnd == c->self) return TRUE;
  if (c->parent != nullptr && GetParent(hwnd) != c->parent) return TRUE;
  const LONG_PTR ex = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  const bool layered = (ex & WS_EX_LAYERED) != 0;
  if ((c->flags & kFlagNoSnapLay) != 0 && layered && (ex & WS_EX_TRANSPARENT) != 0) return TRUE;
  RECT window;
  RECT box;
  if (!SnapBoxOf(hwnd, (c->flags & kFlagSnapRgn) != 0, &window, &box)) return TRUE;
  if (Empty(box)) return TRUE;
  uint32_t word = 0;
  if (c->uncovered != nullptr) {
    word = SampleEdges(c->uncovered, box);
    if (!((c->flags & kFlagNoSnapLay) != 0 && layered)) CoverBy(c->uncovered, hwnd, box, window);
    if ((word & kEdgeAllCovered) == kEdgeAllCovered) return TRUE;
  }
  if (c->edges != nullptr) c->edges[c->count] = word;
  if (c->rects != nullptr) c->rects[c->count] = ToRect(box);
  ++c->count;
  return TRUE;
}

int32_t CollectSnapTargets(Rect* rects, uint32_t* edges, int32_t capacity, uint32_t flags, HWND self, HWND parent) {
  SnapCollect c = {rects, edges, capacity, 0, static_cast<uint8_t>(flags), self, parent, nullptr};
  if ((c.flags & kFlagSnapHide) == 0) {
    if (parent != nullptr) {
      RECT client;
      if (ParentClientOnScreen(parent, &client)) c.uncovered = CreateRectRgnIndirect(&client);
    } else {
      c.uncovered = WorkAreaUnion(nullptr);
    }
  }
  if (parent != nullptr) {
    EnumChildWindows(parent, SnapTargetEnumProc, reinterpret_cast<LPARAM>(&c));
  } else {
    EnumWindows(SnapTargetEnumProc, reinterpret_cast<LPARAM>(&c));
  }
  if (c.uncovered != nullptr) DeleteObject(c.uncovered);
  return c.count;
}

LRESULT CALLBACK SnapWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  MoveSizeState& ms = g_moveSize;
  const auto prev = reinterpret_cast<WNDPROC>(ms.PrevWndProc);
  switch (msg) {
    case WM_MOVING:
    case WM_SIZING: {
      SnapMessage(hwnd, msg, wp, reinterpret_cast<RECT*>(lp));
      const LRESULT result = prev != nullptr ? CallWindowProcW(prev, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
      if (msg == WM_SIZING && (ms.EffWndFlag & wnd_flag::kShowSize) != 0 && lp != 0) {
        const RECT& r = *reinterpret_cast<const RECT*>(lp);
        PostCallWndReport((wp << 16) | WM_SIZING,
                          static_cast<LPARAM>((static_cast<uint32_t>(r.bottom - r.top) & 0xFFFF) << 16 |
                                              (static_cast<uint32_t>(r.right - r.left) & 0xFFFF)));
      }
      return result;
    }
    case WM_DPICHANGED: {
      // Moved onto a monitor of another scale, the window takes its new size now, and its invisible
      // borders change with the scale: the visible box is taken again.
      const LRESULT result =
          prev != nullptr ? CallWindowProcW(prev, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
      RECT window;
      RECT box;
      if (SnapBoxOf(hwnd, (ms.EffWndFlag & wnd_flag::kSnapRgn) != 0, &window, &box)) {
        BoxInsets(ToRect(window), ToRect(box), ms.RgnInset);
      }
      return result;
    }
    case WM_EXITSIZEMOVE:
      EndSubclass(hwnd);
      break;
    case WM_CAPTURECHANGED:
      if (ms.SnapStarted == 0) EndSubclass(hwnd);
      break;
    default:
      break;
  }
  return prev != nullptr ? CallWindowProcW(prev, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace qorv
