// For programs that link the hook code directly (the benchmarks): the per-process state filled as
// process attach would fill it.
#include "hooklib/core_win.h"

namespace qorv {

void BenchInitGlobals() { InitProcessState(GetModuleHandleW(nullptr)); }

}  // namespace qorv
