// Whether the program's folder may be written by administrators alone. An elevated copy starts
// programs from its folder; where an ordinary process can replace them first (a per-user install),
// restarting elevated would run its files as administrator without a prompt. Plain code: the glue
// reads the folder's owner and access list and passes them in as facts.
#pragma once
#include <cstdint>

namespace qorv {

enum class Principal : uint8_t {
  Administrators,    // BUILTIN\Administrators
  System,            // LocalSystem
  TrustedInstaller,  // the servicing service
  Other,             // anyone else, the installing user and CREATOR OWNER included
};

struct AceFact {
  bool allow;        // an access-allowed entry (deny entries only take rights away)
  bool inheritOnly;  // applies to what is created inside, not to the folder itself
  uint32_t mask;
  Principal who;
};

// Rights on a folder that let a principal put its own file there or give itself that right:
// FILE_ADD_FILE, FILE_ADD_SUBDIRECTORY, FILE_DELETE_CHILD, DELETE, WRITE_DAC, WRITE_OWNER,
// GENERIC_ALL, GENERIC_WRITE.
constexpr uint32_t kFolderWriteRights =
    0x00000002 | 0x00000004 | 0x00000040 | 0x00010000 | 0x00040000 | 0x00080000 | 0x10000000 | 0x40000000;

// daclPresent false: a null access list, which lets everyone in. The owner may always change the
// list, so it must be one of the administrators' principals too. Deny entries are not weighed:
// the answer errs towards "not protected".
bool WritableByAdministratorsOnly(bool daclPresent, Principal owner, const AceFact* aces, int count);

}  // namespace qorv
