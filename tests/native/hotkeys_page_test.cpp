#include "pelisk/pages/hotkeys_page.h"

#include <gtest/gtest.h>

#include <vector>

namespace qorv {
namespace {

struct Table {
  uint32_t v[kHotkeyPageCount] = {};
};

TEST(HotkeysPage, DuplicateCheck) {
  constexpr uint32_t kEnter = 0x0000020D;  // Ctrl + Enter
  struct Case {
    std::vector<std::pair<int, uint32_t>> set;
    int expected;
  } cases[] = {
      {{}, -1},
      // The two Enter keys differ only in scan code and extended flag: still one hotkey.
      {{{2, kEnter | 0x001C0000}, {9, kEnter | 0x011C0000}}, 9},
      {{{3, 0x274}, {7, 0x274}}, 7},
      {{{3, 0x274}, {7, 0x674}}, -1},                     // other modifiers
      {{{1, 0x41}, {5, 0x41}, {2, 0x42}, {3, 0x42}}, 5},  // first pair in order of the earlier entry
      {{{0, 0x100}, {4, 0x100}}, 4},                      // modifier-only values compare too
  };
  for (const Case& c : cases) {
    Table t;
    for (const auto& [entry, value] : c.set) t.v[entry] = value;
    EXPECT_EQ(HotkeyDuplicate(t.v), c.expected);
  }
}

struct Registrar {
  uint32_t refusedVk = 0;
  std::vector<std::vector<uint32_t>> calls;
  static bool Try(void* context, int id, uint32_t hotkey) {
    Registrar* r = static_cast<Registrar*>(context);
    r->calls.push_back({static_cast<uint32_t>(id), hotkey});
    return (hotkey & 0xFF) != r->refusedVk;
  }
};

TEST(HotkeysPage, RegistrationCheckSkipsEmptyEntriesAndStopsAtTheFirstFailure) {
  Table t;
  Registrar none;
  EXPECT_EQ(HotkeyFirstUnregistrable(t.v, &Registrar::Try, &none), -1);
  EXPECT_TRUE(none.calls.empty());

  t.v[1] = 0x003B0A70;  // Ctrl + Win + F1
  t.v[4] = 0x0F00;      // modifiers only: nothing to register
  t.v[6] = 0x0174;
  t.v[8] = 0x0275;
  Registrar r;
  r.refusedVk = 0x74;
  EXPECT_EQ(HotkeyFirstUnregistrable(t.v, &Registrar::Try, &r), 6);
  ASSERT_EQ(r.calls.size(), 2u);
  EXPECT_EQ(r.calls[0], (std::vector<uint32_t>{1, 0x003B0A70}));
  EXPECT_EQ(r.calls[1], (std::vector<uint32_t>{6, 0x0174}));
}

}  // namespace
}  // namespace qorv
