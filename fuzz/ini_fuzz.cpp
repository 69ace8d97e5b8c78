// The INI text module on arbitrary input. The bytes up to the first NUL are the text; the rest is a
// script of NUL-separated fields: an operation byte, then section, key and value strings. Every edit
// is checked against the text it started from: exactly one value or line changes, and a key with
// well-formed names reads back what was set.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "settings/ini.h"

namespace {

using qorv::IniText;

#define CHECK(condition) \
  do {                   \
    if (!(condition)) {  \
      __builtin_trap();  \
    }                    \
  } while (0)

const char* Step(const char* p) { return qorv::TextCharNext(p); }

// Whether name, followed in the text by the delimiter, reads back as exactly name: no character of it
// is a line break or the delimiter, and its last character does not swallow the delimiter.
bool ReadsBack(const char* name, char delimiter) {
  const std::string s = std::string(name) + delimiter;
  const char* p = s.c_str();
  const char* end = p + strlen(name);
  while (p < end) {
    if (*p == '\r' || *p == '\n' || *p == delimiter) return false;
    p = Step(p);
  }
  return p == end;
}

bool KeyReadsBack(const char* key) {
  const char c = key[0];
  if (c == ' ' || c == '\t' || c == '[' || c == ';' || c == '#' || c == '!') return false;
  return ReadsBack(key, '=');
}

const char* LineEnd(const char* p) {
  while (*p != '\0' && *p != '\r' && *p != '\n') p = Step(p);
  return p;
}

// The value of section/key in text and where it ends, or null.
const char* Find(const char* section, const char* key, const char* text, const char** end) {
  if (text == nullptr || section == nullptr || key == nullptr) return nullptr;
  char* cursor = const_cast<char*>(text);
  if (qorv::IniFindSection(section, &cursor) == nullptr) return nullptr;
  const char* value = qorv::IniFindKey(key, &cursor);
  if (value != nullptr && end != nullptr) *end = LineEnd(value);
  return value;
}

bool OneOf(const std::string& actual, const std::string& a, const std::string& b) { return actual == a || actual == b; }

// Sets section/key to value with set() and checks the result against the text before.
template <typename Set>
IniText CheckedSet(IniText text, const char* section, const char* key, const char* value, Set set) {
  const std::string old = text != nullptr ? text : "";
  const std::string v = value != nullptr ? value : "";
  const bool named = section != nullptr && key != nullptr;
  char empty[1] = {'\0'};
  char* cursor = text != nullptr ? text : empty;
  const bool sectionFound = named && qorv::IniFindSection(section, &cursor) != nullptr;
  const char* found = sectionFound ? qorv::IniFindKey(key, &cursor) : nullptr;
  // Where the value starts, or where a new key line goes.
  const size_t at = sectionFound ? static_cast<size_t>((found != nullptr ? found : cursor) - text) : 0;
  const size_t oldValueLength = found != nullptr ? static_cast<size_t>(LineEnd(found) - found) : 0;

  IniText before = text;
  text = set(section, key, text);
  const std::string now = text != nullptr ? text : "";

  if (!named) {
    CHECK(text == before);
  } else if (found != nullptr) {
    CHECK(now == old.substr(0, at) + v + old.substr(at + oldValueLength));
    if (v.size() <= oldValueLength) CHECK(text == before);
  } else if (sectionFound) {
    const std::string line = std::string(key) + "=" + v + "\r\n";
    CHECK(OneOf(now, old.substr(0, at) + line + old.substr(at), old.substr(0, at) + "\r\n" + line + old.substr(at)));
  } else {
    const std::string tail = "[" + std::string(section) + "]\r\n" + key + "=" + v + "\r\n";
    if (old.empty()) {
      CHECK(now == tail);
    } else {
      CHECK(OneOf(now, old + "\r\n" + tail, old + "\r\n\r\n" + tail));
    }
  }
  if (named && ReadsBack(section, ']') && KeyReadsBack(key) && ReadsBack(v.c_str(), '\r')) {
    const char* end = nullptr;
    const char* got = Find(section, key, text, &end);
    CHECK(got != nullptr && std::string(got, end) == v);
  }
  return text;
}

void CheckedDelete(IniText text, const char* section, const char* key) {
  const std::string old = text != nullptr ? text : "";
  const char* end = nullptr;
  const char* found = Find(section, key, text, &end);
  const bool plainLine = found != nullptr && strpbrk(key, "\r\n") == nullptr &&
                         std::string(found, end).find_first_of("\r\n") == std::string::npos;
  const size_t lineLength = found != nullptr ? strlen(key) + 1 + static_cast<size_t>(end - found) : 0;

  const int removed = qorv::IniDeleteKey(section, key, text);
  CHECK(removed == (found != nullptr ? 1 : 0));
  const std::string now = text != nullptr ? text : "";
  if (!removed) {
    CHECK(now == old);
    return;
  }
  // One block is gone; however it aligns, it holds the key line and at most one CR and one LF.
  CHECK(now.size() < old.size());
  const size_t d = old.size() - now.size();
  size_t a = 0;
  while (a < now.size() && now[a] == old[a]) ++a;
  CHECK(old.compare(a + d, std::string::npos, now, a, std::string::npos) == 0);
  if (plainLine) {
    const std::string block = old.substr(a, d);
    CHECK(d >= lineLength);
    CHECK(std::count(block.begin(), block.end(), '\r') <= 1 && std::count(block.begin(), block.end(), '\n') <= 1);
  }
}

void CheckedHexList(const char* section, const char* key, const char* text, uint8_t control) {
  const uint32_t count = control & 7;
  const bool withDefaults = (control & 8) == 0, withOut = (control & 16) == 0;
  std::vector<uint32_t> defaults(count);
  for (uint32_t i = 0; i < count; ++i) defaults[i] = 0xD0000000u + i;
  // Exactly count elements on the heap, so that a write past them is caught.
  uint32_t* out = withOut ? new uint32_t[count] : nullptr;
  for (uint32_t i = 0; out != nullptr && i < count; ++i) out[i] = 0xEEEEEEEE;
  const char* value = Find(section, key, text, nullptr);
  const uint32_t n = qorv::IniGetHexList(section, key, withDefaults ? defaults.data() : nullptr, out, count, text);
  CHECK(n <= count);
  if (value == nullptr) CHECK(n == 0);
  if (out != nullptr) {
    if (value != nullptr && count > 0) CHECK(out[0] == qorv::IniParseHex(value));
    for (uint32_t i = n; i < count; ++i) {
      if (withDefaults) {
        CHECK(out[i] == defaults[i]);
      } else if (i > 0 || value == nullptr) {
        CHECK(out[i] == 0xEEEEEEEE);
      }
    }
  }
  delete[] out;
}

// Every call moves the cursor forward and keeps it inside the text.
void Walk(const char* section, const char* key, IniText text) {
  if (text == nullptr) return;
  const char* const end = text + strlen(text);
  char* cursor = text;
  for (int sections = 0; sections < 64; ++sections) {
    char* const before = cursor;
    if (qorv::IniFindSection(section, &cursor) == nullptr) {
      CHECK(cursor == end);
      return;
    }
    CHECK(cursor > before && cursor <= end);
    for (int keys = 0; keys < 64; ++keys) {
      char* const start = cursor;
      const char* value = qorv::IniFindKey(key, &cursor);
      CHECK(cursor >= start && cursor <= end);
      if (value == nullptr) break;
      CHECK(value >= start && value <= cursor);
      if (cursor == start) break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  const size_t textLength = strnlen(bytes, size);
  IniText text = textLength > 0 || size == 0 ? qorv::IniFromBytes(bytes, size) : nullptr;
  if (text != nullptr) CHECK(strlen(text) == textLength);

  std::vector<std::string> fields;
  for (size_t i = textLength + 1; i < size;) {
    const size_t n = strnlen(bytes + i, size - i);
    fields.emplace_back(bytes + i, n);
    i += n + 1;
  }
  if (fields.empty()) fields = {"\x01", "MouseBtn", "Btn1", "\x05", "\x02", "FLAGS", "Main", "0x00000001"};

  for (size_t i = 0, ops = 0; i < fields.size() && ops < 64; i += 4, ++ops) {
    const uint8_t op = fields[i].empty() ? 0 : static_cast<uint8_t>(fields[i][0]);
    auto field = [&](size_t k) { return i + k < fields.size() ? fields[i + k].c_str() : ""; };
    const char* section = (op & 0x08) ? nullptr : field(1);
    const char* key = (op & 0x10) ? nullptr : field(2);
    const char* value = (op & 0x20) ? nullptr : field(3);
    switch (op & 7) {
      case 0: {
        const char* found = Find(section, key, text, nullptr);
        CHECK(qorv::IniGetInt(section, key, 12345, text) == (found ? qorv::IniParseInt(found) : 12345));
        CHECK(qorv::IniGetHex(section, key, 0xABCDEF, text) == (found ? qorv::IniParseHex(found) : 0xABCDEFu));
        break;
      }
      case 1:
        CheckedHexList(section, key, text, static_cast<uint8_t>(field(3)[0]));
        break;
      case 2:
        text = CheckedSet(text, section, key, value,
                          [&](const char* s, const char* k, IniText t) { return qorv::IniSetBytes(s, k, value, t); });
        break;
      case 3: {
        const int32_t n = qorv::IniParseInt(field(3));
        char formatted[16];
        snprintf(formatted, sizeof(formatted), "%d", static_cast<int>(n));
        text = CheckedSet(text, section, key, formatted,
                          [&](const char* s, const char* k, IniText t) { return qorv::IniSetInt(s, k, n, t); });
        if (section != nullptr && key != nullptr && KeyReadsBack(key) && ReadsBack(section, ']'))
          CHECK(qorv::IniGetInt(section, key, n ^ 1, text) == n);
        break;
      }
      case 4: {
        const uint32_t n = qorv::IniParseHex(field(3));
        char formatted[16];
        snprintf(formatted, sizeof(formatted), "0x%08X", static_cast<unsigned>(n));
        if (n == 0) strcpy(formatted, "0");
        text = CheckedSet(text, section, key, formatted,
                          [&](const char* s, const char* k, IniText t) { return qorv::IniSetHex(s, k, n, t); });
        if (section != nullptr && key != nullptr && KeyReadsBack(key) && ReadsBack(section, ']'))
          CHECK(qorv::IniGetHex(section, key, n ^ 1u, text) == n);
        break;
      }
      case 5:
        CheckedDelete(text, section, key);
        break;
      case 6:
        Walk(section, key, text);
        break;
      default: {
        IniText copy = qorv::IniFromBytes(value, value != nullptr ? strlen(value) : 0);
        CHECK(copy != nullptr && strcmp(copy, value != nullptr ? value : "") == 0);
        qorv::IniFree(copy);
        qorv::IniParseInt(section);
        qorv::IniParseHex(key);
        break;
      }
    }
  }
  qorv::IniFree(text);
  return 0;
}
