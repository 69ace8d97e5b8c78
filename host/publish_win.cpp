#include "host/publish_win.h"

#include <cstring>
#include <vector>

#include "common/flags.h"
#include "common/map_table.h"
#include "host/published_block.h"
#include "settings/map_file_win.h"

namespace qorv {

TablePublisher::TablePublisher()
    // A number unlike the last run's, so that hooked processes that cached a lookup under an old
    // number of a previous run read the new table.
    : number_(GetTickCount() & extra_flag::kMapNumberMask) {}

TablePublisher::~TablePublisher() {
  if (previous_ != nullptr) CloseHandle(previous_);
  if (current_ != nullptr) CloseHandle(current_);
}

std::wstring TablePublisher::MappingName(uint32_t number) {
  wchar_t name[kMapTableNameCount];
  MapTableName(name, static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(GetDesktopWindow())),
               number & extra_flag::kMapNumberMask);
  return name;
}

uint32_t TablePublisher::Publish() {
  std::vector<MapEntry> rows;
  if (MapRead(kMapFileName, rows) == 0) MapRead(kMapInitFileName, rows);
  const std::vector<uint8_t> block = PublishedBlockBuild(rows);

  // Try a few numbers: a name still held by another program is skipped.
  for (int attempt = 0; attempt < 16; ++attempt) {
    number_ = (number_ + 1) & extra_flag::kMapNumberMask;
    const std::wstring name = MappingName(number_);
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        static_cast<DWORD>(block.size()), name.c_str());
    if (mapping == nullptr) continue;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
      CloseHandle(mapping);
      continue;
    }
    void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, block.size());
    if (view == nullptr) {
      CloseHandle(mapping);
      return 0;
    }
    std::memcpy(view, block.data(), block.size());
    UnmapViewOfFile(view);
    if (previous_ != nullptr) CloseHandle(previous_);
    previous_ = current_;
    current_ = mapping;
    return extra_flag::kMapTableOn | number_;
  }
  return 0;
}

void TablePublisher::ReleasePrevious() {
  if (previous_ != nullptr) CloseHandle(previous_);
  previous_ = nullptr;
}

}  // namespace qorv
