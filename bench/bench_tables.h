// Inputs shared by the benchmarks, so that the native and the Wine figures measure the same thing.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "common/flags.h"
#include "host/published_block.h"

namespace bench {

// A per-window table of 200 rows, each matching one program file and one class.
inline std::vector<uint8_t> MapTable200() {
  std::vector<qorv::MapEntry> rows;
  for (int i = 0; i < 200; ++i) {
    qorv::MapEntry e;
    e.EntryFlag = 0x61;
    e.EntryWheelFlag = 1;
    e.FileName = "program" + std::to_string(i) + ".exe";
    e.ClassName = "Class" + std::to_string(i);
    rows.push_back(e);
  }
  return qorv::PublishedBlockBuild(rows);
}

// Condition words of the button conversion: the button index field and the enabled bit.
constexpr uint32_t Idx(int a) { return static_cast<uint32_t>(a) << qorv::btn_cond::kButtonIndexShift; }
constexpr uint32_t kOn = qorv::btn_cond::kEnabled;

}  // namespace bench
