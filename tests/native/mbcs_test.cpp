#include "common/mbcs.h"

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
