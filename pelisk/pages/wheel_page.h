// The wheel page's decisions: what its controls show for a WheelFlag, how its clicks and
// selections interact, and the WheelFlag it builds from zero on OK.
#pragma once
#include <cstdint>

#include "pelisk/pages/page_checks.h"

namespace qorv {

namespace wheel_page {
constexpr int kForward = 1124;  // "ホイールを直下のウインドウへ送る(&W)"
constexpr int kActivate = 1130;
constexpr int kMdiActivate = 1131;
constexpr int kVertScroll = 1125;
constexpr int kShiftHorz = 1126;
constexpr int kDetectVert = 1129;
constexpr int kDetectHorz = 1061;
constexpr int kSearchBars = 1127;  // enabled only with vertical or horizontal conversion
constexpr int kPrecise = 1136;
constexpr int kCtrlPage = 1135;     // tuning switch, hidden unless its bit is clear
constexpr int kVertCount = 1143;    // drop-down list of string 6
constexpr int kHorzCount = 1145;    // drop-down list of string 8
constexpr int kPreciseTime = 1150;  // scroll bar 0-15
constexpr int kPreciseTimeLabel = 1153;
constexpr int kVertItems = 6;  // string ids of the two lists
constexpr int kHorzItems = 8;
constexpr int kAutoCountIndex = 3;  // "3 行" / "3 列", chosen when a conversion is switched on
constexpr uint32_t kPreciseTimeMax = 15;
}  // namespace wheel_page

extern const CheckBinding kWheelPageChecks[];
extern const int kWheelPageCheckCount;

struct WheelPageState {
  FlagWords words;     // .wheel: the bits of the checked boxes (the tuning switch included)
                       // and the reserved bits as loaded
  bool ctrlPageShown;  // the tuning switch is visible
  int vertIndex;       // selection of the vertical list, -1 none
  int horzIndex;
  int vertItems;  // items in each list (12 with the shipped strings)
  int horzItems;
  uint32_t preciseTime;  // 0-15, hundreds of milliseconds
};

// The page as it opens for flag, with the given numbers of items in the two lists.
WheelPageState WheelPageOpen(uint32_t flag, int vertItems, int horzItems);
// After a click has toggled box `id`: the automatic "3" selection (not with Shift held).
void WheelPageClick(WheelPageState& s, int id, bool shiftDown);
// After list `id` has taken a new selection: "なし" switches its conversion off.
void WheelPageSelect(WheelPageState& s, int id);
// Whether the scroll-bar search box is enabled.
bool WheelPageSearchEnabled(const WheelPageState& s);
// The WheelFlag the page stores: built from zero out of its controls. Every bit the page does not
// show becomes 0: the per-window-only bits (transparent forwarding, cursor keys), which belong in
// per-window entries, and the unused bits 0xF000F000.
uint32_t WheelPageFlag(const WheelPageState& s);

// List index for a stored amount and back: the last item stands for a page (15) and for 11-14.
int WheelCountToIndex(uint32_t count, int itemCount);
uint32_t WheelIndexToCount(int index, int itemCount);
// "%d ms" of position x 100, or "none" for 0.
int PreciseTimeLabel(uint32_t position, char16_t* out, int capacity);

}  // namespace qorv
