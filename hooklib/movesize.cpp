#include "hooklib/movesize.h"

namespace qorv {

MoveSizeState g_moveSize;

}  // namespace qorv
