#include "common/codepage.h"

#include "common/mbcs.h"

namespace qorv {

const char* TextCharNext(const char* p) { return Cp932CharNext(p); }

namespace {

bool LeadByte(unsigned char c) { return IsCp932LeadByte(c); }
unsigned char AsciiLower(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c; }

}  // namespace

bool TextEqualNoCase(const char* a, const char* b, size_t length) {
  return MbcsEqualNoCase(a, b, length, LeadByte, AsciiLower);
}

}  // namespace qorv
