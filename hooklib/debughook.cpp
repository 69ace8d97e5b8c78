#include "hooklib/debughook.h"

namespace qorv {

DebugVerdict DebugDecide(uint32_t mask, int code, int64_t kind) {
  if (code < 0) return DebugVerdict::PassOn;
  // The kind's bit is taken modulo 32, as the mask has one bit per kind -1 ... 14 and room above.
  const uint32_t bit = 1u << (static_cast<uint32_t>(kind + 1) & 31u);
  if ((mask & bit) != 0) return DebugVerdict::Block;
  if ((mask & kDebugMaskNoPassOn) != 0) return DebugVerdict::Allow;
  return DebugVerdict::PassOn;
}

}  // namespace qorv
