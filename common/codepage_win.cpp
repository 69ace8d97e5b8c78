#include <windows.h>

#include "common/codepage.h"
#include "common/mbcs.h"

namespace qorv {

const char* TextCharNext(const char* p) { return CharNextA(p); }

namespace {

bool LeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }
// CharLowerA on one byte taken as a character (a pointer value below 0x10000 is a character).
unsigned char LowerByte(unsigned char c) {
  return static_cast<unsigned char>(reinterpret_cast<UINT_PTR>(CharLowerA(reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(c)))));
}

}  // namespace

bool TextEqualNoCase(const char* a, const char* b, size_t length) {
  return MbcsEqualNoCase(a, b, length, LeadByte, LowerByte);
}

}  // namespace qorv
