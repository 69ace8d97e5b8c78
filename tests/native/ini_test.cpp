#include "settings/ini.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace qorv {
namespace {

const char* const kNone = "<none>";

// The value of section/key up to its line end, or kNone.
std::string Get(const char* text, const char* section, const char* key) {
  char* cursor = const_cast<char*>(text);
  char* value = text != nullptr && IniFindSection(section, &cursor) != nullptr ? IniFindKey(key, &cursor) : nullptr;
  return value != nullptr ? std::string(value, strcspn(value, "\r\n")) : kNone;
}

IniText Copy(const std::string& s) { return IniFromBytes(s.data(), s.size()); }

std::string Take(IniText text) {
  std::string s = text != nullptr ? text : kNone;
  IniFree(text);
  return s;
}

struct LookupCase {
  const char* text;
  const char* section;
  const char* key;
  const char* expected;
};

TEST(IniLookup, FollowsTheLineRules) {
  const LookupCase cases[] = {
      {"[FLAGS]\r\nWheel=1\r\n", "flags", "WHEEL", "1"},
      {"[ FLAGS]\r\nA=1", "FLAGS", "A", kNone},
      {"[ FLAGS]\r\nA=1", " FLAGS", "A", "1"},
      {" \t[S] trailing\r\nA=1", "S", "A", "1"},
      {"[S\r\nA=1\r\n", "S", "A", kNone},
      {"[S]\r\nKey =1", "S", "Key", kNone},
      {"[S]\r\nKey =1", "S", "Key ", "1"},
      {"A=0\r\n[S]\r\nB=1", "S", "A", kNone},
      {"[S]\r\n;A=1\r\n#A=2\r\n !A=3\r\nno equals\r\n\t A=4=5", "S", "A", "4=5"},
      {"[S]\r\nA=1\r\nA=2", "S", "A", "1"},
      {"[S]\r\n;A=1\r\n#B=2", "S", ";A", kNone},
      {"[S]\r\nX=1\r\n[S]\r\nA=2", "S", "A", kNone},
      {"[S]\r\n  [broken\r\nA=1", "S", "A", kNone},
      {"[S]\rX=1\rA=2\r", "S", "A", "2"},
      {"[S]\nX=1\n\n\nA=2", "S", "A", "2"},
      {"[S]\n\r\n\rA=", "S", "A", ""},
      {"[\x83\x5D]\r\n\x95\x5C=\x83\x7C", "\x83\x5D", "\x95\x5C", "\x83\x7C"},
      {"[\x83\x5B\x83\x5D]\r\n\x83\x5B=1", "\x83\x5B\x83\x5D", "\x83\x5B", "1"},
      {"[\x83\x41]\r\nA=1", "\x83\x61", "A", kNone},  // a trail byte is no letter to fold
      {"[S]\r\nA=\x95", "S", "A", "\x95"},
      {"[S\x95", "S\x95", "A", kNone},
      {"[S]\r\n\x95", "S", "\x95", kNone},
      {nullptr, "S", "A", kNone},
      {"[S]\r\nA=1", nullptr, "A", kNone},
      {"[S]\r\nA=1", "S", nullptr, kNone},
  };
  for (const LookupCase& c : cases) {
    EXPECT_EQ(Get(c.text, c.section, c.key), c.expected) << (c.text ? c.text : "null") << " / " << c.key;
  }
}

TEST(IniNumbers, DecimalSaturatesAndHexIsAlwaysHex) {
  // clang-format off
  const std::pair<const char*, int32_t> decimals[] = {
      {"-1", -1}, {" \t42x", 42}, {"+7", 7}, {"99999999999", INT32_MAX}, {"2147483647", INT32_MAX},
      {"2147483648", INT32_MAX}, {"-2147483648", INT32_MIN}, {"-99999999999", INT32_MIN}, {"", 0}, {"--1", 0},
      {"- 1", 0}, {nullptr, 0}};
  const std::pair<const char*, uint32_t> hexes[] = {
      {"  0x1F", 0x1F}, {"83951636", 0x83951636}, {"0X0000abcd", 0xABCD}, {"123456789", 0x12345678}, {"0x", 0},
      {"", 0}, {"-1", 0}, {"\t0xFFFFFFFFF", 0xFFFFFFFF}, {nullptr, 0}};
  // clang-format on
  for (const auto& d : decimals) EXPECT_EQ(IniParseInt(d.first), d.second) << (d.first ? d.first : "null");
  for (const auto& h : hexes) EXPECT_EQ(IniParseHex(h.first), h.second) << (h.first ? h.first : "null");

  const char text[] = "[S]\r\nEmpty=\r\nMinus=-1\r\nHex= 0x10";
  EXPECT_EQ(IniGetInt("S", "Empty", 5, text), 0);
  EXPECT_EQ(IniGetInt("S", "Minus", 5, text), -1);
  EXPECT_EQ(IniGetInt("S", "Missing", 5, text), 5);
  EXPECT_EQ(IniGetHex("S", "Hex", 5, text), 0x10u);
  EXPECT_EQ(IniGetHex("S", "Empty", 5, text), 0u);
  EXPECT_EQ(IniGetHex("S", "Hex", 5, nullptr), 5u);
}

struct ListCase {
  const char* value;
  uint32_t count;
  uint32_t found;
  std::vector<uint32_t> expected;
};

TEST(IniGetHexList, SplitsOnNonAlphanumericsWithinTheLine) {
  // clang-format off
  const ListCase cases[] = {
      {"0x00ABCD:0x12345678", 2, 2, {0xABCD, 0x12345678}},
      {"0:0", 2, 2, {0, 0}},
      {"0x5\r\nNext=0x6", 2, 1, {5, 0xD2}},  // the next line is not consulted
      {"1, 2 ,3", 2, 2, {1, 2}},
      {"1\x83\x41" "2", 2, 2, {1, 2}},  // a double-byte separator whose trail byte is 'A'
      {"", 3, 1, {0, 0xD2, 0xD3}},
      {" \t0x1:0x2", 2, 2, {1, 2}},  // leading blanks do not repeat the first value
  };
  // clang-format on
  const uint32_t defaults[] = {0xD1, 0xD2, 0xD3};
  for (const ListCase& c : cases) {
    const std::string text = std::string("[S]\r\nK=") + c.value;
    std::vector<uint32_t> out(c.count, 0xEEEEEEEE);
    EXPECT_EQ(IniGetHexList("S", "K", defaults, out.data(), c.count, text.c_str()), c.found) << c.value;
    EXPECT_EQ(out, c.expected) << c.value;
    EXPECT_EQ(IniGetHexList("S", "K", nullptr, nullptr, c.count, text.c_str()), c.found);
  }
  uint32_t out[3] = {7, 7, 7};
  EXPECT_EQ(IniGetHexList("S", "Missing", defaults, out, 3, "[S]\r\nK=1"), 0u);
  EXPECT_EQ(out[2], 0xD3u);
  EXPECT_EQ(IniGetHexList("S", "K", nullptr, out, 3, nullptr), 0u);
  EXPECT_EQ(out[0], 0xD1u);  // untouched without defaults
  EXPECT_EQ(IniGetHexList("S", "K", defaults, out, 0, "[S]\r\nK=1:2"), 0u);
}

struct SetCase {
  const char* before;  // null: start from a null text
  const char* section;
  const char* key;
  const char* value;
  const char* after;
  bool inPlace;
};

TEST(IniSetBytes, EditsExactlyOneLineOrValue) {
  const SetCase cases[] = {
      {nullptr, "S", "K", "V", "[S]\r\nK=V\r\n", false},
      {"", "S", "K", nullptr, "[S]\r\nK=\r\n", false},
      {"[A]\r\nX=1\r\n", "B", "K", "V", "[A]\r\nX=1\r\n\r\n[B]\r\nK=V\r\n", false},
      {"[A]\r\nX=1", "B", "K", "V", "[A]\r\nX=1\r\n\r\n[B]\r\nK=V\r\n", false},
      {"[A]\r\nX=1\r\n\r\n[B]\r\n", "a", "K", "V", "[A]\r\nX=1\r\nK=V\r\n\r\n[B]\r\n", false},
      {"[A]\n; c\nstray\n\n\n[B]", "A", "K", "V", "[A]\n; c\nstray\nK=V\r\n\n\n[B]", false},
      {"[A]\r\nX=1", "A", "K", "V", "[A]\r\nX=1\r\nK=V\r\n", false},
      {"[A]", "A", "K", "V", "[A]\r\nK=V\r\n", false},
      {"[A]\r\nK=0x0000ABCD\r\nZ=1", "A", "K", "0", "[A]\r\nK=0\r\nZ=1", true},
      {"[A]\r\nK=12\nZ=1", "A", "k", "34", "[A]\r\nK=34\nZ=1", true},
      {"[A]\r\nK=1\rZ=1", "A", "K", "0x00000010", "[A]\r\nK=0x00000010\rZ=1", false},
      {"[A]\r\nK=1\r\nK=2", "A", "K", "33", "[A]\r\nK=33\r\nK=2", false},
      {"[\x83\x5D]\r\n\x95\x5C=1", "\x83\x5D", "\x95\x5C", "\x83\x7C", "[\x83\x5D]\r\n\x95\x5C=\x83\x7C", false},
      {"[A]\r\nX=1", nullptr, "K", "V", "[A]\r\nX=1", true},
      {"[A]\r\nX=1", "A", nullptr, "V", "[A]\r\nX=1", true},
      // The CR after a lone lead byte belongs to its character, so the new key needs a line end of its own.
      {"[A]\r\nX=\x95\r", "A", "K", "V", "[A]\r\nX=\x95\r\r\nK=V\r\n", false},
  };
  for (const SetCase& c : cases) {
    IniText before = c.before != nullptr ? Copy(c.before) : nullptr;
    IniText after = IniSetBytes(c.section, c.key, c.value, before);
    if (c.inPlace) {
      EXPECT_EQ(after, before) << c.after;
    }
    EXPECT_EQ(Get(after, c.section, c.key), c.section && c.key ? (c.value ? c.value : "") : kNone);
    EXPECT_EQ(Take(after), c.after);
  }
}

TEST(IniSetNumbers, FormatAndReadBack) {
  for (int32_t v : {0, -1, 42, INT32_MIN, INT32_MAX}) {
    const std::string text = Take(IniSetInt("S", "K", v, nullptr));
    EXPECT_EQ(text, "[S]\r\nK=" + std::to_string(v) + "\r\n");
    EXPECT_EQ(IniGetInt("S", "K", 7, text.c_str()), v);
  }
  const std::pair<uint32_t, const char*> hexes[] = {
      {0, "0"}, {0xAB, "0x000000AB"}, {0x80000000, "0x80000000"}, {0xFFFFFFFF, "0xFFFFFFFF"}};
  for (const auto& h : hexes) {
    const std::string text = Take(IniSetHex("S", "K", h.first, nullptr));
    EXPECT_EQ(text, std::string("[S]\r\nK=") + h.second + "\r\n");
    EXPECT_EQ(IniGetHex("S", "K", 7, text.c_str()), h.first);
  }
}

TEST(IniDeleteKey, RemovesOneLineWithOneLineEnd) {
  const std::tuple<const char*, const char*, int, const char*> cases[] = {
      {"[A]\r\n \tK=1\r\nL=2\r\n", "K", 1, "[A]\r\nL=2\r\n"},
      {"[A]\r\nK=1\r\n\r\n[B]", "K", 1, "[A]\r\n\r\n[B]"},
      {"[A]\r\n\r\n\nK=1\r\nX", "K", 1, "[A]\r\n\r\n\nX"},
      {"[A]\r\nX=1\r\nK=1", "K", 1, "[A]\r\nX=1\r\n"},
      {"[A]\r\nK=1\r\r\n[B]", "K", 1, "[A]\r\n\r\n[B]"},
      {"[A]\nK=1\n\r\n", "K", 1, "[A]\n\r\n"},
      {"[A]\r\nK=1\r\nK=2", "k", 1, "[A]\r\nK=2"},
      {"[A]\r\nX=1\r\n[B]\r\nK=1", "K", 0, "[A]\r\nX=1\r\n[B]\r\nK=1"},
      {"[A]\r\nK=1", nullptr, 0, "[A]\r\nK=1"},
  };
  for (const auto& c : cases) {
    IniText text = Copy(std::get<0>(c));
    EXPECT_EQ(IniDeleteKey("A", std::get<1>(c), text), std::get<2>(c));
    EXPECT_EQ(Take(text), std::get<3>(c));
  }
  EXPECT_EQ(IniDeleteKey("A", "K", nullptr), 0);
  EXPECT_EQ(IniDeleteKey(nullptr, "K", nullptr), 0);
}

// A generated file as lines, each knowing which header or key it is, so that the expected text after
// an edit is built from the lines rather than by scanning.
struct Line {
  std::string text, end;
  int section = -1, key = -1;  // pool indexes of a header or key line
  bool boundary = false;       // first non-blank character '[': ends the section before it
};

const char* const kSections[] = {"FLAGS", "HotKey", "Hot Key", "\x83\x5D\x95\x5C", "\x83\x5B", "New"};
const char* const kKeys[] = {"Wheel", "Flag1", "\x95\x5C", "\x83\x7C", "x", "Added"};
const char* const kValues[] = {"", "0", "0x00000010", "-1", "\x83\x7C\x95\x5C", "a=b;c"};

struct Model {
  std::vector<Line> lines;

  std::string Text() const {
    std::string s;
    for (const Line& l : lines) s += l.text + l.end;
    return s;
  }
  int Header(int s) const {
    for (size_t i = 0; i < lines.size(); ++i)
      if (lines[i].section == s) return static_cast<int>(i);
    return -1;
  }
  size_t SectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < lines.size() && !lines[i].boundary) ++i;
    return i;
  }
  int Key(int s, int k) const {
    const int h = Header(s);
    if (h < 0) return -1;
    for (size_t i = h + 1; i < SectionEnd(h); ++i)
      if (lines[i].key == k) return static_cast<int>(i);
    return -1;
  }
};

// ASCII names in random letter case; double-byte names as they are.
std::string RandomCase(std::string name, std::mt19937& rng) {
  if (std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    for (char& c : name) c = static_cast<char>(rng() % 2 ? toupper(c) : tolower(c));
  }
  return name;
}

Model Generate(std::mt19937& rng) {
  Model m;
  const char* const ends[] = {"\r\n", "\n", "\r"};
  const int count = rng() % 16;
  for (int i = 0; i < count; ++i) {
    Line l;
    switch (rng() % 5) {
      case 0:
        l.section = rng() % 5;
        l.text = std::string(rng() % 2 ? "" : " ") + "[" + kSections[l.section] + "]" + (rng() % 2 ? "" : " ;x");
        l.boundary = true;
        break;
      case 1:
      case 2:
        l.key = rng() % 5;
        l.text = std::string(rng() % 2 ? "" : " \t") + kKeys[l.key] + "=" + kValues[rng() % 6];
        break;
      default: {
        // Comments, a key that is "Wheel ", stray lines, a header without ']', empty lines.
        const char* const others[] = {"; Wheel=1", "#Flag1=2", "Wheel =9", "stray", "[FLAGS", "  ", "", ""};
        l.text = others[rng() % 8];
        l.boundary = l.text == "[FLAGS";
      }
    }
    l.end = ends[rng() % 3];
    // A CR line end followed by an empty LF line would read as one CR LF line end.
    if (l.text.empty() && l.end == "\n" && !m.lines.empty() && m.lines.back().end == "\r") l.end = "\r";
    if (i == count - 1 && !l.text.empty() && l.text != "  " && rng() % 2) l.end.clear();
    m.lines.push_back(l);
  }
  return m;
}

void ApplySet(Model& m, const std::string& section, int s, const std::string& key, int k, const char* value) {
  Line line{key + "=" + value, "\r\n", -1, k, false};
  if (const int found = m.Key(s, k); found >= 0) {
    Line& l = m.lines[found];
    l.text = l.text.substr(0, l.text.find('=') + 1) + value;
  } else if (const int h = m.Header(s); h >= 0) {
    size_t at = h;
    for (size_t i = h; i < m.SectionEnd(h); ++i)
      if (!m.lines[i].text.empty()) at = i;
    if (m.lines[at].end.empty()) m.lines[at].end = "\r\n";
    m.lines.insert(m.lines.begin() + at + 1, line);
  } else {
    if (!m.lines.empty()) {
      if (m.lines.back().end.empty()) m.lines.back().end = "\r\n";
      m.lines.push_back(Line{"", "\r\n"});
    }
    m.lines.push_back(Line{"[" + section + "]", "\r\n", s, -1, true});
    m.lines.push_back(line);
  }
}

void ApplyDelete(Model& m, size_t i) {
  m.lines.erase(m.lines.begin() + i);
  if (i > 0 && i < m.lines.size() && m.lines[i - 1].end == "\r" && m.lines[i].text.empty() && m.lines[i].end == "\n") {
    m.lines[i - 1].end = "\r\n";
    m.lines.erase(m.lines.begin() + i);
  }
}

TEST(IniRoundTrip, GeneratedFilesChangeOnlyTheLineEdited) {
  std::mt19937 rng(1234);
  for (int doc = 0; doc < 400; ++doc) {
    Model m = Generate(rng);
    IniText text = Copy(m.Text());
    for (int op = 0; op < 12; ++op) {
      const int s = rng() % 6, k = rng() % 6;
      const std::string section = RandomCase(kSections[s], rng), key = RandomCase(kKeys[k], rng);
      const int found = m.Key(s, k);
      const std::string was = found >= 0 ? m.lines[found].text.substr(m.lines[found].text.find('=') + 1) : kNone;
      ASSERT_EQ(Get(text, section.c_str(), key.c_str()), was) << m.Text();
      if (rng() % 3 == 0) {
        ASSERT_EQ(IniDeleteKey(section.c_str(), key.c_str(), text), found >= 0 ? 1 : 0) << m.Text();
        if (found >= 0) ApplyDelete(m, found);
      } else {
        const char* value = kValues[rng() % 6];
        text = IniSetBytes(section.c_str(), key.c_str(), value, text);
        ApplySet(m, section, s, key, k, value);
        ASSERT_EQ(Get(text, section.c_str(), key.c_str()), value);
      }
      ASSERT_EQ(std::string(text), m.Text()) << "doc " << doc << " op " << op;
    }
    IniFree(text);
  }
}

}  // namespace
}  // namespace qorv
