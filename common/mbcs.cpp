#include "common/mbcs.h"

namespace qorv {

const char* Cp932CharNext(const char* p) {
  if (*p == '\0') return p;
  if (IsCp932LeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0') return p + 2;
  return p + 1;
}

bool MbcsEqualNoCase(const char* a, const char* b, size_t length, LeadByteFn isLead, LowerByteFn lower) {
  for (size_t i = 0; i < length; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (isLead(x) && i + 1 < length) {
      if (x != y || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (lower(x) != lower(y)) return false;
  }
  return true;
}

uint32_t FileNameOffset(const char* path, CharNextFn next) {
  if (path == nullptr) return 0;
  uint32_t offset = 0;
  for (const char* p = path; *p != '\0';) {
    const char c = *p;
    const char* following = next(p);
    if (c == '\\' || c == ':' || c == '/') offset = static_cast<uint32_t>(following - path);
    if (following == p) break;  // a stepper that does not advance must not hang the loop
    p = following;
  }
  return offset;
}

}  // namespace qorv
