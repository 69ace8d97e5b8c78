#include "hooklib/process_role.h"

namespace qorv {

ProcessRole RoleFromToken(bool tokenQueried, uint32_t isAppContainer) {
  return tokenQueried && isAppContainer != 0 ? ProcessRole::PassThrough : ProcessRole::Serve;
}

}  // namespace qorv
