// Feeds arbitrary bytes to the per-window table reader and checks that every row it yields is
// written and read back unchanged (titles too long to write come back empty).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "settings/map_file.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::vector<qorv::MapEntry> rows = qorv::MapParse(input.c_str(), input.size());
  if (rows.empty()) return 0;
  const std::string written = qorv::MapFormat(rows);
  const std::vector<qorv::MapEntry> back = qorv::MapParse(written.c_str(), written.size());
  Check(back.size() == rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const qorv::MapEntry& a = rows[i];
    const qorv::MapEntry& b = back[i];
    Check(a.EntryFlag == b.EntryFlag && a.EntryWheelFlag == b.EntryWheelFlag && a.EntryWndFlag == b.EntryWndFlag);
    Check(a.WndId == b.WndId);
    Check(b.Title == (a.Title.size() <= qorv::kMapMaxTitleBytes ? a.Title : std::string()));
    Check(a.FileName == b.FileName);
    Check(a.ClassName == b.ClassName);
  }
  return 0;
}
