#include "common/ui_language.h"

namespace qorv {

uint16_t ResourceLanguageFor(uint16_t uiLanguage) {
  return (uiLanguage & 0x3FF) == (kLangJapanese & 0x3FF) ? kLangJapanese : kLangEnglish;
}

const char16_t* StringBlockEntry(const char16_t* block, size_t blockUnits, unsigned index, size_t* length) {
  *length = 0;
  if (block == nullptr || index > 15) return nullptr;
  size_t at = 0;
  for (unsigned i = 0; i < index; ++i) {
    if (at >= blockUnits) return nullptr;
    at += 1 + static_cast<size_t>(block[at]);
  }
  if (at >= blockUnits || block[at] == 0) return nullptr;
  const size_t n = block[at];
  if (n > blockUnits - at - 1) return nullptr;  // a truncated block
  *length = n;
  return block + at + 1;
}

}  // namespace qorv
