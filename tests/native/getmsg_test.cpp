#include "hooklib/getmsg.h"

#include <gtest/gtest.h>

#include "common/flags.h"
#include "common/mouse_keys.h"
#include "hooklib/wheel.h"

namespace qorv {
namespace {

namespace wf = wheel_flag;
namespace mf = main_flag;

// Questions a decision may ask, as bits of the fakes' asked.
enum : uint32_t {
  kClient = 0x001,
  kHit = 0x002,
  kBarKind = 0x004,
  kParent = 0x008,
  kStyle = 0x010,
  kNuiKind = 0x020,
  kNuiOwner = 0x040,
  kSearch = 0x080,
  kRolled = 0x100,
  kKeys = 0x200,
  kTaskbar = 0x400,
  kPos = 0x800,
};

// A message window with prepared answers that notes each question asked.
struct FakeWheelWindow {
  int32_t hit;
  uint32_t barKind;
  bool parent;
  uint32_t style;
  uint32_t nuiKind;
  bool nuiOwner;
  bool barFound;
  bool clientRead;
  Rect client;
  uint32_t asked;
  uint32_t searchedFor;

  bool ClientOnScreen(Rect* r) {
    asked |= kClient;
    *r = client;
    return clientRead;
  }
  int32_t BarWidth() { return 17; }
  int32_t BarHeight() { return 16; }
  int32_t HitTest() { return asked |= kHit, hit; }
  uint32_t BarKind() { return asked |= kBarKind, barKind; }
  bool HasParent() { return asked |= kParent, parent; }
  uint32_t Style() { return asked |= kStyle, style; }
  uint32_t NuiBarKind() { return asked |= kNuiKind, nuiKind; }
  bool NuiHasOwner() { return asked |= kNuiOwner, nuiOwner; }
  bool SearchBar(uint32_t direction) {
    asked |= kSearch;
    searchedFor = direction;
    return barFound;
  }
};

constexpr uint32_t kLines = wf::kVertScroll | wf::kShiftHorzScroll | (3u << 16) | (3u << 20);
constexpr uint32_t kDetect = wf::kDetectVertBar | wf::kDetectHorzBar;

struct WheelCase {
  const char* name;
  uint32_t word;
  uint32_t keys;
  FakeWheelWindow window;
  uint32_t message;
  WheelWnd target;
  WheelWnd bar;
  uint32_t direction;
  uint32_t zone;
  uint32_t asked;  // exactly the questions the decision may ask
};

FakeWheelWindow Truth(int32_t hit, uint32_t barKind, bool parent, uint32_t style, uint32_t nui, bool nuiOwner,
                      bool barFound) {
  return {hit, barKind, parent, style, nui, nuiOwner, barFound, false, {}, 0, 0};
}

TEST(WheelDecision, TargetsAndTheFactsGathered) {
  using W = WheelWnd;
  const FakeWheelWindow ownBar = Truth(0, 0, true, kDirVert | kDirHorz, 0, false, false);
  const FakeWheelWindow plainChild = Truth(1, 0, true, kWsChild, 0, false, true);
  const WheelCase cases[] = {
      {"own bar, no detection: the style alone", kLines, 0, ownBar, kWmVScroll, W::kWindow, W::kNone, kDirVert, 0,
       kStyle},
      {"Shift: horizontal", kLines, kMkShift, ownBar, kWmHScroll, W::kWindow, W::kNone, kDirHorz, 0, kStyle},
      {"Ctrl chooses nothing and asks nothing", kLines, kMkControl, ownBar, 0, W::kNone, W::kNone, 0, 0, 0},
      {"over the own vertical bar", kLines | kDetect, 0, Truth(kHtVScroll, 0, false, 0, 0, false, false), kWmVScroll,
       W::kWindow, W::kNone, kDirVert, kDirVert, kHit},
      {"horizontal bar not detected", kLines | wf::kDetectVertBar, 0, Truth(kHtHScroll, 0, false, 0, 0, false, false),
       kWmVScroll, W::kNone, W::kNone, kDirVert, 0, kHit | kBarKind | kStyle},
      {"scroll-bar control: its parent", kLines | kDetect, 0, Truth(1, kDirHorz, true, kWsChild, 0, false, false),
       kWmHScroll, W::kParent, W::kWindow, kDirHorz, kDirHorz, kHit | kBarKind | kParent},
      {"scroll-bar control without a parent", kLines | kDetect, 0, Truth(1, kDirVert, false, 0, 0, false, false),
       kWmVScroll, W::kNone, W::kNone, kDirVert, 0,
       kHit | kBarKind | kParent | kStyle},
      {"inside an NUIScrollbar", kLines | kDetect, 0, Truth(1, 0, true, kWsChild, kDirVert, true, false), kWmVScroll,
       W::kGrandParent, W::kParent, kDirVert, kDirVert,
       kHit | kBarKind | kStyle | kNuiKind | kNuiOwner},
      {"search finds a bar control", kLines | wf::kSearchScrollBar, 0, plainChild, kWmVScroll, W::kFoundBarParent,
       W::kFoundBar, kDirVert, 0, kStyle | kSearch},
      {"search finds none: the ancestor", kLines | wf::kSearchScrollBar, 0,
       Truth(1, 0, true, kWsChild, 0, false, false), kWmVScroll, W::kAncestor, W::kNone, kDirVert, 0,
       kStyle | kSearch},
      {"no search without the bit", kLines, 0, plainChild, kWmVScroll, W::kNone, W::kNone, kDirVert, 0,
       kStyle},
  };
  for (const WheelCase& c : cases) {
    FakeWheelWindow w = c.window;
    const WheelChoice d = DecideWheel(c.word, c.keys, {100, 100}, w);
    EXPECT_EQ(d.message, c.message) << c.name;
    EXPECT_EQ(d.target, c.target) << c.name;
    EXPECT_EQ(d.bar, c.bar) << c.name;
    EXPECT_EQ(d.direction, c.direction) << c.name;
    EXPECT_EQ(d.zone, c.zone) << c.name;
    EXPECT_EQ(w.asked, c.asked) << c.name;
    if ((w.asked & kSearch) != 0) {
      EXPECT_EQ(w.searchedFor, c.direction) << c.name;
    }
  }
}

TEST(WheelDecision, KeyModeZonesAtTheClientEdges) {
  FakeWheelWindow t = Truth(0, 0, false, 0, 0, false, false);
  t.client = {-200, 0, 0, 100};  // on a monitor left of the primary one; bars 17 wide, 16 high
  const uint32_t word = kLines | kDetect | wf::kCursorKeys;
  const struct {
    Point pt;
    uint32_t word;
    bool read;
    uint32_t zone;
    uint32_t direction;
  } cases[] = {
      {{-17, 50}, word, true, kDirVert, kDirVert},  // first pixel of the vertical band
      {{-18, 50}, word, true, 0, kDirVert},
      {{0, 50}, word, true, 0, kDirVert},  // right edge is outside
      {{-100, 84}, word, true, kDirHorz, kDirVert},  // the plain wheel keeps vertical keys
      {{-100, 84}, word & ~wf::kVertScroll, true, kDirHorz, kDirHorz},  // else the band chooses horizontal
      {{-100, 84}, word | wf::kSearchScrollBar, true, kDirHorz, kDirHorz},  // swapped
      {{-17, 99}, word, true, kDirVert, kDirVert},  // the corner belongs to the vertical band
      {{-17, 50}, word, false, 0, kDirVert},        // client rectangle not read
  };
  for (const auto& c : cases) {
    FakeWheelWindow w = t;
    w.clientRead = c.read;
    const WheelChoice d = DecideWheel(c.word, 0, c.pt, w);
    EXPECT_EQ(d.zone, c.zone) << c.pt.x << "," << c.pt.y;
    EXPECT_EQ(d.direction, c.direction) << c.pt.x << "," << c.pt.y;
    EXPECT_EQ(d.message, kWmKeyDown);
    EXPECT_EQ(d.target, WheelWnd::kWindow);
  }
  FakeWheelWindow w = t;
  DecideWheel(kLines | wf::kCursorKeys, 0, {0, 0}, w);
  EXPECT_EQ(w.asked, 0u);  // without detection the client rectangle is not read
}

TEST(WheelDecision, ReuseWithinTwoPixelsUnderTheSameSettings) {
  const WheelMemoKey memo = {0x1234, kLines, kMkShift, {-5, 10}};
  const struct {
    WheelMemoKey now;
    bool hasBar;
    WheelReuse expected;
  } cases[] = {
      {memo, false, WheelReuse::kYes},
      {{0x1234, kLines, kMkShift, {-3, 8}}, false, WheelReuse::kYes},
      {{0x1234, kLines, kMkShift, {-7, 12}}, true, WheelReuse::kIfBarEnabled},
      {{0x1234, kLines, kMkShift, {-2, 10}}, false, WheelReuse::kNo},
      {{0x1234, kLines, kMkShift, {-5, 13}}, false, WheelReuse::kNo},
      {{0x1235, kLines, kMkShift, {-5, 10}}, false, WheelReuse::kNo},
      {{0x1234, kLines | kDetect, kMkShift, {-5, 10}}, false, WheelReuse::kNo},
      {{0x1234, kLines, 0, {-5, 10}}, false, WheelReuse::kNo},
  };
  for (const auto& c : cases) EXPECT_EQ(DecideWheelReuse(memo, c.hasBar, c.now), c.expected);
}

struct FakeMessageWindow {
  uint32_t style;
  bool rolled;
  bool rButton;
  bool shift;
  bool control;
  bool rControl;
  bool taskbar;
  uint32_t asked;

  uint32_t Style() { return asked |= kStyle, style; }
  bool RolledUp() { return asked |= kRolled, rolled; }
  bool KeyDown(uint32_t vk) {
    asked |= kKeys;
    return vk == kVkRButton ? rButton : vk == kVkShift ? shift : vk == kVkControl ? control : vk == kVkRControl && rControl;
  }
  bool IsTaskbar() { return asked |= kTaskbar, taskbar; }
  uint32_t MessagePos() { return asked |= kPos, 0x00500060; }
};

struct MessageCase {
  const char* name;
  uint32_t message;
  uint64_t wp;
  uint32_t mainFlag;
  FakeMessageWindow window;
  uint32_t acts;
  uint32_t outMessage;
  uint64_t outWp;
  int64_t outLp;
  uint32_t notifyWp;
  int64_t notifyLp;
};

FakeMessageWindow Window(uint32_t style, bool rolled, bool rButton = false, bool shift = false, bool control = false,
                         bool rControl = false, bool taskbar = false) {
  return {style, rolled, rButton, shift, control, rControl, taskbar, 0};
}

TEST(MessageTable, Rows) {
  const uint32_t top = kWsVisible | kWsDlgFrame;
  const uint32_t all = 0xFFFFFFFF;
  const int64_t lp = 0x00200010;
  const int64_t pt = 0x00040003;  // the message's point, (3, 4)
  const MessageCase cases[] = {
      {"a message outside the table", 0x0113, 0, all, Window(top, true), 0, 0x0113, 0, lp, 0, 0},
      {"close unrolls", kWmClose, 0, 0, Window(top, true), kActUnroll, kWmClose, 0, lp, 0, 0},
      {"rolled: bottom-left frame sizes only the width", kWmNcLButtonDown, 16, 0, Window(top, true), kActRewrite,
       kWmNcLButtonDown, kHtLeft, lp, 0, 0},
      {"rolled and maximised: the caption does nothing", kWmNcLButtonDown, kHtCaption, 0,
       Window(top | kWsMaximize, true), kActRewrite, kWmNcLButtonDown, 0, lp, 0, 0},
      {"frame drag with the right button", kWmNcLButtonDown, kHtBottomRight, mf::kFrameDrag, Window(top, false, true),
       kActRewrite, kWmNcLButtonDown, kHtCaption, lp, 0, 0},
      {"dialog border drags only with a dialog frame", kWmNcLButtonDown, kHtBorder, mf::kFrameDrag,
       Window(0, false, true), 0, kWmNcLButtonDown, kHtBorder, lp, 0, 0},
      {"double click on a rolled caption", kWmNcLButtonDblClk, kHtCaption, 0, Window(top, true),
       kActBeep | kActRewrite, kWmNcLButtonDblClk, 0, lp, 0, 0},
      {"right click on the caption rolls", kWmNcRButtonDown, kHtCaption, mf::kRollUp, Window(top, false),
       kActToggleRoll, kWmNcRButtonDown, kHtCaption, lp, 0, 0},
      {"not with Shift", kWmNcRButtonDblClk, kHtCaption, mf::kRollUp, Window(top, false, false, true), 0,
       kWmNcRButtonDblClk, kHtCaption, lp, 0, 0},
      {"not a child", kWmNcRButtonDown, kHtCaption, mf::kRollUp, Window(top | kWsChild, false), 0, kWmNcRButtonDown,
       kHtCaption, lp, 0, 0},
      {"middle button on the close box", kWmNcMButtonUp, kHtClose, 0, Window(0, false), kActNotify, kWmNcMButtonUp,
       kHtClose, lp, 0x001400A8, lp},
      {"middle button in the client area of a frame", kWmNcMButtonDown, 1, 0, Window(0, false), 0, kWmNcMButtonDown,
       1, lp, 0, 0},
      {"F2", kWmKeyDown, kVkF2, mf::kRenameAid, Window(0, false), kActRename, kWmKeyDown, kVkF2, lp, 0, 0},
      {"Ctrl+A", kWmChar, 1, mf::kEditSelectAll, Window(0, false), kActSelectAll, kWmChar, 1, lp, 0, 0},
      {"no sizing while rolled", kWmSysCommand, kScSize, 0, Window(top, true), kActBeep | kActRewrite, kWmNull,
       kScSize, lp, 0, 0},
      {"moving a rolled window is fine", kWmSysCommand, kScMove, 0, Window(top, true), 0, kWmSysCommand, kScMove, lp,
       0, 0},
      {"unless it is maximised", kWmSysCommand, kScMove, 0, Window(top | kWsMaximize, true), kActBeep | kActRewrite,
       kWmNull, kScMove, lp, 0, 0},
      {"right Ctrl + both buttons + Shift sizes", kWmLButtonDown, kMkRButton | kMkShift, mf::kFrameDrag,
       Window(0, false, false, false, false, true), kActRewrite, kWmNcLButtonDown, kHtBottomRight, 0x00500060, 0, 0},
      {"without right Ctrl nothing", kWmLButtonDown, kMkRButton, mf::kFrameDrag, Window(0, false), 0, kWmLButtonDown,
       kMkRButton, lp, 0, 0},
      {"right click while a thumb is dragged, in a loop", kWmRButtonDown, kMkLButton,
       mf::kScrollPosReport | mf::kFrameDrag, Window(0, false), kActNotify | kActEscape, kWmRButtonDown, kMkLButton,
       lp, 0x00010204, 0x777},
      {"middle click on a file list", kWmMButtonDown, 0, mf::kWheelClickUpFolder, Window(0, false), kActUpFolder,
       kWmMButtonDown, 0, lp, 0x0207, pt},
      {"middle button up is only reported", kWmMButtonUp, 0, mf::kWheelClickUpFolder, Window(0, false), kActNotify,
       kWmMButtonUp, 0, lp, 0x0208, pt},
      {"middle click with Ctrl is only reported", kWmMButtonDown, kMkControl, mf::kWheelClickUpFolder,
       Window(0, false), kActNotify, kWmMButtonDown, kMkControl, lp, 0x00080207, pt},
      {"Start menu kept shut", kWmStartMenu, 0, mf::kNoWinKeyStart, Window(0, false, false, false, false, false, true),
       kActRewrite, kWmNull, 0, lp, 0, 0},
      {"Start menu with Ctrl", kWmStartMenu, 0, mf::kNoWinKeyStart, Window(0, false, false, false, true, false, true),
       0, kWmStartMenu, 0, lp, 0, 0},
  };
  for (const MessageCase& c : cases) {
    const MessageIn in = {c.message, c.wp, lp, {3, 4}, c.mainFlag, 0, true, false, 0x777, true};
    FakeMessageWindow w = c.window;
    const MessageAction a = DecideMessage(in, w);
    EXPECT_EQ(a.acts, c.acts) << c.name;
    if ((a.acts & kActRewrite) != 0) {
      EXPECT_EQ(a.message, c.outMessage) << c.name;
      EXPECT_EQ(a.wp, c.outWp) << c.name;
      EXPECT_EQ(a.lp, c.outLp) << c.name;
    }
    if ((a.acts & (kActNotify | kActUpFolder)) != 0) {
      EXPECT_EQ(a.notifyWp, c.notifyWp) << c.name;
      EXPECT_EQ(a.notifyLp, c.notifyLp) << c.name;
    }
  }
}

TEST(MessageTable, OtherMessagesAskForNothing) {
  for (uint32_t message : {0x0000u, 0x000Fu, 0x0113u, 0x0200u, 0x020Au, 0x0400u}) {
    FakeMessageWindow w = Window(kWsVisible, true, true, true, true, true, true);
    const MessageAction a = DecideMessage({message, 0, 0, {0, 0}, 0xFFFFFFFF, 0, true, false, 0, true}, w);
    EXPECT_EQ(a.acts, 0u) << message;
    EXPECT_EQ(w.asked, 0u) << message;
  }
}

TEST(MessageTable, RestoreBeforeTheRowOnlyWhileWindowsWaitAndRollUpIsOff) {
  const struct {
    uint32_t rollCount;
    uint32_t mainFlag;
    uint32_t style;
    bool restoreDone;
    uint32_t acts;
  } cases[] = {
      {1, 0, 0, false, kActRestore},
      {0, 0, 0, false, 0},
      {1, mf::kRollUp, 0, false, 0},
      {1, 0, kWsChild, false, 0},
      {1, 0, 0, true, 0},
  };
  for (const auto& c : cases) {
    FakeMessageWindow w = Window(c.style, true);
    const MessageAction a = DecideMessage({0x0113, 0, 0, {0, 0}, c.mainFlag, c.rollCount, true, c.restoreDone, 0, false}, w);
    EXPECT_EQ(a.acts, c.acts) << c.rollCount << " " << c.mainFlag << " " << c.style;
  }
}

}  // namespace
}  // namespace qorv
