// Decisions of the message hook, as plain code: the target of a wheel conversion, whether the last
// one is reused, and the message table's rewrites and notifications. The glue fills in each fact a
// decision asks for, only when asked (the hook runs on every message of every process), and
// carries out what comes back.
#pragma once
#include <cstdint>

#include "common/geometry.h"
#include "hooklib/facts.h"

namespace qorv {

// Window messages, hit codes and style bits the decisions use; the glue checks them against
// <windows.h>.
constexpr uint32_t kWmNull = 0x0000, kWmClose = 0x0010, kWmNcLButtonDown = 0x00A1, kWmNcLButtonDblClk = 0x00A3,
                   kWmNcRButtonDown = 0x00A4, kWmNcRButtonDblClk = 0x00A6, kWmNcMButtonDown = 0x00A7,
                   kWmNcMButtonUp = 0x00A8, kWmNcMButtonDblClk = 0x00A9, kWmKeyDown = 0x0100, kWmChar = 0x0102,
                   kWmHScroll = 0x0114, kWmVScroll = 0x0115, kWmSysCommand = 0x0112, kWmLButtonDown = 0x0201,
                   kWmRButtonDown = 0x0204, kWmMButtonDown = 0x0207, kWmMButtonUp = 0x0208,
                   kWmMButtonDblClk = 0x0209, kWmStartMenu = 0x0504;  // the taskbar's Start-menu request
constexpr int32_t kHtCaption = 2, kHtSysMenu = 3, kHtHScroll = 6, kHtVScroll = 7, kHtMinButton = 8, kHtLeft = 10,
                  kHtBottomRight = 17, kHtBorder = 18, kHtClose = 20;
constexpr uint32_t kWsChild = 0x40000000, kWsVisible = 0x10000000, kWsMaximize = 0x01000000,
                   kWsDlgFrame = 0x00400000;
constexpr uint32_t kScSize = 0xF000, kScMove = 0xF010, kScMinimize = 0xF020, kScMaximize = 0xF030,
                   kScRestore = 0xF120;
constexpr uint32_t kVkF2 = 0x71;

// --- Wheel target ---

// Facts about the message window the wheel decision may ask for.
constexpr uint32_t kWheelFactClient = 0x01;     // client, cxVScroll, cyHScroll
constexpr uint32_t kWheelFactHit = 0x02;        // hit code of the point (DefWindowProcW)
constexpr uint32_t kWheelFactBarKind = 0x04;    // the window as a "ScrollBar" control
constexpr uint32_t kWheelFactParent = 0x08;     // whether it has a parent
constexpr uint32_t kWheelFactStyle = 0x10;      // its style
constexpr uint32_t kWheelFactNuiKind = 0x20;    // its parent as an "NUIScrollbar"
constexpr uint32_t kWheelFactNuiOwner = 0x40;   // whether that parent has a parent
constexpr uint32_t kWheelFactBarSearch = 0x80;  // a scroll-bar control beside it for searchDirection

struct WheelFacts {
  void (*fill)(void* context, uint32_t fact, WheelFacts* facts);
  void* context;
  uint32_t asked;  // facts filled in so far
  bool clientRead;
  Rect client;        // on screen
  int32_t cxVScroll;  // SM_CXVSCROLL
  int32_t cyHScroll;  // SM_CYHSCROLL
  int32_t hit;
  uint32_t barKind;  // direction of the window as a scroll-bar control, 0 none
  bool hasParent;
  uint32_t style;
  uint32_t nuiKind;  // direction of the parent as an "NUIScrollbar", 0 none
  bool nuiHasOwner;
  uint32_t searchDirection;  // set by the decision before it asks for the search
  bool barFound;
};

// Which of the candidate windows a decision names; the glue holds the handles.
enum class WheelWnd : uint8_t {
  kNone,
  kWindow,       // the message window
  kParent,       // its parent
  kGrandParent,  // its parent's parent
  kFoundBar,     // the scroll-bar control the search found
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

// The conversion of a wheel at pt for the effective word and the key state (low word of wParam).
WheelChoice DecideWheel(uint32_t word, uint32_t keys, Point pt, WheelFacts& facts);

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
WheelReuse DecideWheelReuse(const WheelMemoKey& memo, bool hasBar, const WheelMemoKey& now);

// --- Message table ---

// Facts the table may ask for.
constexpr uint32_t kMsgFactStyle = 0x01;
constexpr uint32_t kMsgFactRolled = 0x02;      // IsRolledUp
constexpr uint32_t kMsgFactRButton = 0x04;     // GetKeyState(VK_RBUTTON) < 0
constexpr uint32_t kMsgFactShift = 0x08;       // VK_SHIFT down
constexpr uint32_t kMsgFactControl = 0x10;     // VK_CONTROL down
constexpr uint32_t kMsgFactRControl = 0x20;    // VK_RCONTROL down
constexpr uint32_t kMsgFactTray = 0x40;        // the window's class is "Shell_TrayWnd"
constexpr uint32_t kMsgFactMessagePos = 0x80;  // GetMessagePos()

struct MessageFacts {
  void (*fill)(void* context, uint32_t fact, MessageFacts* facts);
  void* context;
  uint32_t asked;
  uint32_t style;
  bool rolled;
  bool rButton;
  bool shift;
  bool control;
  bool rControl;
  bool tray;
  uint32_t messagePos;
};

struct MessageIn {
  uint32_t message;
  uint64_t wp;
  int64_t lp;
  Point pt;
  uint32_t mainFlag;
  uint32_t rollCount;       // RollCount of the shared block
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

// The table's row for a message being removed from the queue; acts 0 for most messages.
void DecideMessage(const MessageIn& in, MessageFacts& facts, MessageAction* action);

}  // namespace qorv
