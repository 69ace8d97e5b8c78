// The hooks' notifications to the main program taken apart, and the small rules the main program
// applies to them: translucency levels, volume steps, the elevated-window notice.
#pragma once
#include <cstdint>

namespace qorv {

// A wheel notch reported by the mouse hook: keys in bits 24-31, the low byte of the delta in
// bits 16-23, the message id in bits 0-15; the point packed as (y << 16) | x.
struct WheelReport {
  bool valid;
  int delta;      // +120 forward, -120 back (from the signed low byte)
  uint32_t keys;  // MK_* bits of the wheel message
  int x;
  int y;
};
WheelReport DecodeWheelReport(uint64_t wp, int64_t lp);

// A point packed as (y << 16) | (x & 0xFFFF), both signed 16-bit.
void UnpackPoint(int64_t lp, int& x, int& y);

// What a wheel notch reported by the mouse hook makes the main program do.
struct WheelFacts {
  bool overTrayIcon;  // the point lies on the tray icon
  bool overDesktop;   // the point lies on the desktop
  bool overCaption;   // the point lies on a top-level window's caption or caption buttons
};
struct WheelDecision {
  int volumeSteps;       // 0: the volume stays
  bool bringToFront;     // the window under the caption
  bool makeTranslucent;  // temporarily, until the cursor leaves it
};
// Facts that no flag asks for may be left false.
WheelDecision DecideWheelReport(const WheelReport& report, uint32_t mainFlag, const WheelFacts& facts);
// Whether the caption fact is needed for this word.
bool WheelNeedsCaption(uint32_t mainFlag);

// Reports of the window-procedure hook that the size tooltip shows.
enum class CallWndReportKind { Other, Size, ThumbPosition, LoopEnd, ThumbCancelled };
struct CallWndReport {
  CallWndReportKind kind;
  int width;     // Size
  int height;    // Size
  int position;  // ThumbPosition
};
CallWndReport DecodeCallWndReport(uint64_t wp, int64_t lp);

// Alpha for a translucency level field (1-9 as 25 x level); 0 when the level gives no
// translucency (a level of 0 would make the window invisible); levels above 9 count as 9.
uint8_t LevelToAlpha(uint32_t word, uint32_t mask, uint32_t shift);

// Master volume (0..1) after a number of steps up (positive) or down.
constexpr float kVolumeStep = 0.02f;
float VolumeAfterSteps(float level, int steps);

// Windows of an elevated program are out of reach of the hooks of a program that is not.
enum class ElevationState { Unknown, Normal, Elevated };
struct ElevationNotice {
  bool warned;  // the notice was shown in this run
};
// True when the user is to be told now (once per run).
bool ElevationNoticeStep(ElevationNotice& notice, bool selfElevated, ElevationState foreground);

}  // namespace qorv
