// The second chance for windows left layered by a restore pass (host/layered_left.h).
#pragma once

namespace qorv {

// Looks at every top-level window with the mark once: takes the layered style off those that now
// answer, forgets those changed since. Returns how many marked windows are left; never waits longer
// than the responsiveness probe per marked window.
int LayeredLeftRetry();

}  // namespace qorv
