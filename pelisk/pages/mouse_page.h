// Decisions of the mouse-button page and its editor: the list's texts and order, the editor's
// condition word from its controls, the buttons the key control takes from the mouse, and the check
// of the page's hotkey against the others. Plain code; the dialogs are mouse_page_win.cpp and
// mouse_editor_win.cpp.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/mouse_btn.h"

namespace qorv {
namespace mousepage {

// Condition boxes of editor dialog 123 and their bits, in the order their letters are listed.
struct ConditionBox {
  int control;
  uint32_t bit;
  char letter;  // 0: not shown in the list
};
constexpr size_t kConditionBoxCount = 13;
extern const ConditionBox kConditionBoxes[kConditionBoxCount];
// The nine boxes that a double click on the editor's note clears.
constexpr uint32_t kConditionCheckBits = 0x00000F73;

// Converted buttons that have a name (string 17).
constexpr uint32_t kButtonNameCount = 7;
// A new entry: enabled, converting the right button (index 1), no condition, no key.
constexpr uint32_t kNewCondition = 0x00011000;

uint32_t ButtonIndex(uint32_t condition);
// The letters of the condition's set bits (L R M 1 2 S C A W), or "*" when none is set.
std::string ConditionLetters(uint32_t condition);
// The button column: the name for indices 0-6, else "#" and the index.
std::u16string ButtonText(uint32_t condition, const std::vector<std::u16string>& names);

// Sort order of a click on the first column: converted button ascending, then more condition bits
// first, then key word ascending.
bool SortsBefore(const ButtonPair& a, const ButtonPair& b);
void SortPairs(std::vector<ButtonPair>& pairs);

// Whether another entry can be added to a list of count entries.
constexpr bool CanAdd(size_t count) { return count < kMaxButtonPairs; }
// Where a new entry goes: after the selected one, or at the end when none is selected.
int NewPairIndex(int selected, int count);

// The editor's condition word: the button chosen in the combo (the old one when none is chosen)
// and the bits of the checked boxes.
uint32_t EditorCondition(uint32_t oldCondition, int comboSelection, uint32_t checkedBits);

// What a mouse action over the key control sets it to, 0 for none.
enum class MouseAction { kLeftDouble, kRightDouble, kMiddleDouble, kXDouble };
uint32_t KeyFromDoubleClick(MouseAction action, unsigned xButton);  // xButton: 1 = X1, 2 = X2
uint32_t KeyFromWheel(int delta, bool shiftHeld);

// Index (0-14, never 13) of a hotkey with the same key and modifiers as `word`, or -1.
int DuplicateHotkey(uint32_t word, const uint32_t* table, size_t count);

}  // namespace mousepage
}  // namespace qorv
