// Builds the block that the main program publishes for the hook library's per-window lookup from
// the rows of "MapFlag.ini". Plain code.
#pragma once
#include <cstdint>
#include <vector>

#include "settings/map_file.h"

namespace qorv {

// Rows whose check boxes are both off take no part (so that they do not hide later rows). The match
// bits become WndId -1 and text lengths 0 for what is not matched; a file name with a backslash,
// slash or colon is compared with the whole executable path.
std::vector<uint8_t> PublishedBlockBuild(const std::vector<MapEntry>& rows);

}  // namespace qorv
