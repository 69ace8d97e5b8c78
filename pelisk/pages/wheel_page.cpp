#include "pelisk/pages/wheel_page.h"

#include "common/flags.h"

namespace qorv {

namespace wp = wheel_page;
namespace wf = wheel_flag;

const CheckBinding kWheelPageChecks[] = {
    {wp::kVertScroll, FlagWord::Wheel, wf::kVertScroll},      {wp::kDetectVert, FlagWord::Wheel, wf::kDetectVertBar},
    {wp::kShiftHorz, FlagWord::Wheel, wf::kShiftHorzScroll},  {wp::kDetectHorz, FlagWord::Wheel, wf::kDetectHorzBar},
    {wp::kSearchBars, FlagWord::Wheel, wf::kSearchScrollBar}, {wp::kPrecise, FlagWord::Wheel, wf::kPrecise},
    {wp::kForward, FlagWord::Wheel, wf::kForwardToPointer},   {wp::kActivate, FlagWord::Wheel, wf::kActivate},
    {wp::kMdiActivate, FlagWord::Wheel, wf::kMdiActivate},    {wp::kCtrlPage, FlagWord::Wheel, wf::kCtrlPage},
};
const int kWheelPageCheckCount = sizeof(kWheelPageChecks) / sizeof(kWheelPageChecks[0]);

int WheelCountToIndex(uint32_t count, int itemCount) {
  if (itemCount <= 0) return -1;
  return count < static_cast<uint32_t>(itemCount) ? static_cast<int>(count) : itemCount - 1;
}

uint32_t WheelIndexToCount(int index, int itemCount) {
  if (index >= 0 && index < itemCount - 1) return static_cast<uint32_t>(index);
  return wf::kCountPage;
}

WheelPageState WheelPageOpen(uint32_t flag, int vertItems, int horzItems) {
  WheelPageState s = {};
  s.words.wheel = flag & CheckMask(kWheelPageChecks, kWheelPageCheckCount, FlagWord::Wheel);
  s.ctrlPageShown = (flag & wf::kCtrlPage) == 0;
  s.vertItems = vertItems;
  s.horzItems = horzItems;
  s.vertIndex = WheelCountToIndex(Field(flag, wf::kVertCountMask, wf::kVertCountShift), vertItems);
  s.horzIndex = WheelCountToIndex(Field(flag, wf::kHorzCountMask, wf::kHorzCountShift), horzItems);
  s.preciseTime = Field(flag, wf::kPreciseTimeMask, wf::kPreciseTimeShift);
  return s;
}

void WheelPageClick(WheelPageState& s, int id, bool shiftDown) {
  if (shiftDown) return;
  const uint32_t w = s.words.wheel;
  if ((id == wp::kShiftHorz || id == wp::kDetectHorz) && s.horzIndex == 0 &&
      (w & (wf::kShiftHorzScroll | wf::kDetectHorzBar)) != 0 && s.horzItems > wp::kAutoCountIndex) {
    s.horzIndex = wp::kAutoCountIndex;
  }
  if ((id == wp::kVertScroll || id == wp::kDetectVert) && s.vertIndex == 0 &&
      (w & (wf::kVertScroll | wf::kDetectVertBar)) != 0 && s.vertItems > wp::kAutoCountIndex) {
    s.vertIndex = wp::kAutoCountIndex;
  }
}

void WheelPageSelect(WheelPageState& s, int id) {
  if (id == wp::kVertCount && s.vertIndex == 0) s.words.wheel &= ~(wf::kVertScroll | wf::kDetectVertBar);
  if (id == wp::kHorzCount && s.horzIndex == 0) s.words.wheel &= ~(wf::kShiftHorzScroll | wf::kDetectHorzBar);
}

bool WheelPageSearchEnabled(const WheelPageState& s) {
  return (s.words.wheel & (wf::kVertScroll | wf::kShiftHorzScroll)) != 0;
}

uint32_t WheelPageFlag(const WheelPageState& s) {
  uint32_t flag = s.words.wheel & CheckMask(kWheelPageChecks, kWheelPageCheckCount, FlagWord::Wheel);
  flag |= WheelIndexToCount(s.vertIndex, s.vertItems) << wf::kVertCountShift;
  flag |= WheelIndexToCount(s.horzIndex, s.horzItems) << wf::kHorzCountShift;
  const uint32_t time = s.preciseTime > wp::kPreciseTimeMax ? wp::kPreciseTimeMax : s.preciseTime;
  return flag | (time << wf::kPreciseTimeShift);
}

int PreciseTimeLabel(uint32_t position, char16_t* out, int capacity) {
  if (position == 0) {
    static const char kNone[] = "none";
    if (out == nullptr || capacity <= 0) return 0;
    int n = 0;
    for (; kNone[n] != '\0' && n < capacity - 1; ++n) out[n] = static_cast<char16_t>(kNone[n]);
    out[n] = u'\0';
    return n;
  }
  return FormatNumberLabel(static_cast<int>(position * 100), " ms", out, capacity);
}

}  // namespace qorv
