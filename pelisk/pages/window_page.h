// The window page's decisions: what its controls show for MainFlag and WndFlag, which controls are
// enabled, the snap distance and level rules, the preview of a level on the settings window, and
// the words it stores on OK (only its own bits replaced).
#pragma once
#include <cstdint>

#include "pelisk/pages/page_checks.h"

namespace qorv {

namespace window_page {
constexpr int kMoveTranslucent = 1138;
constexpr int kSizeTranslucent = 1139;
constexpr int kNoDirectX = 1140;  // enabled only with move or size translucency
constexpr int kLevelCaption = 1157;
constexpr int kMoveLevel = 1149;  // scroll bar 1-9
constexpr int kMoveLevelLabel = 1154;
constexpr int kFrameDrag = 1121;
constexpr int kShowSize = 1122;
constexpr int kSnap = 1137;
constexpr int kSnapCaption = 1155;
constexpr int kSnapPixels = 1142;  // number edit, 2 characters
constexpr int kSnapArrows = 1148;  // vertical scroll bar used as up-down buttons
constexpr int kSnapInner = 1153;
constexpr int kSnapHide = 1141;  // tuning switches, hidden in the resource
constexpr int kSnapRgn = 1143;
constexpr int kNoSnapLay = 1144;
constexpr int kNoSnapChildWnd = 1145;
constexpr int kNoSnapRgnClient = 1150;  // enabled only with SnapRgn
constexpr int kWheelFront = 1119;
constexpr int kWheelTranslucent = 1123;
constexpr int kTempTranslucent = 1120;  // disabled while wheel translucency is on
constexpr int kInitialCaption = 1156;
constexpr int kInitialLevel = 1147;  // scroll bar 1-9
constexpr int kInitialLevelLabel = 1152;

constexpr int kLevelMin = 1;
constexpr int kLevelMax = 9;
constexpr int kSnapMin = 1;
constexpr int kSnapMax = 50;
constexpr int kSnapDigits = 2;
}  // namespace window_page

extern const CheckBinding kWindowPageChecks[];
extern const int kWindowPageCheckCount;
// The tuning switches, in the order of their WndFlag bits.
struct TuningSwitch {
  int id;
  uint32_t bit;
};
extern const TuningSwitch kWindowPageTuning[];
extern const int kWindowPageTuningCount;

struct WindowPageState {
  FlagWords words;       // .main and .wnd as loaded, the boxes' bits following the boxes
  uint32_t tuningShown;  // WndFlag bits of the tuning switches that are visible
  int initialLevel;      // scroll position of the initial wheel translucency, 1-9; kLevelUnread
  int moveLevel;         // scroll position of the move/size translucency, 1-9; kLevelUnread
  int initialLabel;      // level each label shows (at opening the stored one, even outside 1-9)
  int moveLabel;
  uint32_t snapPixels;  // number shown in the snap distance edit
};

// A level whose scroll position could not be read: OK leaves that stored level as it was.
constexpr int kLevelUnread = -1;

WindowPageState WindowPageOpen(uint32_t mainFlag, uint32_t wndFlag);
// Whether control id is enabled; layeredMask bit 0x01 tells whether the system can make windows
// translucent.
bool WindowPageEnabled(const WindowPageState& s, int id, uint32_t layeredMask);
// Whether control id takes the enabled state of WindowPageEnabled when the page opens (trigger 0)
// or after a click on box `trigger`. NoSnapRgnClient follows SnapRgn only when SnapRgn is clicked:
// until then it keeps the state the resource gives it.
bool WindowPageRuleApplies(int id, int trigger);
// Replaces the page's bits and fields in the two words; every other bit keeps its value.
void WindowPageStore(const WindowPageState& s, uint32_t& mainFlag, uint32_t& wndFlag);

// Codes of the snap distance's up-down bar, numbered as the window system's vertical scroll codes.
enum SnapArrowCode : int {
  kSnapLineUp = 0,
  kSnapLineDown = 1,
  kSnapPageUp = 2,
  kSnapPageDown = 3,
  kSnapTop = 6,
  kSnapBottom = 7,
};
// The snap distance after an up-down code: the number in the edit (0 when it is no number) stepped
// and kept within 1-50.
uint32_t SnapStep(uint32_t number, int code);
// The snap distance stored on OK: 0 (or no number) gives 1, above 50 gives 50.
uint32_t SnapClamp(uint32_t number);
// A stored level (0-15) as the scroll bar can hold it.
int LevelPosition(uint32_t level);
// "%d %%" of level x 10.
int LevelLabel(int level, char16_t* out, int capacity);
// Alpha of the preview of a level.
uint8_t LevelPreviewAlpha(int level);

// The preview of a translucency level on the settings window while a thumb is dragged. It ends on
// every way a drag can end, not only on the thumb's release, so that the window never stays
// translucent.
enum class PreviewEvent { ThumbTrack, ThumbRelease, EndScroll, CaptureLost, PageDestroyed };
enum class PreviewAction { None, SetAlpha, Restore };
struct PreviewState {
  bool active;  // the settings window shows a preview and must be made opaque again
};
// windowLayered: the settings window is layered already (then it gets no preview).
PreviewAction PreviewStep(PreviewState& s, PreviewEvent e, bool windowLayered);

}  // namespace qorv
