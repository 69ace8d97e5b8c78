#include "hooklib/perwindow.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "common/map_table.h"
#include "host/published_block.h"

namespace qorv {
namespace {

MapEntry Row(uint32_t flag, uint32_t wheel, int32_t id, std::string file, std::string cls) {
  MapEntry e;
  e.EntryFlag = flag;
  e.EntryWheelFlag = wheel;
  e.WndId = id;
  e.FileName = std::move(file);
  e.ClassName = std::move(cls);
  return e;
}

struct Window {
  std::string path = "C:\\Tools\\Editor.EXE";
  bool child = false;
  int32_t id = 0;
  std::string cls = "EditorWnd";

  WindowFacts Facts() const {
    return {path.c_str(), static_cast<uint32_t>(path.size()), static_cast<uint32_t>(path.rfind('\\') + 1), child, id,
            cls.c_str(), static_cast<uint32_t>(cls.size())};
  }
};

uint32_t Lookup(const std::vector<uint8_t>& block, const Window& w) {
  return MapTableMatch(block.data(), block.size(), w.Facts(), AsciiEqualNoCase).wheelFlag;
}

TEST(PerWindowMatch, ControlIdAppliesToChildWindowsOnly) {
  const auto block = PublishedBlockBuild({Row(0x11, 0xA, 5, "", "")});
  Window w;
  EXPECT_EQ(Lookup(block, w), 0xAu);  // a top-level window ignores the id
  w.child = true;
  EXPECT_EQ(Lookup(block, w), 0u);
  w.id = 5;
  EXPECT_EQ(Lookup(block, w), 0xAu);
}

TEST(PerWindowMatch, FileNameAndFullPathModes) {
  const auto byName = PublishedBlockBuild({Row(0x21, 0xA, 0, "editor.exe", "")});
  Window w;
  EXPECT_EQ(Lookup(byName, w), 0xAu);
  w.path = "C:\\Tools\\myeditor.exe";
  EXPECT_EQ(Lookup(byName, w), 0u);
  const auto byPath = PublishedBlockBuild({Row(0x21, 0xB, 0, "c:\\tools\\editor.exe", "")});
  w.path = "C:\\Tools\\Editor.exe";
  EXPECT_EQ(Lookup(byPath, w), 0xBu);
  w.path = "D:\\Tools\\Editor.exe";
  EXPECT_EQ(Lookup(byPath, w), 0u);
  w.path = "";  // no path known: the file name does not rule the row out
  EXPECT_EQ(Lookup(byPath, w), 0xBu);
}

TEST(PerWindowMatch, ClassFirstMatchAndZeroFlag) {
  Window w;
  auto block = PublishedBlockBuild({Row(0x41, 0xA, 0, "", "editorwnd"), Row(0x41, 0xB, 0, "", "EditorWnd")});
  EXPECT_EQ(Lookup(block, w), 0xAu);  // the first row in table order wins
  w.cls = "EditorWndX";
  EXPECT_EQ(Lookup(block, w), 0u);
  // A row whose EntryFlag is 0 never matches even when every condition holds.
  block = PublishedBlockBuild({Row(0x41, 0xA, 0, "", "EditorWnd")});
  SharedMapEntry e;
  std::memcpy(&e, block.data() + 8, sizeof(e));
  e.EntryFlag = 0;
  std::memcpy(block.data() + 8, &e, sizeof(e));
  w.cls = "EditorWnd";
  EXPECT_EQ(MapTableMatch(block.data(), block.size(), w.Facts(), AsciiEqualNoCase).entryFlag, 0u);
}

TEST(PerWindowMatch, MalformedBlocksNeverReadOutside) {
  Window w;
  const auto good = PublishedBlockBuild({Row(0x61, 0xA, 0, "editor.exe", "EditorWnd")});
  // Every truncation and every corrupted word: no read outside the block (ASan watches), and a
  // match only where the row is intact.
  for (size_t size = 0; size <= good.size(); ++size) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(size));
    const uint32_t found = MapTableMatch(cut.data(), cut.size(), w.Facts(), AsciiEqualNoCase).wheelFlag;
    EXPECT_EQ(found, size == good.size() ? 0xAu : 0u) << size;
  }
  std::mt19937 rng(3);
  for (int i = 0; i < 20000; ++i) {
    std::vector<uint8_t> bad = good;
    const size_t at = rng() % (bad.size() / 4) * 4;
    const uint32_t value = (rng() & 1) ? static_cast<uint32_t>(rng()) : 0xFFFFFFF0u + (rng() & 0xF);
    std::memcpy(bad.data() + at, &value, 4);
    MapTableMatch(bad.data(), bad.size(), w.Facts(), AsciiEqualNoCase);
  }
  EXPECT_EQ(MapTableMatch(nullptr, 100, w.Facts(), AsciiEqualNoCase).entryFlag, 0u);
}

// Sources of another process's path that answer as told and record who was asked.
struct FakePathSources {
  const char* system;    // null: the system cannot tell
  const char* exchange;  // null: the process does not answer
  std::string asked;
  uint32_t Answer(const char* path, char* buffer, uint32_t size) {
    if (path == nullptr || size == 0) return 0;
    const uint32_t length = static_cast<uint32_t>(std::strlen(path));
    if (length >= size) return 0;
    std::memcpy(buffer, path, length + 1);
    return length;
  }
  uint32_t FromSystem(char* buffer, uint32_t size) {
    asked += "S";
    return Answer(system, buffer, size);
  }
  uint32_t FromExchange(char* buffer, uint32_t size) {
    asked += "E";
    return Answer(exchange, buffer, size);
  }
};

TEST(ModulePathOrder, TheSystemFirstAndTheExchangeOnlyWhenItCannotTell) {
  struct Case {
    const char* system;
    const char* exchange;
    const char* expected;  // null: no path
    const char* asked;
  };
  const Case cases[] = {
      {"C:\\Apps\\editor.exe", "C:\\Other\\x.exe", "C:\\Apps\\editor.exe", "S"},
      {nullptr, "C:\\Apps\\editor.exe", "C:\\Apps\\editor.exe", "SE"},  // older system, or refused
      {nullptr, nullptr, nullptr, "SE"},  // elevated window: neither answers, nothing is cached
      {"", "C:\\Apps\\editor.exe", "C:\\Apps\\editor.exe", "SE"},  // an empty answer is none
  };
  for (const Case& c : cases) {
    FakePathSources sources = {c.system, c.exchange, ""};
    char buffer[kModulePathBytes] = "unchanged";
    const uint32_t length = FetchModulePath(sources, buffer, sizeof(buffer));
    EXPECT_EQ(sources.asked, c.asked);
    if (c.expected == nullptr) {
      EXPECT_EQ(length, 0u);
    } else {
      EXPECT_EQ(length, std::strlen(c.expected));
      EXPECT_STREQ(buffer, c.expected);
    }
  }
}

}  // namespace
}  // namespace qorv
