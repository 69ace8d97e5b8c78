#include "pelisk/pages/mouse_page.h"

#include <algorithm>

#include "common/flags.h"

namespace qorv {
namespace mousepage {

using namespace btn_cond;

const ConditionBox kConditionBoxes[kConditionBoxCount] = {
    {1207, kLeft, 'L'},         {1208, kRight, 'R'}, {1209, kMiddle, 'M'},     {1212, kX1, '1'},  {1213, kX2, '2'},
    {1214, kShift, 'S'},        {1215, kCtrl, 'C'},  {1216, kAlt, 'A'},        {1217, kWin, 'W'}, {1092, kEnabled, 0},
    {1088, kSuppressButton, 0}, {1089, kReport, 0},  {1090, kPostMessages, 0},
};

uint32_t ButtonIndex(uint32_t condition) { return (condition & kButtonIndexMask) >> kButtonIndexShift; }

std::string ConditionLetters(uint32_t condition) {
  std::string letters;
  for (const ConditionBox& box : kConditionBoxes) {
    if (box.letter != 0 && (condition & box.bit) != 0) letters += box.letter;
  }
  return letters.empty() ? std::string("*") : letters;
}

std::u16string ButtonText(uint32_t condition, const std::vector<std::u16string>& names) {
  const uint32_t index = ButtonIndex(condition);
  if (index < kButtonNameCount && index < names.size()) return names[index];
  const std::string digits = "#" + std::to_string(index);
  return std::u16string(digits.begin(), digits.end());
}

bool SortsBefore(const ButtonPair& a, const ButtonPair& b) {
  const uint32_t ia = ButtonIndex(a.condition);
  const uint32_t ib = ButtonIndex(b.condition);
  if (ia != ib) return ia < ib;
  const uint32_t ca = a.condition & kConditionCheckBits;
  const uint32_t cb = b.condition & kConditionCheckBits;
  if (ca != cb) return ca > cb;
  // Key words are below 2^25, so their difference never wraps.
  return static_cast<int32_t>(a.key - b.key) < 0;
}

void SortPairs(std::vector<ButtonPair>& pairs) { std::stable_sort(pairs.begin(), pairs.end(), SortsBefore); }

int NewPairIndex(int selected, int count) { return selected >= 0 && selected < count ? selected + 1 : count; }

uint32_t EditorCondition(uint32_t oldCondition, int comboSelection, uint32_t checkedBits) {
  uint32_t boxes = 0;
  for (const ConditionBox& box : kConditionBoxes) boxes |= box.bit;
  const uint32_t index = comboSelection < 0 ? ButtonIndex(oldCondition) : static_cast<uint32_t>(comboSelection) & 0xF;
  return (index << kButtonIndexShift) | (checkedBits & boxes);
}

uint32_t KeyFromDoubleClick(MouseAction action, unsigned xButton) {
  switch (action) {
    case MouseAction::kLeftDouble:
      return 1;
    case MouseAction::kRightDouble:
      return 2;
    case MouseAction::kMiddleDouble:
      return 4;
    case MouseAction::kXDouble:
      return xButton == 1 ? 5 : xButton == 2 ? 6 : 0;
  }
  return 0;
}

uint32_t KeyFromWheel(int delta, bool shiftHeld) {
  if (!shiftHeld || delta == 0) return 0;
  return delta > 0 ? hotkey::kVkWheelForward : hotkey::kVkWheelBack;
}

int DuplicateHotkey(uint32_t word, const uint32_t* table, size_t count) {
  const uint32_t key = word & 0xFFFF;
  for (size_t i = 0; i < count && i < 15; ++i) {
    if (i == 13) continue;  // the mouse-button hotkey itself
    const uint32_t other = table[i] & 0xFFFF;
    if (other != 0 && other == key) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace mousepage
}  // namespace qorv
