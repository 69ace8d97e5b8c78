#include "common/presence.h"

namespace qorv {

InstanceCheck InstanceFromCreate(bool gotHandle, uint32_t lastError) {
  if (gotHandle) return lastError == kErrorAlreadyExists ? InstanceCheck::Another : InstanceCheck::First;
  return lastError == kErrorAccessDenied ? InstanceCheck::Another : InstanceCheck::Unguarded;
}

bool PresentFromOpen(bool gotHandle, uint32_t lastError) { return gotHandle || lastError == kErrorAccessDenied; }

int QuitExitCode(QuitOutcome outcome) {
  switch (outcome) {
    case QuitOutcome::Gone:
      return 0;
    case QuitOutcome::NoneRunning:
      return 1;
    case QuitOutcome::StillThere:
      break;
  }
  return 2;
}

}  // namespace qorv
