// A process-local block for programs that link the window code without the library.
#include "hooklib/shared_state.h"

namespace qorv {

SharedState g_shared;

}  // namespace qorv
