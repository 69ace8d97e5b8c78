// The other page's mixer devices: the system's, or a list a test puts in their place.
#pragma once

#include "pelisk/pages/other_page.h"

namespace qorv {

// The devices the page lists from now on; null means the system's multimedia mixers.
void OtherPageUseMixerDevices(const MixerDevices* devices);

}  // namespace qorv
