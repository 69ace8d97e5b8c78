#include "hooklib/wheel.h"

#include "common/flags.h"

namespace qorv {
namespace {

int Toggle(int count) { return count >= 15 ? 3 : 15; }

char16_t LowerAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

}  // namespace

uint32_t ChoiceKeys(uint32_t word, uint32_t keys) {
  return (word & wheel_flag::kCtrlPage) != 0 ? (keys & ~kMkControl) : keys;
}

uint32_t KeyModeDirection(uint32_t word, uint32_t keys, uint32_t zone) {
  if (zone == kDirVert) return kDirVert;
  const uint32_t choice = ChoiceKeys(word, keys);
  if ((word & wheel_flag::kVertScroll) != 0 && choice == 0) return kDirVert;
  if (zone == kDirHorz || ((word & wheel_flag::kShiftHorzScroll) != 0 && choice == kMkShift)) return kDirHorz;
  return 0;
}

uint32_t ScrollModeDirection(uint32_t word, uint32_t keys) {
  const uint32_t choice = ChoiceKeys(word, keys);
  if ((word & wheel_flag::kShiftHorzScroll) != 0 && choice == kMkShift) return kDirHorz;
  if ((word & wheel_flag::kVertScroll) != 0 && choice == 0) return kDirVert;
  return 0;
}

int ScrollCount(uint32_t word, bool vertical, uint32_t zone, uint32_t keys, bool targetIsMessageWindow) {
  int count = static_cast<int>(vertical ? Field(word, wheel_flag::kVertCountMask, wheel_flag::kVertCountShift)
                                        : Field(word, wheel_flag::kHorzCountMask, wheel_flag::kHorzCountShift));
  const bool shiftOrCtrl = (keys & (kMkShift | kMkControl)) != 0;
  if (zone != 0) {
    if (((keys & kMkShift) != 0 && (keys & kMkControl) != 0) || (keys & kMkMButton) != 0) return kCountJump;
    if (targetIsMessageWindow && vertical && (word & wheel_flag::kVertScroll) != 0) {
      if (!shiftOrCtrl) count = Toggle(count);
    } else if (shiftOrCtrl) {
      count = Toggle(count);
    }
  } else if ((word & wheel_flag::kCtrlPage) != 0 && (keys & kMkControl) != 0) {
    count = Toggle(count);
  }
  return count;
}

ScrollStep ScrollStepFor(int count, int delta, bool atTop) {
  if (count == kCountJump) return {delta > 0 ? kSbTop : kSbBottom, 1};
  if (count >= 15) {
    if (delta <= 0) return {kSbPageDown, 1};
    return atTop ? ScrollStep{kSbLineUp, 3} : ScrollStep{kSbPageUp, 1};
  }
  return {delta > 0 ? kSbLineUp : kSbLineDown, count};
}

KeyStep KeyStepFor(uint32_t word, uint32_t direction, uint32_t zone, uint32_t keys, int delta, bool* rampable) {
  *rampable = false;
  if (direction == kDirHorz) {
    int count = static_cast<int>(Field(word, wheel_flag::kHorzCountMask, wheel_flag::kHorzCountShift));
    if ((word & wheel_flag::kPrecise) != 0) count *= 2;
    const uint32_t key = delta > 0 ? kVkLeft : kVkRight;
    if (count >= 15) return {key, 6};
    *rampable = count > 0;
    return {key, count};
  }
  int count = static_cast<int>(Field(word, wheel_flag::kVertCountMask, wheel_flag::kVertCountShift));
  const bool shiftOrCtrl = (keys & (kMkShift | kMkControl)) != 0;
  if (zone != 0) {
    if (((keys & kMkShift) != 0 && (keys & kMkControl) != 0) || (keys & kMkMButton) != 0) {
      return {delta > 0 ? kVkHome : kVkEnd, 1};
    }
    if (shiftOrCtrl) count = Toggle(count);
  } else if ((word & wheel_flag::kCtrlPage) != 0 && (keys & kMkControl) != 0) {
    count = Toggle(count);
  }
  if (count >= 15) return {delta > 0 ? kVkPrior : kVkNext, 1};
  *rampable = count > 0;
  return {delta > 0 ? kVkUp : kVkDown, count};
}

int PreciseRepeat(int repeat, uint32_t code, uint32_t time, const RampMemo& memo, uint32_t timeField) {
  if (time - memo.time > timeField * 100 || code != memo.code) return 1;
  if (memo.repeat < repeat) return memo.repeat + 1;
  return repeat;
}

int RolledUpHitCode(int hit, bool maximized) {
  switch (hit) {
    case 13:
    case 16:
      return 10;  // HTLEFT: only the width can change
    case 14:
    case 17:
      return 11;  // HTRIGHT
    case 9:
    case 12:
    case 15:
      return 0;
    case 2:
    case 8:
      return maximized ? 0 : hit;
    default:
      return hit;
  }
}

uint32_t NotificationAWParam(uint32_t message, uint32_t wp) {
  return (message & 0xFFFF) | ((wp & 0xFF) << 16) | (((wp >> 16) & 0xFF) << 24);
}

uint32_t MouseEffectiveWord(uint32_t globalWord, uint32_t lookupResult, uint32_t entryWheelWord) {
  if ((lookupResult & 1) != 0) return entryWheelWord;
  return globalWord & ~(wheel_flag::kActivate | wheel_flag::kMdiActivate);
}

bool WantsDeepTarget(uint32_t effective, uint32_t global, uint32_t osMajor) {
  if ((effective & wheel_flag::kForwardTransparent) == 0) return false;
  return (global & wheel_flag::kActivate) != 0 || (effective & wheel_flag::kActivate) != 0 ||
         (osMajor >= 5 && (effective & wheel_flag::kForwardToPointer) != 0);
}

WheelRoute DecideWheelRoute(uint32_t effective, uint32_t global, uint32_t osMajor, bool haveWindow,
                            bool deepTargetIsFocus, bool pointerIsFocus) {
  if (osMajor < 5 || !haveWindow) return WheelRoute::kPass;
  if ((effective & wheel_flag::kForwardToPointer) == 0 || (global & wheel_flag::kForwardToPointer) == 0) {
    return WheelRoute::kPass;
  }
  if ((effective & wheel_flag::kForwardTransparent) != 0) {
    return deepTargetIsFocus ? WheelRoute::kPass : WheelRoute::kRepostToDeep;
  }
  return pointerIsFocus ? WheelRoute::kPass : WheelRoute::kRepostToPointer;
}

bool ActivationHitAllowed(int hit) { return hit == 1 || (hit >= 4 && hit <= 7); }

bool ClassIs(const char16_t* className, const char16_t* expected) {
  if (className == nullptr) return false;
  for (; *className != 0 && *expected != 0; ++className, ++expected) {
    if (LowerAscii(*className) != LowerAscii(*expected)) return false;
  }
  return *className == 0 && *expected == 0;
}

int ForegroundRuleForClasses(const char16_t* windowClass, const char16_t* topClass) {
  if (ClassIs(windowClass, u"ComboLBox")) return 0;
  if (ClassIs(topClass, u"Shell_TrayWnd") || ClassIs(topClass, u"Progman") || ClassIs(topClass, u"BaseBar")) return 2;
  return 1;
}

}  // namespace qorv
