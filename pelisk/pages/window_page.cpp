#include "pelisk/pages/window_page.h"

#include "common/flags.h"

namespace qorv {

namespace wp = window_page;
namespace mf = main_flag;
namespace nf = wnd_flag;

const CheckBinding kWindowPageChecks[] = {
    {wp::kWheelFront, FlagWord::Main, mf::kWheelFront},
    {wp::kTempTranslucent, FlagWord::Main, mf::kTempTranslucent},
    {wp::kFrameDrag, FlagWord::Main, mf::kFrameDrag},
    {wp::kWheelTranslucent, FlagWord::Main, mf::kWheelTranslucent},
    {wp::kSnap, FlagWord::Wnd, nf::kSnap},
    {wp::kMoveTranslucent, FlagWord::Wnd, nf::kMoveTranslucent},
    {wp::kSizeTranslucent, FlagWord::Wnd, nf::kSizeTranslucent},
    {wp::kNoDirectX, FlagWord::Wnd, nf::kNoDirectXTranslucent},
    {wp::kShowSize, FlagWord::Wnd, nf::kShowSize},
    {wp::kSnapHide, FlagWord::Wnd, nf::kSnapHide},
    {wp::kSnapRgn, FlagWord::Wnd, nf::kSnapRgn},
    {wp::kNoSnapLay, FlagWord::Wnd, nf::kNoSnapLay},
    {wp::kNoSnapChildWnd, FlagWord::Wnd, nf::kNoSnapChildWnd},
    {wp::kNoSnapRgnClient, FlagWord::Wnd, nf::kNoSnapRgnClient},
    {wp::kSnapInner, FlagWord::Wnd, nf::kSnapInner},
};
const int kWindowPageCheckCount = sizeof(kWindowPageChecks) / sizeof(kWindowPageChecks[0]);

const TuningSwitch kWindowPageTuning[] = {
    {wp::kSnapHide, nf::kSnapHide},
    {wp::kSnapRgn, nf::kSnapRgn},
    {wp::kNoSnapLay, nf::kNoSnapLay},
    {wp::kNoSnapChildWnd, nf::kNoSnapChildWnd},
    {wp::kNoSnapRgnClient, nf::kNoSnapRgnClient},
};
const int kWindowPageTuningCount = sizeof(kWindowPageTuning) / sizeof(kWindowPageTuning[0]);

int LevelPosition(uint32_t level) {
  if (level < static_cast<uint32_t>(wp::kLevelMin)) return wp::kLevelMin;
  if (level > static_cast<uint32_t>(wp::kLevelMax)) return wp::kLevelMax;
  return static_cast<int>(level);
}

WindowPageState WindowPageOpen(uint32_t mainFlag, uint32_t wndFlag) {
  WindowPageState s = {};
  s.words.main = mainFlag;
  s.words.wnd = wndFlag;
  // A tuning switch shows while it differs from its default.
  for (int i = 0; i < kWindowPageTuningCount; ++i) {
    const uint32_t bit = kWindowPageTuning[i].bit;
    if ((wndFlag & bit) != (kWndFlagDefault & bit)) s.tuningShown |= bit;
  }
  const uint32_t initial = Field(mainFlag, mf::kInitialLevelMask, mf::kInitialLevelShift);
  const uint32_t move = Field(wndFlag, nf::kLevelMask, nf::kLevelShift);
  s.initialLevel = LevelPosition(initial);
  s.moveLevel = LevelPosition(move);
  s.initialLabel = static_cast<int>(initial);
  s.moveLabel = static_cast<int>(move);
  s.snapPixels = Field(wndFlag, nf::kSnapPixelsMask, nf::kSnapPixelsShift);
  return s;
}

bool WindowPageEnabled(const WindowPageState& s, int id, uint32_t layeredMask) {
  const uint32_t main = s.words.main;
  const uint32_t wnd = s.words.wnd;
  const bool layered = (layeredMask & 0x01) != 0;
  switch (id) {
    case wp::kTempTranslucent:
      return layered && (main & mf::kWheelTranslucent) == 0;
    case wp::kNoDirectX:
      return layered && (wnd & (nf::kMoveTranslucent | nf::kSizeTranslucent)) != 0;
    case wp::kWheelTranslucent:
    case wp::kMoveTranslucent:
    case wp::kSizeTranslucent:
    case wp::kInitialCaption:
    case wp::kInitialLevelLabel:
    case wp::kInitialLevel:
    case wp::kLevelCaption:
    case wp::kMoveLevelLabel:
    case wp::kMoveLevel:
      return layered;
    case wp::kSnapPixels:
    case wp::kSnapArrows:
    case wp::kSnapInner:
      return (wnd & nf::kSnap) != 0;
    case wp::kNoSnapRgnClient:
      return (wnd & nf::kSnapRgn) != 0;
    default:
      return true;
  }
}

bool WindowPageRuleApplies(int id, int trigger) { return id != wp::kNoSnapRgnClient || trigger == wp::kSnapRgn; }

void WindowPageStore(const WindowPageState& s, uint32_t& mainFlag, uint32_t& wndFlag) {
  const uint32_t mainMask = CheckMask(kWindowPageChecks, kWindowPageCheckCount, FlagWord::Main);
  const uint32_t wndMask = CheckMask(kWindowPageChecks, kWindowPageCheckCount, FlagWord::Wnd);
  uint32_t main = (mainFlag & ~mainMask) | (s.words.main & mainMask);
  uint32_t wnd = (wndFlag & ~wndMask) | (s.words.wnd & wndMask);
  if (s.initialLevel != kLevelUnread) {
    main = (main & ~mf::kInitialLevelMask) |
           (static_cast<uint32_t>(LevelPosition(static_cast<uint32_t>(s.initialLevel))) << mf::kInitialLevelShift);
  }
  if (s.moveLevel != kLevelUnread) {
    wnd = (wnd & ~nf::kLevelMask) |
          (static_cast<uint32_t>(LevelPosition(static_cast<uint32_t>(s.moveLevel))) << nf::kLevelShift);
  }
  wnd = (wnd & ~nf::kSnapPixelsMask) | (SnapClamp(s.snapPixels) << nf::kSnapPixelsShift);
  mainFlag = main;
  wndFlag = wnd;
}

uint32_t SnapClamp(uint32_t number) {
  if (number < static_cast<uint32_t>(wp::kSnapMin)) return wp::kSnapMin;
  if (number > static_cast<uint32_t>(wp::kSnapMax)) return wp::kSnapMax;
  return number;
}

uint32_t SnapStep(uint32_t number, int code) {
  // Signed arithmetic: one step down from an empty edit (0) must give 1, not wrap to the top.
  int64_t n = number;
  switch (code) {
    case kSnapLineUp:
    case kSnapPageUp:
      ++n;
      break;
    case kSnapLineDown:
    case kSnapPageDown:
      --n;
      break;
    case kSnapTop:
      n = wp::kSnapMax;
      break;
    case kSnapBottom:
      n = wp::kSnapMin;
      break;
    default:
      break;
  }
  if (n < wp::kSnapMin) return wp::kSnapMin;
  if (n > wp::kSnapMax) return wp::kSnapMax;
  return static_cast<uint32_t>(n);
}

int LevelLabel(int level, char16_t* out, int capacity) { return FormatNumberLabel(level * 10, " %", out, capacity); }

uint8_t LevelPreviewAlpha(int level) { return static_cast<uint8_t>(25 * LevelPosition(static_cast<uint32_t>(level))); }

PreviewAction PreviewStep(PreviewState& s, PreviewEvent e, bool windowLayered) {
  if (e == PreviewEvent::ThumbTrack) {
    if (s.active) return PreviewAction::SetAlpha;
    if (windowLayered) return PreviewAction::None;  // someone else's translucency: leave it alone
    s.active = true;
    return PreviewAction::SetAlpha;
  }
  if (!s.active) return PreviewAction::None;
  s.active = false;
  return PreviewAction::Restore;
}

}  // namespace qorv
