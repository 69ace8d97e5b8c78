// Decisions of the per-window page and its entry editor: the editor's words from its controls, the
// list's order, what a picked window fills in, and the picker's countdown. Plain code; the dialog
// procedures are in perwindow_page_win.cpp and perwindow_editor_win.cpp.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qorv {
namespace perwindow {

// Editor controls that the plain code names (the resource ids of dialog 109).
constexpr int kIdTitle = 1173;
constexpr int kIdUse = 1168;
constexpr int kIdUseWnd = 1172;
constexpr int kIdMatchFile = 1169;
constexpr int kIdMatchClass = 1170;
constexpr int kIdMatchId = 1171;
constexpr int kIdFileName = 1174;
constexpr int kIdClassName = 1176;
constexpr int kIdWndId = 1175;
constexpr int kIdVertScroll = 1125;
constexpr int kIdVertBar = 1129;
constexpr int kIdHorzScroll = 1126;
constexpr int kIdHorzBar = 1061;
constexpr int kIdSearchBar = 1127;
constexpr int kIdForward = 1124;
constexpr int kIdTransparent = 1132;
constexpr int kIdFocus = 1095;
constexpr int kIdKeepNotch = 1131;
constexpr int kIdPrecise = 1136;
constexpr int kIdCtrlPage = 1135;
constexpr int kIdCursorKeys = 1128;
constexpr int kIdVertCount = 1143;
constexpr int kIdHorzCount = 1145;

// One check box and the bit of the word it edits.
struct BoxBit {
  int control;
  uint32_t bit;
};
// The twelve wheel boxes of the editor and their EntryWheelFlag bits.
constexpr size_t kWheelBoxCount = 12;
extern const BoxBit kWheelBoxes[kWheelBoxCount];

// A new entry: in use, matched by file and class name, marked new.
constexpr uint32_t kNewEntryFlag = 0x00010061;
constexpr uint32_t kNewEntryWheelFlag = 0x00000001;
// The wheel word of a new entry made from the global one (Shift+New).
uint32_t WheelFlagFromGlobal(uint32_t wheelFlag);

// What the editor's OK reads from its controls.
struct EditorChoice {
  bool use = false;
  bool useWnd = false;
  bool matchFile = false;
  bool matchClass = false;
  bool matchId = false;
  uint32_t wheelBits = 0;  // bits of the checked wheel boxes
  int vertSelection = -1;  // combo selection, -1 when none
  int horzSelection = -1;
  int vertItems = 0;  // item counts of the two combos
  int horzItems = 0;
};

// EntryFlag rebuilt from zero: the match bits, and "use" only when something is matched.
uint32_t EditorEntryFlag(const EditorChoice& choice);
// EntryWheelFlag: the boxes and the two amounts replace their bits, every other bit stays.
uint32_t EditorWheelFlag(uint32_t oldWheelFlag, const EditorChoice& choice);
// Combo item for a stored amount: the value itself, or the last item for anything from the item count on.
int AmountSelection(uint32_t amount, int items);
// Stored amount for a combo item: the item's index, 15 (a page) for the last item or none.
uint32_t SelectionAmount(int selection, int items);
// Control enabling: "transparent forwarding" needs forwarding; the scroll-bar search needs a conversion.
bool TransparentEnabled(uint32_t wheelBits);
bool SearchBarEnabled(uint32_t wheelBits);

// The file-name part of a path: what follows the last backslash, colon or slash.
template <typename Char>
std::basic_string<Char> FileNamePart(const std::basic_string<Char>& path) {
  const size_t cut = path.find_last_of(std::basic_string<Char>{Char('\\'), Char(':'), Char('/')});
  return cut == std::basic_string<Char>::npos ? path : path.substr(cut + 1);
}

// A typed title as stored: every "|" (the field separator of the file) becomes a blank; an empty
// title becomes `untitled`.
template <typename Char>
std::basic_string<Char> StoredTitle(std::basic_string<Char> title, const std::basic_string<Char>& untitled) {
  for (Char& c : title) {
    if (c == Char('|')) c = Char(' ');
  }
  return title.empty() ? untitled : title;
}

// Facts that the glue gathered about a picked window.
struct PickedWindow {
  std::u16string topTitle;  // text of its top-level window
  bool moduleQueryBound = false;
  std::u16string modulePath;  // what the module query gave; empty when nothing
  std::u16string className;   // empty when it could not be read
  bool isChild = false;
  int32_t controlId = 0;
};

// The editor's state that filling looks at.
struct FillContext {
  bool newEntry = false;   // the entry has never been confirmed
  size_t titleLength = 0;  // characters in the title box
  bool matchFile = false;
  bool matchClass = false;
  bool matchId = false;
  bool fullPath = false;  // Shift held: the whole module path instead of its file name
};

enum class FieldChange { kKeep, kSet, kClear };

struct FillResult {
  bool setTitle = false;
  std::u16string title;
  FieldChange fileName = FieldChange::kKeep;
  std::u16string fileText;
  FieldChange className = FieldChange::kKeep;
  std::u16string classText;
  FieldChange wndId = FieldChange::kKeep;
  int32_t wndIdValue = 0;
};

// What picking a window changes in the editor. A new entry takes its title from the first non-empty of
// the top-level window's text, the module file name, the class name and the control id; a confirmed
// entry keeps its title unless the title box is empty.
FillResult FillFromWindow(const PickedWindow& window, const FillContext& context);

// The picker's countdown: a 200 ms timer from 25, five seconds in all.
constexpr int kCountdownStart = 25;
constexpr unsigned kCountdownTickMs = 200;
struct CountdownStep {
  int count = 0;          // count after the tick; 0 when the countdown ended
  bool finished = false;  // stop the timer, clear the label and fill from the picked window
  int seconds = 0;        // whole seconds left, shown while the countdown runs
};
CountdownStep CountdownTick(int count);
// A click on the picker while the countdown runs leaves it one more tick.
constexpr int kCountdownLastTick = 1;

// Where a new row goes: before the selected row, or at the end when none is selected.
int NewRowIndex(int selected, int count);

// Moves the row at index one place up (step -1) or down (+1); the row's new index, or -1 when it is
// already at that end (or the index is outside the list).
template <typename Row>
int MoveRow(std::vector<Row>& rows, int index, int step) {
  const int count = static_cast<int>(rows.size());
  const int target = index + step;
  if (index < 0 || index >= count || (step != -1 && step != 1) || target < 0 || target >= count) return -1;
  std::swap(rows[static_cast<size_t>(index)], rows[static_cast<size_t>(target)]);
  return target;
}

// The row to select after deleting the row at index from a list that now has count rows, or -1.
inline int SelectionAfterDelete(int index, int count) { return index >= 0 && index < count ? index : -1; }

}  // namespace perwindow
}  // namespace qorv
