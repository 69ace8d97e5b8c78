#include "common/mbcs.h"

namespace qorv {

const char* Cp932CharNext(const char* p) {
  if (*p == '\0') return p;
  if (IsCp932LeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0') return p + 2;
  return p + 1;
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
