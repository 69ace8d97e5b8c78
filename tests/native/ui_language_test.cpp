#include "common/ui_language.h"

#include <gtest/gtest.h>

#include <string>

namespace qorv {
namespace {

TEST(UiLanguage, JapaneseForEveryJapaneseIdEnglishForAllOthers) {
  const struct {
    uint16_t ui;
    uint16_t expected;
  } kCases[] = {
      {0x0411, kLangJapanese},  // Japanese (Japan)
      {0x0011, kLangJapanese},  // Japanese, neutral sub-language
      {0x0409, kLangEnglish},   {0x0809, kLangEnglish},  // English (US, UK)
      {0x0407, kLangEnglish},   {0x0804, kLangEnglish},  // German, Chinese (PRC)
      {0x0412, kLangEnglish},                            // Korean: the neighbour of 0x0411
      {0x0000, kLangEnglish},                            // neutral
      {0x0411 | 0x0400, kLangJapanese},                 // another sub-language of Japanese
  };
  for (const auto& c : kCases) EXPECT_EQ(ResourceLanguageFor(c.ui), c.expected) << std::hex << c.ui;
}

TEST(UiLanguage, StringBlockEntries) {
  // Entries 0 "ab", 1 empty, 2 "c", the rest missing (a block cut short after entry 2).
  const char16_t kBlock[] = {2, u'a', u'b', 0, 1, u'c'};
  const size_t kUnits = sizeof(kBlock) / sizeof(kBlock[0]);
  const struct {
    size_t units;
    unsigned index;
    const char16_t* expected;  // null: no entry
  } kCases[] = {
      {kUnits, 0, u"ab"}, {kUnits, 1, nullptr}, {kUnits, 2, u"c"},   {kUnits, 3, nullptr},
      {kUnits, 15, nullptr}, {kUnits, 16, nullptr}, {5, 2, nullptr},  // entry 2's text cut off
      {0, 0, nullptr},
  };
  for (const auto& c : kCases) {
    size_t length = 99;
    const char16_t* text = StringBlockEntry(kBlock, c.units, c.index, &length);
    if (c.expected == nullptr) {
      EXPECT_EQ(text, nullptr) << c.index << " of " << c.units;
      EXPECT_EQ(length, 0u);
    } else {
      ASSERT_NE(text, nullptr) << c.index;
      EXPECT_EQ(std::u16string(text, length), c.expected);
    }
  }
  size_t length = 0;
  EXPECT_EQ(StringBlockEntry(nullptr, 4, 0, &length), nullptr);
}

}  // namespace
}  // namespace qorv
