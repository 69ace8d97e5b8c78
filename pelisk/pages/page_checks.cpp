#include "pelisk/pages/page_checks.h"

namespace qorv {

const CheckBinding* FindCheck(const CheckBinding* table, int count, int id) {
  for (int i = 0; i < count; ++i) {
    if (table[i].id == id) return &table[i];
  }
  return nullptr;
}

uint32_t CheckMask(const CheckBinding* table, int count, FlagWord word) {
  uint32_t mask = 0;
  for (int i = 0; i < count; ++i) {
    if (table[i].word == word) mask |= table[i].bit;
  }
  return mask;
}

int FormatNumberLabel(int value, const char* suffix, char16_t* out, int capacity) {
  if (out == nullptr || capacity <= 0) return 0;
  char digits[12];
  int n = 0;
  // Work on the magnitude as unsigned so that INT_MIN has no overflow.
  uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  do {
    digits[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) digits[n++] = '-';
  int length = 0;
  while (n > 0 && length < capacity - 1) out[length++] = static_cast<char16_t>(digits[--n]);
  for (const char* s = suffix; s != nullptr && *s != '\0' && length < capacity - 1; ++s) {
    out[length++] = static_cast<char16_t>(static_cast<unsigned char>(*s));
  }
  out[length] = u'\0';
  return length;
}

}  // namespace qorv
