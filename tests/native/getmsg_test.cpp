#include "hooklib/getmsg.h"

#include <gtest/gtest.h>

namespace qorv {
namespace {

namespace wf = wheel_flag;
namespace mf = main_flag;

// Questions a decision may ask, as bits of the fakes' asked.
enum : uint32_t { kClient = 1, kHit = 2, kBarKind = 4, kParent = 8, kStyle = 16, kNui = 32, kNuiOwner = 64,
                  kSearch = 128, kRolled = 256, kKeys = 512, kTaskbar = 1024, kPos = 2048 };

// A message window with prepared answers that notes each question asked.
struct FakeWheelWindow {
  int32_t hit = 0;
  uint32_t barKind = 0;
  bool parent = false;
  uint32_t style = 0;
  uint32_t nuiKind = 0;
  bool barFound = false;
  bool clientRead = false;
  Rect client = {};
  uint32_t asked = 0;

  bool ClientOnScreen(Rect* r) { return asked |= kClient, *r = client, clientRead; }
  int32_t BarWidth() { return 17; }
  int32_t BarHeight() { return 16; }
  int32_t HitTest() { return asked |= kHit, hit; }
  uint32_t BarKind() { return asked |= kBarKind, barKind; }
  bool HasParent() { return asked |= kParent, parent; }
  uint32_t Style() { return asked |= kStyle, style; }
  uint32_t NuiBarKind() { return asked |= kNui, nuiKind; }
  bool NuiHasOwner() { return asked |= kNuiOwner, true; }
  bool SearchBar(uint32_t direction) { return asked |= kSearch, barFound && direction == kDirVert; }
};

constexpr uint32_t kLines = wf::kVertScroll | wf::kShiftHorzScroll | (3u << 16) | (3u << 20);
constexpr uint32_t kDetect = wf::kDetectVertBar | wf::kDetectHorzBar;

TEST(WheelDecision, TargetsAskingOnlyWhatTheyNeed) {
  using W = WheelWnd;
  const struct {
    const char* name;
    uint32_t word;
    uint32_t keys;
    FakeWheelWindow window;  // hit, barKind, parent, style, nuiKind, barFound
    uint32_t message;
    W target;
    W bar;
    uint32_t zone;
    uint32_t asked;
  } cases[] = {
      {"own bar", kLines, 0, {0, 0, true, kDirVert}, kWmVScroll, W::kWindow, W::kNone, 0, kStyle},
      {"Ctrl chooses nothing", kLines, kMkControl, {0, 0, true, kDirVert}, 0, W::kNone, W::kNone, 0, 0},
      {"over the own bar", kLines | kDetect, 0, {kHtVScroll}, kWmVScroll, W::kWindow, W::kNone, kDirVert, kHit},
      {"on a bar control", kLines | kDetect, 0, {1, kDirHorz, true}, kWmHScroll, W::kParent, W::kWindow, kDirHorz,
       kHit | kBarKind | kParent},
      {"inside an NUIScrollbar", kLines | kDetect, 0, {1, 0, true, kWsChild, kDirVert}, kWmVScroll, W::kGrandParent,
       W::kParent, kDirVert, kHit | kBarKind | kStyle | kNui | kNuiOwner},
      {"search finds a bar", kLines | wf::kSearchScrollBar, 0, {1, 0, true, kWsChild, 0, true}, kWmVScroll,
       W::kFoundBarParent, W::kFoundBar, 0, kStyle | kSearch},
      {"search finds none", kLines | wf::kSearchScrollBar, 0, {1, 0, true, kWsChild}, kWmVScroll, W::kAncestor,
       W::kNone, 0, kStyle | kSearch},
      {"no search without the bit", kLines, 0, {1, 0, true, kWsChild, 0, true}, kWmVScroll, W::kNone, W::kNone, 0,
       kStyle},
  };
  for (const auto& c : cases) {
    FakeWheelWindow w = c.window;
    const WheelChoice d = DecideWheel(c.word, c.keys, {100, 100}, w);
    EXPECT_EQ(d.message, c.message) << c.name;
    EXPECT_EQ(d.target, c.target) << c.name;
    EXPECT_EQ(d.bar, c.bar) << c.name;
    EXPECT_EQ(d.zone, c.zone) << c.name;
    EXPECT_EQ(w.asked, c.asked) << c.name;
  }
}

TEST(WheelDecision, KeyModeZonesAtTheClientEdges) {
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
      {{-100, 84}, word | wf::kSearchScrollBar, true, kDirHorz, kDirHorz},  // swapped
      {{-17, 50}, word, false, 0, kDirVert},  // client rectangle not read
  };
  for (const auto& c : cases) {
    FakeWheelWindow w = {};
    w.client = {-200, 0, 0, 100};  // on a monitor left of the primary one
    w.clientRead = c.read;
    const WheelChoice d = DecideWheel(c.word, 0, c.pt, w);
    EXPECT_EQ(d.zone, c.zone) << c.pt.x << "," << c.pt.y;
    EXPECT_EQ(d.direction, c.direction) << c.pt.x << "," << c.pt.y;
    EXPECT_EQ(d.target, WheelWnd::kWindow);
  }
  FakeWheelWindow w = {};
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
      {{0x1234, kLines, kMkShift, {-3, 8}}, false, WheelReuse::kYes},
      {{0x1234, kLines, kMkShift, {-7, 12}}, true, WheelReuse::kIfBarEnabled},
      {{0x1234, kLines, kMkShift, {-2, 10}}, false, WheelReuse::kNo},
      {{0x1234, kLines, kMkShift, {-8, 7}}, false, WheelReuse::kNo},
      {{0x1235, kLines, kMkShift, {-5, 10}}, false, WheelReuse::kNo},
      {{0x1234, kLines | kDetect, kMkShift, {-5, 10}}, false, WheelReuse::kNo},
      {{0x1234, kLines, 0, {-5, 10}}, false, WheelReuse::kNo},
  };
  for (const auto& c : cases) EXPECT_EQ(DecideWheelReuse(memo, c.hasBar, c.now), c.expected);
}

struct FakeMessageWindow {
  uint32_t style = 0;
  bool rolled = false;
  bool keys = false;  // every key asked about is down
  uint32_t asked = 0;

  uint32_t Style() { return asked |= kStyle, style; }
  bool RolledUp() { return asked |= kRolled, rolled; }
  bool KeyDown(uint32_t) { return asked |= kKeys, keys; }
  bool IsTaskbar() { return asked |= kTaskbar, true; }
  uint32_t MessagePos() { return asked |= kPos, 0x00500060; }
};

TEST(MessageTable, Rows) {
  const uint32_t top = kWsVisible | kWsDlgFrame;
  const int64_t lp = 0x00200010;
  const int64_t pt = 0x00040003;  // the message's point (3, 4)
  const struct {
    const char* name;
    uint32_t message;
    uint64_t wp;
    uint32_t mainFlag;
    FakeMessageWindow window;
    uint32_t acts;
    uint32_t outMessage = 0;
    uint64_t outWp = 0;
    int64_t outLp = 0;
    uint32_t notifyWp = 0;
    int64_t notifyLp = 0;
  } cases[] = {
      {"close unrolls", kWmClose, 0, 0, {top, true}, kActUnroll},
      {"rolled: the bottom-left frame sizes only the width", kWmNcLButtonDown, 16, 0, {top, true}, kActRewrite,
       kWmNcLButtonDown, kHtLeft, lp},
      {"frame drag", kWmNcLButtonDown, kHtBottomRight, mf::kFrameDrag, {top, false, true}, kActRewrite,
       kWmNcLButtonDown, kHtCaption, lp},
      {"border drag only with a dialog frame", kWmNcLButtonDown, kHtBorder, mf::kFrameDrag, {0, false, true}, 0},
      {"right click on the caption rolls", kWmNcRButtonDown, kHtCaption, mf::kRollUp, {top}, kActToggleRoll},
      {"not with Shift or Ctrl", kWmNcRButtonDblClk, kHtCaption, mf::kRollUp, {top, false, true}, 0},
      {"middle button on the close box", kWmNcMButtonUp, kHtClose, 0, {}, kActNotify, 0, 0, 0, 0x001400A8, lp},
      {"no sizing while rolled", kWmSysCommand, kScSize, 0, {top, true}, kActBeep | kActRewrite, kWmNull, kScSize, lp},
      {"moving a rolled maximised window", kWmSysCommand, kScMove, 0, {top | kWsMaximize, true},
       kActBeep | kActRewrite, kWmNull, kScMove, lp},
      {"right Ctrl, both buttons and Shift size", kWmLButtonDown, kMkRButton | kMkShift, mf::kFrameDrag,
       {0, false, true}, kActRewrite, kWmNcLButtonDown, kHtBottomRight, 0x00500060},
      {"right click while a thumb is dragged, in a loop", kWmRButtonDown, kMkLButton,
       mf::kScrollPosReport | mf::kFrameDrag, {}, kActNotify | kActEscape, 0, 0, 0, 0x00010204, 0x777},
      {"middle click on a file list", kWmMButtonDown, 0, mf::kWheelClickUpFolder, {}, kActUpFolder, 0, 0, 0, 0x0207,
       pt},
      {"middle button up is only reported", kWmMButtonUp, 0, mf::kWheelClickUpFolder, {}, kActNotify, 0, 0, 0,
       0x0208, pt},
      {"Start menu kept shut", kWmStartMenu, 0, mf::kNoWinKeyStart, {}, kActRewrite, kWmNull, 0, lp},
  };
  for (const auto& c : cases) {
    FakeMessageWindow w = c.window;
    const MessageAction a = DecideMessage({c.message, c.wp, lp, {3, 4}, c.mainFlag, 0, true, false, 0x777, true}, w);
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

TEST(MessageTable, OtherMessagesAskNothingAndRestoreComesFirst) {
  const struct {
    uint32_t message;
    uint32_t rollCount;
    uint32_t mainFlag;
    uint32_t style;
    bool restoreDone;
    uint32_t acts;
    uint32_t asked;
  } cases[] = {
      {0x0113, 0, 0xFFFFFFFF, 0, false, 0, 0},  // WM_TIMER, the hot path
      {0x0113, 1, 0, 0, false, kActRestore, kStyle | kRolled},  // a window the restore pass left
      {0x0113, 1, mf::kRollUp, 0, false, 0, 0},
      {0x0113, 1, 0, kWsChild, false, 0, kStyle},
      {kWmClose, 1, 0, 0, true, kActUnroll, kRolled},
  };
  for (const auto& c : cases) {
    FakeMessageWindow w = {c.style, true, true, 0};
    const MessageAction a = DecideMessage({c.message, 0, 0, {0, 0}, c.mainFlag, c.rollCount, true, c.restoreDone, 1, true}, w);
    EXPECT_EQ(a.acts, c.acts) << c.message << " " << c.rollCount;
    EXPECT_EQ(w.asked, c.asked) << c.message << " " << c.rollCount;
  }
}

}  // namespace
}  // namespace qorv
