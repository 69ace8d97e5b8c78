// Start-up decisions of the settings program that need no window.
#pragma once
#include <cstdint>

namespace qorv {

constexpr int kDebugDigit = 6;

// The page digit of the command line: the program name (quoted or up to the first blank) and the
// blanks after it are skipped; what remains counts only when it is exactly one digit. Otherwise 0.
int CommandLineDigit(const char16_t* commandLine);

// The debug dialog opens for the digit 6, or while the right Shift and right Ctrl keys are both
// held at start, whatever the digit.
bool OpensDebugDialog(int digit, bool rightShiftDown, bool rightCtrlDown);

// Exit code and notification of a finished run: the window's result (1 OK) and whether the save
// after OK wrote the file. A save that did not write counts as not saved.
struct RunOutcome {
  int exitCode;
  unsigned notification;  // 2 saved, 3 not saved
};
RunOutcome OutcomeOf(int windowResult, bool saveWrote);

}  // namespace qorv
