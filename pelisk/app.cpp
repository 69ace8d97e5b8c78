#include "pelisk/app.h"

namespace qorv {

int CommandLineDigit(const char16_t* commandLine) {
  if (commandLine == nullptr) return 0;
  const char16_t* p = commandLine;
  while (*p == u' ') ++p;
  if (*p == u'"') {
    ++p;
    while (*p != 0 && *p != u'"') ++p;
    if (*p == u'"') ++p;
  } else {
    while (*p != 0 && *p != u' ') ++p;
  }
  // One blank, then any further blanks.
  while (*p == u' ') ++p;
  if (p[0] >= u'0' && p[0] <= u'9' && p[1] == 0) return p[0] - u'0';
  return 0;
}

bool OpensDebugDialog(int digit, bool rightShiftDown, bool rightCtrlDown) {
  return digit == kDebugDigit || (rightShiftDown && rightCtrlDown);
}

RunOutcome OutcomeOf(int windowResult, bool saveWrote) {
  if (windowResult == 1) {
    if (saveWrote) return {1, 2};
    return {2, 3};  // the user's changes are not in the file: say so, do not claim a save
  }
  return {windowResult, 3};
}

}  // namespace qorv
