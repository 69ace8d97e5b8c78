#include "host/folder_guard.h"

namespace qorv {

bool WritableByAdministratorsOnly(bool daclPresent, Principal owner, const AceFact* aces, int count) {
  if (!daclPresent || owner == Principal::Other) return false;
  for (int i = 0; i < count; ++i) {
    const AceFact& ace = aces[i];
    if (!ace.allow || ace.inheritOnly || (ace.mask & kFolderWriteRights) == 0) continue;
    if (ace.who == Principal::Other) return false;
  }
  return true;
}

}  // namespace qorv
