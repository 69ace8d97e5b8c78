#include "settings/ini.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/codepage.h"

namespace qorv {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }
bool IsLineEnd(char c) { return c == '\0' || IsLineBreak(c); }
bool IsComment(char c) { return c == ';' || c == '#' || c == '!'; }
bool IsAsciiAlnum(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// One character forward in the system code page. Never steps over the terminator and always moves
// forward from any other byte, whatever the code-page stepper answers, so every scan stays bounded.
char* Next(char* p) {
  if (*p == '\0') return p;
  const char* q = TextCharNext(p);
  if (q == p + 2 && p[1] != '\0') return p + 2;
  return p + 1;
}

char* SkipLineBreaks(char* p) {
  while (IsLineBreak(*p)) ++p;
  return p;
}

char* SkipBlanks(char* p) {
  while (IsBlank(*p)) ++p;
  return p;
}

// The CR, LF or NUL that ends the line p is on.
char* LineEnd(char* p) {
  while (!IsLineEnd(*p)) p = Next(p);
  return p;
}

// The start of the next line: past the line end, taking at most one CR and then at most one LF, so
// that every further CR or LF counts as an empty line of its own.
char* NextLine(char* p) {
  p = LineEnd(p);
  if (*p == '\r') ++p;
  if (*p == '\n') ++p;
  return p;
}

// Whether a line written at `at` starts a line of its own: true at the start of the text and right
// after a CR or LF that the scanner sees as a line end (not as the trail of a double-byte character).
bool AtLineStart(char* text, char* at) {
  if (at == text) return true;
  char* last = text;
  for (char* p = text; p < at; p = Next(p)) last = p;
  return Next(last) == at && IsLineBreak(*last);
}

bool NameEquals(const char* name, size_t nameLength, const char* s, const char* end) {
  const size_t length = static_cast<size_t>(end - s);
  return length == nameLength && TextEqualNoCase(name, s, length);
}

// Where a key was found in a section, or where a new key belongs.
struct KeyScan {
  char* line;   // first character of the key line (its leading blanks included); null when missing
  char* value;  // first character of the value; null when missing
  char* end;    // the CR, LF or NUL that ends the value
  char* next;   // start of the following line, or the insertion point when the key is missing
};

// Scans the lines of the current section from p. A missing key's insertion point is where the line
// that ended the search begins, before its empty lines, so blank lines before the next header stay
// after a new key.
KeyScan ScanKey(const char* name, char* p) {
  const size_t nameLength = name != nullptr ? strlen(name) : 0;
  for (;;) {
    char* const lineStart = p;
    char* const line = SkipLineBreaks(p);
    char* const first = SkipBlanks(line);
    if (*first == '\0' || *first == '[') return {nullptr, nullptr, nullptr, lineStart};
    char* q = first;
    if (!IsComment(*first)) {
      while (!IsLineEnd(*q) && *q != '=') q = Next(q);
      if (*q == '=' && name != nullptr && NameEquals(name, nameLength, first, q)) {
        char* const end = LineEnd(q + 1);
        return {line, q + 1, end, NextLine(end)};
      }
    }
    p = NextLine(q);
  }
}

// The value of section/key in text, or null.
char* FindValue(const char* section, const char* key, const char* text) {
  if (text == nullptr || section == nullptr || key == nullptr) return nullptr;
  char* cursor = const_cast<char*>(text);
  if (IniFindSection(section, &cursor) == nullptr) return nullptr;
  return IniFindKey(key, &cursor);
}

struct Piece {
  const char* bytes;
  size_t length;
};

Piece Str(const char* s) { return {s, strlen(s)}; }
Piece Span(const char* begin, const char* end) { return {begin, static_cast<size_t>(end - begin)}; }

// A new text made of the pieces, after which old is released. The pieces may point into old. When
// the new text cannot be allocated, old comes back unchanged.
IniText Build(IniText old, const Piece* pieces, size_t count) {
  size_t total = 1;
  for (size_t i = 0; i < count; ++i) {
    if (pieces[i].length > SIZE_MAX - total) return old;
    total += pieces[i].length;
  }
  char* text = static_cast<char*>(malloc(total));
  if (text == nullptr) return old;
  char* out = text;
  for (size_t i = 0; i < count; ++i) {
    if (pieces[i].length > 0) memcpy(out, pieces[i].bytes, pieces[i].length);
    out += pieces[i].length;
  }
  *out = '\0';
  free(old);
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

IniText IniFromBytes(const char* bytes, size_t length) {
  if (bytes == nullptr) length = 0;
  if (length == SIZE_MAX) return nullptr;
  char* text = static_cast<char*>(malloc(length + 1));
  if (text == nullptr) return nullptr;
  if (length > 0) memcpy(text, bytes, length);
  text[length] = '\0';
  return text;
}

void IniFree(IniText text) { free(text); }

char* IniFindSection(const char* name, char** cursor) {
  if (cursor == nullptr || *cursor == nullptr) return nullptr;
  const size_t nameLength = name != nullptr ? strlen(name) : 0;
  char* p = *cursor;
  for (;;) {
    p = SkipBlanks(SkipLineBreaks(p));
    if (*p == '\0') break;
    if (*p == '[') {
      // The name runs to the first ']' on the line; without one the line is no header.
      char* const nameStart = p + 1;
      char* q = nameStart;
      while (!IsLineEnd(*q) && *q != ']') q = Next(q);
      if (*q == ']' && name != nullptr && NameEquals(name, nameLength, nameStart, q)) {
        *cursor = NextLine(q);
        return *cursor;
      }
      p = q;
    }
    p = NextLine(p);
  }
  *cursor = p;
  return nullptr;
}

char* IniFindKey(const char* name, char** cursor) {
  if (cursor == nullptr || *cursor == nullptr) return nullptr;
  const KeyScan found = ScanKey(name, *cursor);
  *cursor = found.next;
  return found.value;
}

int32_t IniParseInt(const char* p) {
  if (p == nullptr) return 0;
  while (IsBlank(*p)) ++p;
  const bool negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  const int64_t limit = negative ? 2147483648LL : 2147483647LL;
  int64_t digits = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    digits = digits * 10 + (*p - '0');
    if (digits > limit) return negative ? INT32_MIN : INT32_MAX;
  }
  return static_cast<int32_t>(negative ? -digits : digits);
}

uint32_t IniParseHex(const char* p) {
  if (p == nullptr) return 0;
  while (IsBlank(*p)) ++p;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) p += 2;
  uint32_t value = 0;
  for (int i = 0; i < 8 && HexDigit(*p) >= 0; ++i, ++p) value = (value << 4) | static_cast<uint32_t>(HexDigit(*p));
  return value;
}

int32_t IniGetInt(const char* section, const char* key, int32_t defaultValue, const char* text) {
  const char* value = FindValue(section, key, text);
  return value != nullptr ? IniParseInt(value) : defaultValue;
}

uint32_t IniGetHex(const char* section, const char* key, uint32_t defaultValue, const char* text) {
  const char* value = FindValue(section, key, text);
  return value != nullptr ? IniParseHex(value) : defaultValue;
}

uint32_t IniGetHexList(const char* section, const char* key, const uint32_t* defaults, uint32_t* out, uint32_t count,
                       const char* text) {
  char* p = FindValue(section, key, text);
  if (p == nullptr) {
    if (defaults != nullptr && out != nullptr) {
      for (uint32_t i = 0; i < count; ++i) out[i] = defaults[i];
    }
    return 0;
  }
  if (count == 0) return 0;
  // Leading blanks belong to no value: skipped here, a hand-edited " 0x1:0x2" would read its first
  // value twice.
  while (*p == ' ' || *p == '\t') ++p;
  if (out != nullptr) out[0] = IniParseHex(p);
  uint32_t i = 1;
  // Every run of ASCII letters and digits is one value ("0x00ABCD:0x12345678", "0:0"); whatever lies
  // between runs, double-byte characters included, separates them. The line end stops the list.
  while (i < count) {
    while (IsAsciiAlnum(*p)) ++p;
    while (!IsLineEnd(*p) && !IsAsciiAlnum(*p)) p = Next(p);
    if (IsLineEnd(*p)) break;
    if (out != nullptr) out[i] = IniParseHex(p);
    ++i;
  }
  if (defaults != nullptr && out != nullptr) {
    for (uint32_t j = i; j < count; ++j) out[j] = defaults[j];
  }
  return i;
}

IniText IniSetBytes(const char* section, const char* key, const char* value, IniText text) {
  if (section == nullptr || key == nullptr) return text;
  if (value == nullptr) value = "";
  char empty[1] = {'\0'};
  char* const base = text != nullptr ? text : empty;
  const size_t valueLength = strlen(value);
  char* cursor = base;

  if (IniFindSection(section, &cursor) == nullptr) {
    // A new section at the end, after one empty line when the text already holds something.
    const char* gap = "";
    if (*base != '\0') gap = AtLineStart(base, cursor) ? "\r\n" : "\r\n\r\n";
    const Piece pieces[] = {Span(base, cursor),   Str(gap),   Str("["), Str(section), Str("]\r\n"), Str(key), Str("="),
                            {value, valueLength}, Str("\r\n")};
    return Build(text, pieces, sizeof(pieces) / sizeof(pieces[0]));
  }

  const KeyScan found = ScanKey(key, cursor);
  if (found.value == nullptr) {
    char* const at = found.next;
    const Piece pieces[] = {
        Span(base, at), Str(AtLineStart(base, at) ? "" : "\r\n"), Str(key), Str("="), {value, valueLength}, Str("\r\n"),
        Str(at)};
    return Build(text, pieces, sizeof(pieces) / sizeof(pieces[0]));
  }

  const size_t oldLength = static_cast<size_t>(found.end - found.value);
  if (valueLength <= oldLength) {
    // Fits: overwrite in place and close the gap. memmove because value may point into the text.
    memmove(found.value, value, valueLength);
    memmove(found.value + valueLength, found.end, strlen(found.end) + 1);
    return text;
  }
  const Piece pieces[] = {Span(base, found.value), {value, valueLength}, Str(found.end)};
  return Build(text, pieces, sizeof(pieces) / sizeof(pieces[0]));
}

IniText IniSetInt(const char* section, const char* key, int32_t value, IniText text) {
  char buffer[16];
  snprintf(buffer, sizeof(buffer), "%d", static_cast<int>(value));
  return IniSetBytes(section, key, buffer, text);
}

IniText IniSetHex(const char* section, const char* key, uint32_t value, IniText text) {
  char buffer[16];
  if (value == 0) {
    buffer[0] = '0';
    buffer[1] = '\0';
  } else {
    snprintf(buffer, sizeof(buffer), "0x%08X", static_cast<unsigned>(value));
  }
  return IniSetBytes(section, key, buffer, text);
}

int IniDeleteKey(const char* section, const char* key, IniText text) {
  if (text == nullptr || section == nullptr || key == nullptr) return 0;
  char* cursor = text;
  if (IniFindSection(section, &cursor) == nullptr) return 0;
  const KeyScan found = ScanKey(key, cursor);
  if (found.value == nullptr) return 0;
  memmove(found.line, found.next, strlen(found.next) + 1);
  return 1;
}

}  // namespace qorv
