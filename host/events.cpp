#include "host/events.h"

#include "common/flags.h"
#include "common/mouse_keys.h"

namespace qorv {

namespace {

constexpr uint32_t kWmMouseWheel = 0x020A;
constexpr uint32_t kWmSizing = 0x0214;
constexpr uint32_t kWmWindowPosChanged = 0x0047;
constexpr uint32_t kWmHScroll = 0x0114;
constexpr uint32_t kWmVScroll = 0x0115;
constexpr uint32_t kWmExitSizeMove = 0x0232;
constexpr uint32_t kWmCaptureChanged = 0x0215;
constexpr uint32_t kThumbCancelled = 0x001F;
constexpr uint32_t kSbThumbPosition = 4;
constexpr uint32_t kSbThumbTrack = 5;

}  // namespace

void UnpackPoint(int64_t lp, int& x, int& y) {
  const auto packed = static_cast<uint32_t>(lp);
  x = static_cast<int16_t>(packed & 0xFFFF);
  y = static_cast<int16_t>(packed >> 16);
}

WheelReport DecodeWheelReport(uint64_t wp, int64_t lp) {
  WheelReport report = {};
  const auto word = static_cast<uint32_t>(wp);
  if ((word & 0xFFFF) != kWmMouseWheel) return report;
  report.valid = true;
  report.delta = static_cast<int8_t>((word >> 16) & 0xFF);
  report.keys = word >> 24;
  UnpackPoint(lp, report.x, report.y);
  return report;
}

bool WheelNeedsCaption(uint32_t mainFlag) {
  return (mainFlag & (main_flag::kWheelFront | main_flag::kTempTranslucent)) != 0;
}

WheelDecision DecideWheelReport(const WheelReport& report, uint32_t mainFlag, const WheelFacts& facts) {
  WheelDecision decision = {};
  if (!report.valid || report.delta == 0) return decision;
  const int steps = report.delta > 0 ? 1 : -1;
  if ((mainFlag & main_flag::kTrayVolume) != 0 && facts.overTrayIcon) {
    decision.volumeSteps = steps;
    return decision;
  }
  if ((mainFlag & main_flag::kDesktopVolume) != 0 && (report.keys & kMkShift) != 0 && facts.overDesktop) {
    decision.volumeSteps = steps;
    return decision;
  }
  if (facts.overCaption) {
    decision.bringToFront = (mainFlag & main_flag::kWheelFront) != 0;
    decision.makeTranslucent = (mainFlag & main_flag::kTempTranslucent) != 0;
  }
  return decision;
}

CallWndReport DecodeCallWndReport(uint64_t wp, int64_t lp) {
  CallWndReport report = {};
  const auto word = static_cast<uint32_t>(wp);
  const auto value = static_cast<uint32_t>(lp);
  const uint32_t id = word & 0xFFFF;
  if (id == kWmSizing || id == kWmWindowPosChanged) {
    report.kind = CallWndReportKind::Size;
    report.width = static_cast<int>(value & 0xFFFF);
    report.height = static_cast<int>(value >> 16);
  } else if ((id == kWmHScroll || id == kWmVScroll) &&
             (((word >> 16) & 0xFF) == kSbThumbTrack || ((word >> 16) & 0xFF) == kSbThumbPosition)) {
    report.kind = CallWndReportKind::ThumbPosition;
    report.position = static_cast<int32_t>(value);
  } else if (word == kWmExitSizeMove || word == kWmCaptureChanged) {
    report.kind = CallWndReportKind::LoopEnd;
  } else if (word == kThumbCancelled) {
    report.kind = CallWndReportKind::ThumbCancelled;
  }
  return report;
}

uint8_t LevelToAlpha(uint32_t word, uint32_t mask, uint32_t shift) {
  uint32_t level = (word & mask) >> shift;
  if (level > 9) level = 9;
  return static_cast<uint8_t>(25 * level);
}

float VolumeAfterSteps(float level, int steps) {
  // Snap to the step grid so that up and down return to the same values.
  const int current = static_cast<int>(level / kVolumeStep + 0.5f);
  int next = current + steps;
  const int top = static_cast<int>(1.0f / kVolumeStep + 0.5f);
  if (next < 0) next = 0;
  if (next > top) next = top;
  return static_cast<float>(next) * kVolumeStep;
}

bool ElevationNoticeStep(ElevationNotice& notice, bool selfElevated, ElevationState foreground) {
  if (notice.warned || selfElevated || foreground != ElevationState::Elevated) return false;
  notice.warned = true;
  return true;
}

}  // namespace qorv
