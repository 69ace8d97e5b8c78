#include "common/mbcs.h"
#include "common/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace qorv {
namespace {

struct OffsetCase {
  const char* name;
  std::string path;
  uint32_t expected;
};

class FileNameOffsetTest : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(FileNameOffsetTest, FindsCharacterAfterLastSeparator) {
  EXPECT_EQ(FileNameOffset(GetParam().path.c_str(), Cp932CharNext), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FileNameOffsetTest,
    ::testing::Values(
        OffsetCase{"NoSeparator", "notepad.exe", 0},
        OffsetCase{"Empty", "", 0},
        OffsetCase{"BackslashAtIndexFour", "C:\\a\\b.exe", 5},
        OffsetCase{"DriveColon", "C:prog.exe", 2},
        OffsetCase{"ForwardSlash", "dir/sub/x.exe", 8},
        OffsetCase{"TrailingSeparator", "C:\\dir\\", 7},
        // 0x95 0x5C is one character (a kanji) whose trail byte is a backslash.
        OffsetCase{"TrailByteBackslashIsNoSeparator", "C:\\\x95\x5C.exe", 3},
        OffsetCase{"TrailByteAfterRealSeparator", "C:\\\x95\x5C\\x.exe", 6},
        // 0x83 0x7C: a katakana whose trail byte looks like "|"; "/" stays a separator after it.
        OffsetCase{"TrailByteBar", "\x83\x7C/y", 3},
        OffsetCase{"LoneLeadByteAtEnd", "a\\\x95", 2}),
    [](const ::testing::TestParamInfo<OffsetCase>& p) { return p.param.name; });

TEST(FileNameOffset, NullPathAndStuckStepperDoNotHang) {
  EXPECT_EQ(FileNameOffset(nullptr, Cp932CharNext), 0u);
  auto stuck = [](const char* p) { return p; };
  EXPECT_EQ(FileNameOffset("a\\b", stuck), 0u);
}

TEST(Cp932CharNext, StepsDoubleByteCharactersWhole) {
  const char text[] = "a\x82\xA0\x95\x5C" "b";
  const char* p = text;
  int steps = 0;
  while (*p != '\0') {
    p = Cp932CharNext(p);
    ++steps;
  }
  EXPECT_EQ(steps, 4);
  EXPECT_EQ(Cp932CharNext(p), p);
}

}  // namespace
}  // namespace qorv

namespace qorv {
namespace {

struct NoCaseCase {
  const char* name;
  std::string a;
  std::string b;
  bool equal;
};

class TextEqualNoCaseTest : public ::testing::TestWithParam<NoCaseCase> {};

TEST_P(TextEqualNoCaseTest, StepsByCharactersAndFoldsSingleBytesOnly) {
  const NoCaseCase& c = GetParam();
  ASSERT_EQ(c.a.size(), c.b.size());
  EXPECT_EQ(TextEqualNoCase(c.a.data(), c.b.data(), c.a.size()), c.equal);
  EXPECT_EQ(TextEqualNoCase(c.b.data(), c.a.data(), c.a.size()), c.equal);
}

INSTANTIATE_TEST_SUITE_P(
    Cp932, TextEqualNoCaseTest,
    ::testing::Values(NoCaseCase{"AsciiLetters", "Notepad.EXE", "NOTEPAD.exe", true},
                      NoCaseCase{"DifferentLetter", "notepad.exe", "notepam.exe", false},
                      // 0x83 0x41 and 0x83 0x61 are two katakana that differ only in a trail byte
                      // that looks like "A" and "a": never the same character.
                      NoCaseCase{"TrailBytesDifferingInCase", "\x83\x41.exe", "\x83\x61.exe", false},
                      NoCaseCase{"SameDoubleByte", "\x83\x41X.EXE", "\x83\x41x.exe", true},
                      // A lead byte that is the last byte of the compared length stands alone.
                      NoCaseCase{"LeadByteAtTheEnd", "ab\x83", "AB\x83", true},
                      NoCaseCase{"Empty", "", "", true}),
    [](const ::testing::TestParamInfo<NoCaseCase>& p) { return p.param.name; });

}  // namespace
}  // namespace qorv
