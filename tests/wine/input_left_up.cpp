// Every test program leaves the desktop's keys and mouse buttons up. The Wine server outlives a
// test program, so a key or button left down would change what the next test's input means (a
// right button held turns the next wheel turn into another gesture). A test that leaves one down
// fails here, and the key is released for the next test.
#include <gtest/gtest.h>

#include <string>

#include "tests/wine/input.h"

namespace {

class InputLeftUp : public ::testing::Environment {
 public:
  void TearDown() override {
    static const struct {
      int vk;
      const char* name;
    } kWatched[] = {{VK_LBUTTON, "left button"}, {VK_RBUTTON, "right button"}, {VK_MBUTTON, "middle button"},
                    {VK_XBUTTON1, "X1"},         {VK_XBUTTON2, "X2"},          {VK_SHIFT, "Shift"},
                    {VK_CONTROL, "Ctrl"},        {VK_MENU, "Alt"},             {VK_LWIN, "left Win"},
                    {VK_RWIN, "right Win"}};
    std::string down;
    for (const auto& k : kWatched) {
      if (GetAsyncKeyState(k.vk) < 0) down += std::string(down.empty() ? "" : ", ") + k.name;
    }
    input::ReleaseAll();
    EXPECT_TRUE(down.empty()) << "left down at the end of the test: " << down;
  }
};

const ::testing::Environment* const g_inputLeftUp = ::testing::AddGlobalTestEnvironment(new InputLeftUp);

}  // namespace
