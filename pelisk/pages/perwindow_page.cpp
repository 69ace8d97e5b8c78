#include "pelisk/pages/perwindow_page.h"

#include "common/flags.h"
#include "common/map_table.h"

namespace qorv {
namespace perwindow {

using namespace wheel_flag;

const BoxBit kWheelBoxes[kWheelBoxCount] = {
    {kIdVertScroll, kVertScroll},
    {kIdVertBar, kDetectVertBar},
    {kIdHorzScroll, kShiftHorzScroll},
    {kIdHorzBar, kDetectHorzBar},
    {kIdSearchBar, kSearchScrollBar},
    {kIdForward, kForwardToPointer},
    {kIdTransparent, kForwardTransparent},
    {kIdFocus, kActivate},
    {kIdKeepNotch, kMdiActivate},
    {kIdPrecise, kPrecise},
    {kIdCtrlPage, kCtrlPage},
    {kIdCursorKeys, kCursorKeys},
};

namespace {

uint32_t BoxMask() {
  uint32_t mask = 0;
  for (const BoxBit& box : kWheelBoxes) mask |= box.bit;
  return mask;
}

std::u16string Decimal(int32_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

uint32_t WheelFlagFromGlobal(uint32_t wheelFlag) {
  // The MDI bit means something else in an entry; the precise-scroll time and the bits above it are
  // global only.
  return wheelFlag & ~kMdiActivate & 0x00FFFFFFu;
}

uint32_t EditorEntryFlag(const EditorChoice& choice) {
  uint32_t flag = 0;
  if (choice.matchId) flag |= entry_flag::kMatchId;
  if (choice.matchFile) flag |= entry_flag::kMatchFile;
  if (choice.matchClass) flag |= entry_flag::kMatchClass;
  // An entry that matches nothing is never used.
  if (flag != 0) {
    if (choice.use) flag |= entry_flag::kUseWheel;
    if (choice.useWnd) flag |= entry_flag::kUseWnd;
  }
  return flag;
}

uint32_t EditorWheelFlag(uint32_t oldWheelFlag, const EditorChoice& choice) {
  const uint32_t boxes = BoxMask();
  uint32_t flag = (oldWheelFlag & ~(boxes | kVertCountMask | kHorzCountMask)) | (choice.wheelBits & boxes);
  flag |= SelectionAmount(choice.vertSelection, choice.vertItems) << kVertCountShift;
  flag |= SelectionAmount(choice.horzSelection, choice.horzItems) << kHorzCountShift;
  return flag;
}

int AmountSelection(uint32_t amount, int items) {
  if (items <= 0) return -1;
  return amount < static_cast<uint32_t>(items) ? static_cast<int>(amount) : items - 1;
}

uint32_t SelectionAmount(int selection, int items) {
  if (selection < 0 || selection >= items - 1) return kCountPage;
  return static_cast<uint32_t>(selection);
}

bool TransparentEnabled(uint32_t wheelBits) { return (wheelBits & kForwardToPointer) != 0; }

bool SearchBarEnabled(uint32_t wheelBits) { return (wheelBits & (kVertScroll | kShiftHorzScroll | kCursorKeys)) != 0; }

FillResult FillFromWindow(const PickedWindow& window, const FillContext& context) {
  FillResult result;
  // A new entry's placeholder title does not count: its title comes from the window.
  size_t titleLength = context.newEntry ? 0 : context.titleLength;
  if (context.newEntry || titleLength == 0) {
    if (!window.topTitle.empty()) {
      result.setTitle = true;
      result.title = window.topTitle;
      titleLength = window.topTitle.size();
    }
  }
  auto offerTitle = [&](const std::u16string& text) {
    if (context.newEntry && !text.empty() && titleLength == 0) {
      result.setTitle = true;
      result.title = text;
      titleLength = text.size();
    }
  };

  if (context.matchFile && window.moduleQueryBound) {
    result.fileName = FieldChange::kSet;
    if (!window.modulePath.empty()) {
      result.fileText = context.fullPath ? window.modulePath : FileNamePart(window.modulePath);
    }
    offerTitle(result.fileText);
  } else if (context.newEntry) {
    result.fileName = FieldChange::kClear;
  }

  if (context.matchClass) {
    result.className = FieldChange::kSet;
    result.classText = window.className;
    offerTitle(result.classText);
  } else if (context.newEntry) {
    result.className = FieldChange::kClear;
  }

  if (context.matchId && window.isChild) {
    result.wndId = FieldChange::kSet;
    result.wndIdValue = window.controlId;
    offerTitle(Decimal(window.controlId));
  } else if (context.newEntry) {
    result.wndId = FieldChange::kClear;
  }
  return result;
}

CountdownStep CountdownTick(int count) {
  CountdownStep step;
  if (count <= 1) {
    step.finished = true;
    return step;
  }
  step.count = count - 1;
  step.seconds = static_cast<int>((static_cast<unsigned>(count - 1) * kCountdownTickMs) / 1000 + 1);
  return step;
}

int NewRowIndex(int selected, int count) { return selected >= 0 && selected <= count ? selected : count; }

}  // namespace perwindow
}  // namespace qorv
