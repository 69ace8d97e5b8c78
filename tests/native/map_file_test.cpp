#include "settings/map_file.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "common/map_table.h"

namespace qorv {
namespace {

std::vector<MapEntry> Parse(const std::string& text) { return MapParse(text.c_str(), text.size()); }

MapEntry Entry(uint32_t flag, uint32_t wheel, uint32_t wnd, std::string title, int32_t id, std::string file,
               std::string cls) {
  MapEntry e;
  e.EntryFlag = flag;
  e.EntryWheelFlag = wheel;
  e.EntryWndFlag = wnd;
  e.Title = std::move(title);
  e.WndId = id;
  e.FileName = std::move(file);
  e.ClassName = std::move(cls);
  return e;
}

void ExpectSame(const MapEntry& a, const MapEntry& b) {
  EXPECT_EQ(a.EntryFlag, b.EntryFlag);
  EXPECT_EQ(a.EntryWheelFlag, b.EntryWheelFlag);
  EXPECT_EQ(a.EntryWndFlag, b.EntryWndFlag);
  EXPECT_EQ(a.Title, b.Title);
  EXPECT_EQ(a.WndId, b.WndId);
  EXPECT_EQ(a.FileName, b.FileName);
  EXPECT_EQ(a.ClassName, b.ClassName);
}

TEST(MapFormat, WritesTheDocumentedLines) {
  const std::vector<MapEntry> rows = {
      Entry(0x61, 0x003F0BE9, 0, "Editor", 0, "editor.exe", "EditorWnd"),
      Entry(0x21, 0x003F0BE9, 0, "Editor", 0, "editor.exe", ""),
      Entry(0, 0, 0, "", -1, "", ""),
      Entry(0x10061, 1, 0x050A040D, "t", 7, "C:\\x\\y.exe", "A|B"),
  };
  EXPECT_EQ(MapFormat(rows),
            "0x0061|0x003F0BE9|0|Editor|0|editor.exe|9|EditorWnd\r\n"
            "0x0021|0x003F0BE9|0|Editor|0|editor.exe||\r\n"
            "0|0|0||-1|||\r\n"
            "0x10061|0x00000001|0x050A040D|t|7|C:\\x\\y.exe|3|A|B\r\n");
}

TEST(MapRoundTrip, RowsSurviveWriteAndRead) {
  const std::vector<MapEntry> rows = {
      Entry(0x61, 0x003F0BE9, 0, "Editor", 0, "editor.exe", "EditorWnd"),
      Entry(0x41, 0, 0, "pipe", -5, "", "Class|With|Bars"),
      // Shift-JIS texts whose trail bytes look like "|" (0x83 0x7C) and a backslash (0x95 0x5C).
      Entry(0x71, 0x10, 0x20, "\x83\x7C\x95\x5C", 2147483647, "\x95\x5C.exe", "\x83\x7C"),
      Entry(0x1, 0, 0, "", -2147483647 - 1, "a.exe", ""),
  };
  const std::vector<MapEntry> back = Parse(MapFormat(rows));
  ASSERT_EQ(back.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) ExpectSame(back[i], rows[i]);
}

TEST(MapRoundTrip, GeneratedRowsSurvive) {
  std::mt19937 rng(11);
  const std::string alphabet = "abcXYZ09._ \\\x83\x7C\x95\x5C";
  auto text = [&](size_t maxLength, bool allowBar) {
    std::string s;
    const size_t n = rng() % (maxLength + 1);
    while (s.size() < n) {
      char c = alphabet[rng() % alphabet.size()];
      if (static_cast<unsigned char>(c) == 0x83 || static_cast<unsigned char>(c) == 0x95) {
        s += c;
        s += (rng() & 1) ? '\x7C' : '\x5C';  // lead byte always with a trail byte
      } else if (c != '|' || allowBar) {
        s += c;
      }
    }
    if (allowBar && (rng() & 1)) s += '|';
    return s;
  };
  for (int round = 0; round < 200; ++round) {
    std::vector<MapEntry> rows;
    const int count = 1 + static_cast<int>(rng() % 6);
    for (int i = 0; i < count; ++i) {
      // A row with every word 0 and empty texts would read back the same, so anything goes.
      rows.push_back(Entry(static_cast<uint32_t>(rng()), static_cast<uint32_t>(rng()), static_cast<uint32_t>(rng()),
                           text(20, false), static_cast<int32_t>(rng()), text(20, false), text(30, true)));
    }
    const std::vector<MapEntry> back = Parse(MapFormat(rows));
    ASSERT_EQ(back.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) ExpectSame(back[i], rows[i]);
  }
}

TEST(MapParse, CommentsBlankLinesAndLineEnds) {
  const auto rows = Parse("; comment\r\n!other\r\n\r\n\n0x1|0|0|a|1|b||\r\r\n\n0x2|0|0|c|2|d|1|e");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].Title, "a");
  EXPECT_EQ(rows[1].ClassName, "e");  // the last line needs no line end
  EXPECT_TRUE(Parse("; only a comment\r\n!\r\n").empty());
  EXPECT_TRUE(Parse("").empty());
  EXPECT_TRUE(MapParse(nullptr, 10).empty());
}

TEST(MapParse, LineWithoutFieldStructureBecomesClassName) {
  const auto rows = Parse("EditorWnd\r\n0x61|1|2|3\r\n");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].EntryFlag, entry_flag::kMalformed);
  EXPECT_EQ(rows[0].ClassName, "EditorWnd");
  EXPECT_EQ(rows[0].WndId, -1);
  EXPECT_EQ(rows[1].ClassName, "0x61|1|2|3");
  EXPECT_EQ(rows[1].EntryWheelFlag, 0u);
}

TEST(MapParse, ClassLengthIsBoundedByItsLine) {
  // Longer than the rest of the line (the next line must not be taken), negative, or huge: empty.
  const auto rows = Parse("0x41|0|0|t|0|f|20|short\r\nnext line\r\n0x41|0|0|t|0|f|-3|abc\r\n"
                          "0x41|0|0|t|0|f|99999999999|abc\r\n0x41|0|0|t|0|f|3|abcdef\r\n");
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0].ClassName, "");
  EXPECT_EQ(rows[1].ClassName, "next line");
  EXPECT_EQ(rows[2].ClassName, "");
  EXPECT_EQ(rows[3].ClassName, "");
  EXPECT_EQ(rows[4].ClassName, "abc");  // the rest of the line is ignored
}

TEST(MapParse, NumbersFollowTheSettingsFileRules) {
  const auto rows = Parse(" 0X61|  3F0BE9|0|t|+12|f|0|cls");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].EntryFlag, 0x61u);
  EXPECT_EQ(rows[0].EntryWheelFlag, 0x3F0BE9u);
  EXPECT_EQ(rows[0].WndId, 12);
  EXPECT_EQ(rows[0].ClassName, "cls");
}

TEST(MapFormat, SeparatorsInTitleOrFileNameCannotShiftFields) {
  const std::vector<MapEntry> rows = {Entry(0x61, 1, 0, "a|b\r\nc", 3, "x|y.exe", "Cls\r\nmore")};
  const auto back = Parse(MapFormat(rows));
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0].Title, "a b  c");
  EXPECT_EQ(back[0].WndId, 3);
  EXPECT_EQ(back[0].FileName, "x y.exe");
  EXPECT_EQ(back[0].ClassName, "Cls");
}

TEST(MapFormat, OverlongTitleIsWrittenEmpty) {
  const std::vector<MapEntry> rows = {Entry(1, 0, 0, std::string(kMapMaxTitleBytes + 1, 'x'), 0, "", ""),
                                      Entry(1, 0, 0, std::string(kMapMaxTitleBytes, 'y'), 0, "", "")};
  const auto back = Parse(MapFormat(rows));
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].Title, "");
  EXPECT_EQ(back[1].Title.size(), kMapMaxTitleBytes);
}

}  // namespace
}  // namespace qorv
