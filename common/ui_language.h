// The language of the programs' texts. Both programs carry every dialog, menu and string in
// Japanese and in English under the same ids, and show the Japanese ones to users whose Windows
// speaks Japanese, the English ones to everybody else.
#pragma once
#include <cstddef>
#include <cstdint>

namespace qorv {

constexpr uint16_t kLangJapanese = 0x0411;  // LANG_JAPANESE, SUBLANG_DEFAULT
constexpr uint16_t kLangEnglish = 0x0409;   // LANG_ENGLISH, SUBLANG_ENGLISH_US

// The resource language for a user interface language id: Japanese for every Japanese id
// (primary language 0x11, whatever the sub-language), English for all others.
uint16_t ResourceLanguageFor(uint16_t uiLanguage);

// Entry `index` (0-15) of a string-table block: each entry is a length word followed by that many
// UTF-16 units. Returns the text (not terminated) and its length in *length, or null when the
// entry is empty or the block ends before it.
const char16_t* StringBlockEntry(const char16_t* block, size_t blockUnits, unsigned index, size_t* length);

}  // namespace qorv
