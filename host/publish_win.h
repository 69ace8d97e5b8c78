// Publishes the per-window table for the hook library as a named mapping under a new number each
// time, and keeps it alive until the next one has been handed over.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace qorv {

class TablePublisher {
 public:
  TablePublisher();
  ~TablePublisher();
  TablePublisher(const TablePublisher&) = delete;
  TablePublisher& operator=(const TablePublisher&) = delete;

  // Reads "MapFlag.ini" (or, where the user has none yet, "MapInit.ini") next to the executable and
  // publishes it under a new number. Returns the ExtraFlag to hand over: the number with the table
  // bit, or 0 when nothing could be published.
  uint32_t Publish();
  // Closes the mapping of the table before the current one; call after handing over the new number.
  void ReleasePrevious();
  static std::wstring MappingName(uint32_t number);

 private:
  HANDLE current_ = nullptr;
  HANDLE previous_ = nullptr;
  uint32_t number_;
};

}  // namespace qorv
