// Decisions of the wheel conversion and of the mouse hook's forwarding, as plain code: which
// conversion a notch gets, how many scroll messages or keys with which code, the precise-scrolling
// ramp, the message-table rewrites and the notifications' packing. The hook procedures gather the
// facts, call these and carry out the result.
#pragma once
#include <cstdint>

#include "common/geometry.h"
#include "common/mouse_keys.h"

namespace qorv {

// Directions, equal to the window-style bits WS_VSCROLL and WS_HSCROLL.
constexpr uint32_t kDirVert = 0x00200000;
constexpr uint32_t kDirHorz = 0x00100000;

// Scroll-bar codes and virtual keys the conversion produces.
constexpr uint32_t kSbLineUp = 0, kSbLineDown = 1, kSbPageUp = 2, kSbPageDown = 3, kSbTop = 6, kSbBottom = 7,
                   kSbEndScroll = 8;
constexpr uint32_t kVkPrior = 0x21, kVkNext = 0x22, kVkEnd = 0x23, kVkHome = 0x24, kVkLeft = 0x25, kVkUp = 0x26,
                   kVkRight = 0x27, kVkDown = 0x28;

// The count that jumps to the ends of a scroll bar.
constexpr int kCountJump = 255;

// The key state used to choose a conversion: Ctrl does not count when it switches the amount.
uint32_t ChoiceKeys(uint32_t word, uint32_t keys);
// Cursor-key mode: the direction chosen from the key state (zone: the scroll-bar band the cursor is
// on, 0 none), before the swap; 0 when nothing is chosen.
uint32_t KeyModeDirection(uint32_t word, uint32_t keys, uint32_t zone);
// Scroll-message mode without a detected scroll bar: the direction chosen from the key state, or 0.
uint32_t ScrollModeDirection(uint32_t word, uint32_t keys);

// Number of scroll messages for one notch before the ramp: 1-14 lines, 15 or more a page,
// kCountJump the ends, 0 or less no conversion.
int ScrollCount(uint32_t word, bool vertical, uint32_t zone, uint32_t keys, bool targetIsMessageWindow);

struct ScrollStep {
  uint32_t code;  // scroll-bar code
  int repeat;
};
// The code and repeat for a count and a delta; atTop: a page up is asked for at the top of the bar.
ScrollStep ScrollStepFor(int count, int delta, bool atTop);
// Whether the page-up case needs the scroll position.
inline bool NeedsPosition(int count, int delta) { return count >= 15 && count != kCountJump && delta > 0; }

struct KeyStep {
  uint32_t key;
  int repeat;
};
// Cursor keys for one notch in the direction (after the swap); repeats before the ramp, with
// rampable telling whether the ramp applies.
KeyStep KeyStepFor(uint32_t word, uint32_t direction, uint32_t zone, uint32_t keys, int delta, bool* rampable);

// The precise-scrolling ramp: 1, 2, 3 ... up to repeat while notches with the same code follow within
// the time window; timeField in units of 100 ms.
struct RampMemo {
  int repeat;
  uint32_t code;
  uint32_t time;
};
int PreciseRepeat(int repeat, uint32_t code, uint32_t time, const RampMemo& memo, uint32_t timeField);

// The hit code that a non-client left click on a rolled-up window is given, so that it cannot size
// the window: 13/16 -> left, 14/17 -> right, 9/12/15 -> nothing, caption or system menu -> nothing
// when maximised.
int RolledUpHitCode(int hit, bool maximized);

// Notification A (middle button) and B (right click while a scroll box is dragged).
uint32_t NotificationAWParam(uint32_t message, uint32_t wp);
inline uint32_t NotificationBWParam(uint32_t keys) { return (keys << 16) | 0x0204; }
// Notification C (a wheel notch seen by the mouse hook).
inline uint32_t NotificationCWParam(uint32_t keys, int delta) {
  return (keys << 24) | ((static_cast<uint32_t>(delta) & 0xFF) << 16) | 0x020A;
}

// The mouse hook's effective wheel word: an entry's word when the lookup matched with option bit 0,
// else the global word without its activation bits, which mean something else in an entry.
uint32_t MouseEffectiveWord(uint32_t globalWord, uint32_t lookupResult, uint32_t entryWheelWord);
// Whether the deep target (looking through transparent windows) is wanted.
bool WantsDeepTarget(uint32_t effective, uint32_t global, uint32_t osMajor);

// Where a wheel notch goes after activation and focus: kPass (deliver as it is), or repost to the
// window under the cursor or to the deep target and discard the original.
enum class WheelRoute { kPass, kRepostToPointer, kRepostToDeep };
// haveWindow: a window lies under the cursor; targetIsFocus: the chosen target is the window the
// message was about to reach anyway.
WheelRoute DecideWheelRoute(uint32_t effective, uint32_t global, uint32_t osMajor, bool haveWindow,
                            bool deepTargetIsFocus, bool pointerIsFocus);

// Hit codes over which the mouse hook may activate a window while a caption-wheel function is on.
bool ActivationHitAllowed(int hit);

// The hit code that the caption tests go by. The default procedure's answer, except where it says
// client area: a program that draws its own title bar (and its minimise and maximise buttons) in
// its client area says so only through its own WM_NCHITTEST, and that caption answer is taken.
// askWindow() asks the window itself; it is called only for the client area.
template <typename AskWindow>
int32_t CaptionTestHit(int32_t defaultHit, AskWindow askWindow) {
  constexpr int32_t kClient = 1, kCaption = 2, kMinButton = 8, kMaxButton = 9;
  if (defaultHit != kClient) return defaultHit;
  const int32_t own = askWindow();
  return own == kCaption || own == kMinButton || own == kMaxButton ? own : defaultHit;
}

// 0: never activate (drop-down list); 2: activate and still deliver (taskbar, desktop, band);
// 1: activate. Classes compared without regard to ASCII letter case.
int ForegroundRuleForClasses(const char16_t* windowClass, const char16_t* topClass);
bool ClassIs(const char16_t* className, const char16_t* expected);

}  // namespace qorv
