#include "host/published_block.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/map_table.h"

namespace qorv {
namespace {

struct Block {
  std::vector<uint8_t> bytes;
  int32_t Count() const {
    SharedMapHeader h;
    std::memcpy(&h, bytes.data(), sizeof(h));
    return h.count;
  }
  SharedMapEntry Entry(int i) const {
    SharedMapEntry e;
    std::memcpy(&e, bytes.data() + sizeof(SharedMapHeader) + i * sizeof(SharedMapEntry), sizeof(e));
    return e;
  }
  std::string Text(uint32_t offset, uint32_t length) const {
    EXPECT_LE(offset + length, bytes.size());
    return std::string(reinterpret_cast<const char*>(bytes.data()) + offset, length);
  }
};

MapEntry Row(uint32_t flag, int32_t id, std::string file, std::string cls) {
  MapEntry e;
  e.EntryFlag = flag;
  e.EntryWheelFlag = 0x11;
  e.EntryWndFlag = 0x22;
  e.WndId = id;
  e.FileName = std::move(file);
  e.ClassName = std::move(cls);
  return e;
}

TEST(MapSharedTable, MatchBitsBecomeWildcards) {
  const Block b{PublishedBlockBuild({
      Row(0x71, 5, "editor.exe", "EditorWnd"),  // all three matches
      Row(0x01, 5, "editor.exe", "EditorWnd"),  // no match bit: any window, any process, any class
      Row(0x21, 5, "C:\\Tools\\editor.exe", ""),
  })};
  ASSERT_EQ(b.Count(), 3);
  ASSERT_EQ(b.bytes.size(), 8 + 3 * 36 + 10 + 9 + 19u);

  const SharedMapEntry all = b.Entry(0);
  EXPECT_EQ(all.EntryFlag, 0x71u);
  EXPECT_EQ(all.EntryWheelFlag, 0x11u);
  EXPECT_EQ(all.EntryWndFlag, 0x22u);
  EXPECT_EQ(all.WndId, 5);
  EXPECT_EQ(b.Text(all.FileNameOffset, all.FileNameLength), "editor.exe");
  EXPECT_EQ(all.PathMode, 0u);
  EXPECT_EQ(b.Text(all.ClassNameOffset, all.ClassNameLength), "EditorWnd");

  const SharedMapEntry none = b.Entry(1);
  EXPECT_EQ(none.WndId, -1);
  EXPECT_EQ(none.FileNameLength, 0u);
  EXPECT_EQ(none.ClassNameLength, 0u);

  const SharedMapEntry path = b.Entry(2);
  EXPECT_EQ(path.WndId, -1);
  EXPECT_NE(path.PathMode, 0u);
  EXPECT_EQ(b.Text(path.FileNameOffset, path.FileNameLength), "C:\\Tools\\editor.exe");
}

TEST(MapSharedTable, UnusedRowsTakeNoPartAndOrderIsKept) {
  const Block b{PublishedBlockBuild({
      Row(0x70, 1, "a.exe", "A"),          // both check boxes off
      Row(0x10041, 0, "", "B"),            // in-memory bit is not published
      Row(entry_flag::kMalformed, -1, "", "whole line"),
      Row(0x42, 0, "", "C"),               // window word only
  })};
  ASSERT_EQ(b.Count(), 2);
  EXPECT_EQ(b.Entry(0).EntryFlag, 0x41u);
  EXPECT_EQ(b.Text(b.Entry(0).ClassNameOffset, b.Entry(0).ClassNameLength), "B");
  EXPECT_EQ(b.Entry(1).EntryFlag, 0x42u);
}

TEST(MapSharedTable, EmptyTableHasOnlyTheHeader) {
  const Block b{PublishedBlockBuild({})};
  EXPECT_EQ(b.bytes.size(), 8u);
  EXPECT_EQ(b.Count(), 0);
}

TEST(MapSharedTable, TrailByteBackslashIsNotAPath) {
  const Block b{PublishedBlockBuild({Row(0x21, 0, "\x95\x5C.exe", "")})};
  EXPECT_EQ(b.Entry(0).PathMode, 0u);
}

TEST(MapTableName, DesktopInHexAndNumberInDecimal) {
  const struct {
    uint32_t desktop;
    uint32_t number;
    std::u16string expected;
  } cases[] = {
      {0x10010, 7, u"QorvMapFlag0x10010 7"},
      {0, 0, u"QorvMapFlag0x0 0"},
      {0xABCDEF01u, 65535, u"QorvMapFlag0xABCDEF01 65535"},
      {0xFFFFFFFFu, 0xFFFFFFFFu, u"QorvMapFlag0xFFFFFFFF 4294967295"},  // the longest name
  };
  for (const auto& c : cases) {
    char16_t name[kMapTableNameCount];
    const char16_t* end = MapTableName(name, c.desktop, c.number);
    EXPECT_EQ(std::u16string(name), c.expected);
    EXPECT_EQ(end - name, static_cast<ptrdiff_t>(c.expected.size()));
    EXPECT_LT(c.expected.size(), static_cast<size_t>(kMapTableNameCount));
  }
}

}  // namespace
}  // namespace qorv
