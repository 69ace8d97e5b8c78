// Wheel translucency and roll-up acting on windows of another process, and the restore-all passes
// that the library's exports run from the main program's process.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "common/flags.h"
#include "common/layered_win.h"
#include "common/mouse_keys.h"
#include "host/layered_left_win.h"
#include "tests/wine/harness.h"
#include "tests/wine/target_protocol.h"

using harness::Library;
using harness::OwnerWindow;
using harness::Prop;
using harness::ReadLayered;
using harness::Target;
using harness::WindowHeight;
using qorv::kMkControl;
using qorv::kMkShift;

namespace {

constexpr wchar_t kWndLay[] = L"qv WndLay";
constexpr wchar_t kWndHight[] = L"qv WndHight";
constexpr uint32_t kLevel5 = qorv::main_flag::kWheelTranslucent | (5u << qorv::main_flag::kInitialLevelShift);

WPARAM Wheel(int delta, UINT keys = 0) { return MAKEWPARAM(keys, static_cast<WORD>(static_cast<short>(delta))); }

class WheelTranslucencyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hwnd = target.Window(L"normal");
    ASSERT_NE(hwnd, nullptr);
  }
  LRESULT Step(int delta, UINT keys = 0, uint32_t mainFlag = kLevel5) {
    return target.Send(hwnd, target::kCmdWheelStep, Wheel(delta, keys), static_cast<LPARAM>(mainFlag));
  }
  BYTE Alpha() { return ReadLayered(hwnd).alpha; }

  Target target{{L"normal"}};
  HWND hwnd = nullptr;
};

TEST_F(WheelTranslucencyTest, StepsDownToMinimumAndBackToOpaque) {
  std::vector<int> towards;
  for (int i = 0; i < 6; ++i) {
    ASSERT_EQ(Step(-120), 1);
    EXPECT_EQ(Prop(hwnd, kWndLay), Alpha());
    towards.push_back(Alpha());
  }
  EXPECT_EQ(towards, (std::vector<int>{125, 100, 75, 50, 25, 25}));
  EXPECT_TRUE(ReadLayered(hwnd).flags & LWA_ALPHA);

  std::vector<int> away;
  for (int i = 0; i < 8; ++i) {
    ASSERT_EQ(Step(120), 1);
    away.push_back(Alpha());
  }
  EXPECT_EQ(away, (std::vector<int>{50, 75, 100, 125, 150, 175, 200, 225}));
  ASSERT_EQ(Step(120), 1);
  EXPECT_FALSE(harness::IsLayered(hwnd));
  EXPECT_EQ(Prop(hwnd, kWndLay), 0u);
}

TEST_F(WheelTranslucencyTest, ModifiersAndDirectionGuardTheStart) {
  EXPECT_EQ(Step(120), 0);  // away from the user on an opaque window
  EXPECT_EQ(Step(-120, kMkControl), 0);
  EXPECT_EQ(Step(-120, kMkShift), 0);
  EXPECT_FALSE(harness::IsLayered(hwnd));
  EXPECT_EQ(Prop(hwnd, kWndLay), 0u);

  ASSERT_EQ(Step(-120), 1);
  EXPECT_EQ(Step(-120, kMkControl), 1);  // Ctrl only prevents the start
  EXPECT_EQ(Alpha(), 100);
  EXPECT_EQ(Step(-120, kMkShift), 1);  // Shift ends it at once, in either direction
  EXPECT_FALSE(harness::IsLayered(hwnd));
  EXPECT_EQ(Prop(hwnd, kWndLay), 0u);
  ASSERT_EQ(Step(-120), 1);
  EXPECT_EQ(Step(120, kMkShift), 1);
  EXPECT_EQ(Prop(hwnd, kWndLay), 0u);
}

TEST_F(WheelTranslucencyTest, LevelZeroDoesNotMakeWindowInvisible) {
  EXPECT_EQ(Step(-120, 0, qorv::main_flag::kWheelTranslucent), 0);
  EXPECT_FALSE(harness::IsLayered(hwnd));
  EXPECT_EQ(Prop(hwnd, kWndLay), 0u);
}

TEST_F(WheelTranslucencyTest, WindowLayeredByItsOwnProgramIsNeverTouched) {
  ASSERT_TRUE(target.Send(hwnd, target::kCmdOwnLayered, 0, LWA_ALPHA | (200 << 8)));
  EXPECT_EQ(Step(-120), 0);
  EXPECT_EQ(Alpha(), 200);
  EXPECT_EQ(Prop(hwnd, kWndLay), 0u);
}

TEST_F(WheelTranslucencyTest, ColourKeySurvivesAnAddedAlpha) {
  const COLORREF key = RGB(1, 2, 3);
  ASSERT_TRUE(target.Send(hwnd, target::kCmdOwnLayered, key, LWA_COLORKEY));
  EXPECT_EQ(target.Send(hwnd, target::kCmdApplyAlpha, 0, 150), 255);  // no alpha before: opaque
  harness::Layered attrs = ReadLayered(hwnd);
  ASSERT_TRUE(attrs.ok);
  EXPECT_EQ(attrs.key, key);
  EXPECT_EQ(attrs.alpha, 150);
  EXPECT_EQ(attrs.flags, static_cast<DWORD>(LWA_COLORKEY | LWA_ALPHA));
  EXPECT_EQ(target.Send(hwnd, target::kCmdApplyAlpha, 0, 90), 150);
  EXPECT_EQ(ReadLayered(hwnd).key, key);
}

class RollUpTest : public ::testing::Test {
 protected:
  LRESULT Toggle(HWND hwnd) { return target.Send(hwnd, target::kCmdToggleRoll); }
  // Asked inside the target: Wine reads another process's placement as its current rectangle.
  LRESULT NormalHeight(HWND hwnd) { return target.Send(hwnd, target::kCmdQuery, target::kQueryNormalHeight); }

  Target target{{L"normal", L"max", L"min", L"fixed"}};
};

TEST_F(RollUpTest, NormalWindowRollsToCaptionAndBack) {
  HWND hwnd = target.Window(L"normal");
  ASSERT_NE(hwnd, nullptr);
  const int before = WindowHeight(hwnd);
  const LRESULT rolled = Toggle(hwnd);
  ASSERT_GT(rolled, 0);
  EXPECT_LT(rolled, 2 * GetSystemMetrics(SM_CYMIN));
  EXPECT_EQ(WindowHeight(hwnd), rolled);
  EXPECT_EQ(Prop(hwnd, kWndHight), static_cast<UINT_PTR>(before));
  EXPECT_EQ(Toggle(hwnd), before);
  EXPECT_EQ(WindowHeight(hwnd), before);
  EXPECT_EQ(Prop(hwnd, kWndHight), 0u);
}

TEST_F(RollUpTest, MaximisedWindowSavesRestoredHeightAndUnrollsToMaximisedHeight) {
  HWND hwnd = target.Window(L"max");
  ASSERT_NE(hwnd, nullptr);
  ASSERT_TRUE(IsZoomed(hwnd));
  const int restored = NormalHeight(hwnd);
  const int maximised = WindowHeight(hwnd);
  ASSERT_GT(Toggle(hwnd), 0);
  EXPECT_LT(WindowHeight(hwnd), maximised);
  EXPECT_EQ(Prop(hwnd, kWndHight), static_cast<UINT_PTR>(restored));
  EXPECT_EQ(Toggle(hwnd), restored);  // reports the saved height
  // The window is given SM_CYMAXIMIZED, which the window manager clamps to the maximum tracking height.
  const LRESULT cyMaximized = target.Send(hwnd, target::kCmdQuery, target::kQueryMetric, SM_CYMAXIMIZED);
  const LRESULT cyMaxTrack = target.Send(hwnd, target::kCmdQuery, target::kQueryMetric, SM_CYMAXTRACK);
  EXPECT_EQ(WindowHeight(hwnd), std::min(cyMaximized, cyMaxTrack));
  EXPECT_TRUE(IsZoomed(hwnd));
}

TEST_F(RollUpTest, MinimisedWindowRollsItsRestoredRectangleOnly) {
  HWND hwnd = target.Window(L"min");
  ASSERT_NE(hwnd, nullptr);
  ASSERT_TRUE(IsIconic(hwnd));
  const int restored = NormalHeight(hwnd);
  const LRESULT rolled = Toggle(hwnd);
  ASSERT_GT(rolled, 0);
  EXPECT_TRUE(IsIconic(hwnd));
  EXPECT_EQ(NormalHeight(hwnd), rolled);
  EXPECT_EQ(Toggle(hwnd), restored);
  EXPECT_TRUE(IsIconic(hwnd));
  EXPECT_EQ(NormalHeight(hwnd), restored);
}

TEST_F(RollUpTest, WindowRefusingSmallHeightsDoesNotRoll) {
  HWND hwnd = target.Window(L"fixed");
  ASSERT_NE(hwnd, nullptr);
  const int before = WindowHeight(hwnd);
  EXPECT_EQ(Toggle(hwnd), 0);
  EXPECT_EQ(WindowHeight(hwnd), before);
  EXPECT_EQ(Prop(hwnd, kWndHight), 0u);
}

// The passes that undo the message hook's work run from the main program's process.
class RestoreAllTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.Loaded());
    normal = target.Window(L"normal");
    maxed = target.Window(L"max");
    ASSERT_NE(normal, nullptr);
    ASSERT_NE(maxed, nullptr);
    normalHeight = WindowHeight(normal);
  }
  void RollBoth() {
    ASSERT_GT(target.Send(normal, target::kCmdToggleRoll), 0);
    ASSERT_GT(target.Send(maxed, target::kCmdToggleRoll), 0);
  }
  void Translucent(HWND hwnd) { ASSERT_EQ(target.Send(hwnd, target::kCmdWheelStep, Wheel(-120), kLevel5), 1); }
  bool AllRestored() {
    return Prop(normal, kWndHight) == 0 && Prop(maxed, kWndHight) == 0 && WindowHeight(normal) == normalHeight;
  }
  // The translucency pass takes the layered style off a window whose thread answers its probe; one
  // that is still busy (with the roll-up pass's resize, or on a loaded machine) is left at alpha 255
  // with the mark, and the main program's retry takes the style off once it answers.
  static void ExpectOpaqueNowOrOnRetry(HWND hwnd) {
    EXPECT_EQ(Prop(hwnd, kWndLay), 0u);
    if (harness::IsLayered(hwnd)) {
      EXPECT_EQ(ReadLayered(hwnd).alpha, 255);
      EXPECT_NE(Prop(hwnd, qorv::kPropLayLeft), 0u) << "left layered without the mark";
      EXPECT_TRUE(harness::WaitFor([&] {
        qorv::LayeredLeftRetry();
        return !harness::IsLayered(hwnd);
      })) << "the retry did not take the style off";
    }
    EXPECT_EQ(Prop(hwnd, qorv::kPropLayLeft), 0u);
  }

  Library lib;
  OwnerWindow owner;
  Target target{{L"normal", L"max"}};
  HWND normal = nullptr;
  HWND maxed = nullptr;
  int normalHeight = 0;
};

TEST_F(RestoreAllTest, ClearingRollUpBitRestoresEveryRolledWindow) {
  const uint32_t on = qorv::main_flag::kRollUp;
  lib.SetHookFlag(on, 0, 0, 0);
  RollBoth();
  lib.SetHookFlag(on | qorv::main_flag::kWheelFront, 0, 0, 0);  // kept set: nothing restored
  EXPECT_NE(Prop(normal, kWndHight), 0u);
  lib.SetHookFlag(qorv::main_flag::kWheelFront, 0, 0, 0);
  EXPECT_EQ(lib.Shared()->RollCount, 0u);
  // Resizing another thread's window is posted to it.
  EXPECT_TRUE(harness::WaitFor([&] { return AllRestored(); }));
}

TEST_F(RestoreAllTest, ClearingTranslucencyBitMakesEveryWheelTranslucentWindowOpaque) {
  lib.SetHookFlag(kLevel5, 0, 0, 0);
  Translucent(normal);
  Translucent(maxed);
  // A window of this thread, as the wheel leaves one: the pass changes its style without asking.
  HWND own = CreateWindowExW(WS_EX_LAYERED, L"STATIC", L"own translucent", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                             nullptr, nullptr);
  ASSERT_NE(own, nullptr);
  SetLayeredWindowAttributes(own, 0, 125, LWA_ALPHA);
  SetPropW(own, kWndLay, reinterpret_cast<HANDLE>(125));
  lib.SetHookFlag(kLevel5 | qorv::main_flag::kRollUp, 0, 0, 0);
  EXPECT_TRUE(harness::IsLayered(normal));
  lib.SetHookFlag(qorv::main_flag::kRollUp, 0, 0, 0);
  EXPECT_FALSE(harness::IsLayered(own)) << "a window that answers at once keeps the style";
  EXPECT_EQ(Prop(own, qorv::kPropLayLeft), 0u);
  EXPECT_EQ(Prop(own, kWndLay), 0u);
  DestroyWindow(own);
  for (HWND hwnd : {normal, maxed}) ExpectOpaqueNowOrOnRetry(hwnd);
}

TEST_F(RestoreAllTest, RemovingMessageHookRunsBothPassesEvenWithBitsClear) {
  ASSERT_EQ(lib.SetHookGetMsg(owner.Get(), WM_APP + 1, 0), 1);
  lib.SetHookFlag(0, 0, 0, 0);
  RollBoth();
  Translucent(normal);
  EXPECT_EQ(lib.UnHookGetMsg(), 1);
  EXPECT_TRUE(harness::WaitFor([&] { return AllRestored(); }));
  ExpectOpaqueNowOrOnRetry(normal);
}

// A rolled-up, wheel-translucent window whose thread hangs: the restore passes run in the main
// program's thread and must not wait for it. Its height comes back once it runs again.
TEST_F(RestoreAllTest, HungWindowDoesNotHoldThePasses) {
  lib.SetHookFlag(qorv::main_flag::kRollUp | kLevel5, 0, 0, 0);
  RollBoth();
  Translucent(normal);
  PostMessageW(normal, target::kCmdHang, 0, 4000);
  ASSERT_TRUE(harness::WaitFor([&] { return GetPropW(normal, target::kHangingProp) != nullptr; }))
      << "the target does not hang";
  lib.SetHookFlag(0, 0, 0, 0);
  ASSERT_NE(GetPropW(normal, target::kHangingProp), nullptr) << "the passes waited on the hung window";
  EXPECT_EQ(Prop(normal, kWndLay), 0u);
  EXPECT_EQ(ReadLayered(normal).alpha, 255) << "opaque by its alpha while its style cannot change";
  EXPECT_TRUE(harness::IsLayered(normal));
  EXPECT_NE(Prop(normal, qorv::kPropLayLeft), 0u) << "left layered without the mark";
  EXPECT_EQ(Prop(normal, kWndHight), 0u);
  EXPECT_EQ(lib.Shared()->RollCount, 0u);
  const int left = qorv::LayeredLeftRetry();
  if (GetPropW(normal, target::kHangingProp) != nullptr) {  // still hung: the retry had to leave it
    EXPECT_EQ(left, 1);
    EXPECT_TRUE(harness::IsLayered(normal));
  }
  EXPECT_TRUE(harness::WaitFor([&] { return AllRestored(); }, 15000)) << "height back once the window runs";
  EXPECT_TRUE(harness::WaitFor([&] {
    qorv::LayeredLeftRetry();
    return !harness::IsLayered(normal);
  })) << "style still on after the window runs again";
  EXPECT_EQ(Prop(normal, qorv::kPropLayLeft), 0u);
}

}  // namespace
