// What the settings pages share in plain code: the tables that bind check boxes to flag bits, and
// the small texts of their value labels.
#pragma once
#include <cstdint>

namespace qorv {

// The flag words a page may edit; a check box binds to one bit of one of them.
enum class FlagWord : uint8_t { Main, Wheel, Wnd };

struct FlagWords {
  uint32_t main = 0;
  uint32_t wheel = 0;
  uint32_t wnd = 0;

  uint32_t& operator[](FlagWord w) { return w == FlagWord::Main ? main : w == FlagWord::Wheel ? wheel : wnd; }
  uint32_t operator[](FlagWord w) const { return w == FlagWord::Main ? main : w == FlagWord::Wheel ? wheel : wnd; }
};

// One check box of a page: it shows `bit` of `word` and writes it back. One table per page drives
// both filling the boxes and reading them back.
struct CheckBinding {
  int id;
  FlagWord word;
  uint32_t bit;
};

inline bool IsChecked(const FlagWords& words, const CheckBinding& b) { return (words[b.word] & b.bit) != 0; }
inline void SetChecked(FlagWords& words, const CheckBinding& b, bool on) {
  words[b.word] = on ? (words[b.word] | b.bit) : (words[b.word] & ~b.bit);
}
// The binding of control id in the table, or null.
const CheckBinding* FindCheck(const CheckBinding* table, int count, int id);
// Every bit of `word` that the table binds.
uint32_t CheckMask(const CheckBinding* table, int count, FlagWord word);

// Writes the decimal number followed by the suffix (ASCII) into out, always terminated; returns the
// characters stored. Used for the "%d ms" and "%d %%" labels.
int FormatNumberLabel(int value, const char* suffix, char16_t* out, int capacity);

}  // namespace qorv
