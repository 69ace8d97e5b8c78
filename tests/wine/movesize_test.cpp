// Real move and size loops of another process's windows, driven by injected mouse drags, with the
// window-procedure hook installed as the main program installs it: snapping, translucency and the
// reports that reach the owner window.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/flags.h"
#include "settings/map_file.h"
#include "tests/wine/harness.h"
#include "tests/wine/snap_driver.h"

using harness::Library;
using harness::OwnerWindow;
using harness::WaitFor;
using snapdrive::Drag;
using snapdrive::SnapApp;
using snapdrive::WindowRect;

namespace {

constexpr UINT kNotify = WM_APP + 9;
constexpr uint32_t kSnap10 = qorv::wnd_flag::kSnap | (10u << qorv::wnd_flag::kSnapPixelsShift);

RECT WorkArea() {
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

// The hook installed as the main program does, with the given flag words.
struct Hooked {
  Library lib;
  OwnerWindow owner;
  Hooked(uint32_t mainFlag, uint32_t wndFlag) {
    if (!lib.Loaded()) return;
    lib.SetHookFlag(mainFlag, 0, wndFlag, 0);
    installed = lib.SetHookCallWnd(owner.Get(), kNotify, 0) == 1;
  }
  bool installed = false;

  bool Received(WPARAM wp, LPARAM lp) const {
    for (const auto& m : owner.received) {
      if (m.msg == kNotify && m.wp == wp && m.lp == lp) return true;
    }
    return false;
  }
  bool ReceivedWp(WPARAM wp) const {
    for (const auto& m : owner.received) {
      if (m.msg == kNotify && m.wp == wp) return true;
    }
    return false;
  }
  bool LoopStarted(HWND hwnd) const { return Received(0x231, reinterpret_cast<LPARAM>(hwnd)); }
  bool LoopEnded(HWND hwnd) const {
    return Received(0x232, reinterpret_cast<LPARAM>(hwnd)) || Received(0x215, reinterpret_cast<LPARAM>(hwnd));
  }
};

POINT CaptionPoint(HWND hwnd) {
  POINT p = {};
  EXPECT_TRUE(snapdrive::FindHit(hwnd, HTCAPTION, &p));
  return p;
}

// Drags the window's caption so that its top-left corner moves by (dx, dy); returns the end rectangle.
RECT DragCaption(Hooked& h, HWND hwnd, int dx, int dy, BYTE modifier = 0) {
  h.owner.received.clear();
  {
    Drag drag(hwnd, CaptionPoint(hwnd));
    if (modifier != 0) {
      // Most of the way without, the last steps with the key held.
      drag.MoveBy(dx - dx / 4, dy - dy / 4);
      drag.Hold(modifier);
      drag.MoveBy(dx / 4, dy / 4);
    } else {
      drag.MoveBy(dx, dy);
    }
  }
  EXPECT_TRUE(WaitFor([&] { return h.LoopEnded(hwnd); }, 5000)) << "the loop did not end";
  return WindowRect(hwnd);
}

TEST(MoveSizeSnap, SnapsToTheWorkAreaAndToVisibleEdgesOnly) {
  Hooked h(0, kSnap10);
  ASSERT_TRUE(h.installed);
  SnapApp moving({L"a=plain@300,200,300,200"});
  // B's left edge (x 650) is wholly covered by C, which lies above it.
  SnapApp others({L"b=plain@650,100,250,350", L"c=plain@620,60,80,440"});
  ASSERT_TRUE(moving.AllFound() && others.AllFound());
  HWND a = moving.Window(0);
  HWND b = others.Window(0);
  HWND c = others.Window(1);
  SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const RECT work = WorkArea();

  RECT r = WindowRect(a);
  r = DragCaption(h, a, work.left + 6 - r.left, 0);
  EXPECT_EQ(r.left, work.left) << "6 pixels from the work-area edge";

  r = DragCaption(h, a, 645 - r.right, 0);
  EXPECT_EQ(r.right, 645) << "B's covered edge is no line";

  // With C out of the way, B's edge is visible and catches the window.
  SetWindowPos(c, HWND_BOTTOM, 60, 600, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_TRUE(WaitFor([&] { return WindowRect(c).top == 600; }));
  r = DragCaption(h, a, -60, 0);
  r = DragCaption(h, a, 645 - r.right, 0);
  EXPECT_EQ(r.right, WindowRect(b).left);
}

TEST(MoveSizeSnap, WindowRegionBoxesAreTheLinesWithTheRegionBit) {
  Hooked h(0, kSnap10 | qorv::wnd_flag::kSnapRgn);
  ASSERT_TRUE(h.installed);
  SnapApp moving({L"a=plain@100,200,300,200"});
  SnapApp others({L"b=region@650,100,250,350"});
  ASSERT_TRUE(moving.AllFound() && others.AllFound());
  HWND a = moving.Window(0);
  const int shapeLeft = WindowRect(others.Window(0)).left + snapapp::kRegionInset;
  RECT r = WindowRect(a);
  r = DragCaption(h, a, shapeLeft - 5 - r.right, 0);
  EXPECT_EQ(r.right, shapeLeft) << "the region's box, not the window rectangle";
}

// For the programs started while it lives: the stand-in window-manager library is loaded (Wine takes
// a library of that name from the given file only when told to prefer it to its own).
class BorderedApps {
 public:
  BorderedApps() {
    wchar_t old[1024] = L"";
    had_ = GetEnvironmentVariableW(L"WINEDLLOVERRIDES", old, 1024) != 0;
    old_ = old;
    SetEnvironmentVariableW(L"WINEDLLOVERRIDES", (old_ + (old_.empty() ? L"" : L";") + L"dwmapi=n,b").c_str());
    SetEnvironmentVariableW(snapapp::kBordersVariable, L"1");
  }
  ~BorderedApps() {
    SetEnvironmentVariableW(L"WINEDLLOVERRIDES", had_ ? old_.c_str() : nullptr);
    SetEnvironmentVariableW(snapapp::kBordersVariable, nullptr);
  }
  BorderedApps(const BorderedApps&) = delete;
  BorderedApps& operator=(const BorderedApps&) = delete;

 private:
  bool had_;
  std::wstring old_;
};

// Windows with invisible borders (names starting with "f") meet by their visible edges: each other,
// the work area, and a window without borders. One drag per test: under Wine, a later caption press
// in the same run sometimes starts no move loop after a loop that ended on a snapped step.
class VisibleFrameSnap : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(h.installed);
    BorderedApps borders;
    others.reset(new SnapApp({L"fb=plain@700,100,250,350", L"c=plain@100,600,200,150"}));
    ASSERT_TRUE(others->AllFound());
    b = WindowRect(others->Window(0));
    c = WindowRect(others->Window(1));
  }
  // Starts the window to move (with borders) and drags it by what drag computes from its rectangle.
  template <typename F>
  RECT DragOnce(const wchar_t* desc, F drag) {
    {
      BorderedApps borders;
      moving.reset(new SnapApp({desc}));
    }
    EXPECT_TRUE(moving->AllFound());
    HWND a = moving->Window(0);
    const POINT by = drag(WindowRect(a));
    return DragCaption(h, a, by.x, by.y);
  }

  static constexpr int kB = snapapp::kBorder;
  Hooked h{0, kSnap10};
  std::unique_ptr<SnapApp> others;
  std::unique_ptr<SnapApp> moving;
  RECT b = {};
  RECT c = {};
};

TEST_F(VisibleFrameSnap, VisibleEdgesOfTwoWindowsWithBordersMeet) {
  const RECT r = DragOnce(L"fm=plain@300,100,300,200",
                          [&](const RECT& w) { return POINT{(b.left + kB) - 5 - (w.right - kB), 0}; });
  EXPECT_EQ(r.right - kB, b.left + kB);
}

TEST_F(VisibleFrameSnap, VisibleEdgeMeetsTheWorkArea) {
  const RECT work = WorkArea();
  const RECT r = DragOnce(L"fm=plain@200,330,300,150",
                          [&](const RECT& w) { return POINT{(work.left + 5) - (w.left + kB), 0}; });
  EXPECT_EQ(r.left + kB, work.left);
}

// A drag that takes a window onto a monitor of another scale: the window gets WM_DPICHANGED and its
// invisible borders grow with the scale. The visible box is taken again, so the new visible edge
// meets the target's; with the borders of the start it would stop 7 pixels short.
TEST_F(VisibleFrameSnap, BordersAreTakenAgainWhenTheScaleChangesDuringTheDrag) {
  {
    BorderedApps borders;
    moving.reset(new SnapApp({L"fm=plain@300,100,300,200"}));
  }
  ASSERT_TRUE(moving->AllFound());
  HWND a = moving->Window(0);
  h.owner.received.clear();
  {
    Drag drag(a, CaptionPoint(a));
    drag.MoveBy(-30, 0);
    DWORD_PTR handled = 0;
    ASSERT_TRUE(SendMessageTimeoutW(a, snapapp::kCmdScaleChange, 0, 0, SMTO_NORMAL, 5000, &handled) && handled == 1)
        << "the window did not take the new scale";
    const RECT w = WindowRect(a);
    drag.MoveBy((b.left + kB) - 5 - (w.right - snapapp::kScaledBorder), 0);
  }
  EXPECT_TRUE(WaitFor([&] { return h.LoopEnded(a); }, 5000)) << "the loop did not end";
  const RECT r = WindowRect(a);
  EXPECT_EQ(r.right - snapapp::kScaledBorder, b.left + kB);
}

TEST_F(VisibleFrameSnap, VisibleEdgeMeetsAWindowWithoutBorders) {
  const RECT r = DragOnce(L"fm=plain@120,500,250,60",
                          [&](const RECT& w) { return POINT{0, (c.top - 4) - (w.bottom - kB)}; });
  EXPECT_EQ(r.bottom - kB, c.top);
}

TEST(MoveSizeSnap, ShiftOrCtrlSuspendsSnapping) {
  Hooked h(0, kSnap10);
  ASSERT_TRUE(h.installed);
  SnapApp moving({L"a=plain@300,200,300,200"});
  ASSERT_TRUE(moving.AllFound());
  HWND a = moving.Window(0);
  const RECT work = WorkArea();
  RECT r = WindowRect(a);
  r = DragCaption(h, a, work.left + 6 - r.left, 0, VK_SHIFT);
  EXPECT_EQ(r.left, work.left + 6);
  r = DragCaption(h, a, 300 - r.left, 0);
  r = DragCaption(h, a, work.left + 6 - r.left, 0, VK_CONTROL);
  EXPECT_EQ(r.left, work.left + 6);
  // Without them the same drag snaps.
  r = DragCaption(h, a, 300 - r.left, 0);
  r = DragCaption(h, a, work.left + 6 - r.left, 0);
  EXPECT_EQ(r.left, work.left);
}

TEST(MoveSizeSnap, InnerSnappingUsesHalfTheDistance) {
  Hooked h(0, kSnap10 | qorv::wnd_flag::kSnapInner);
  ASSERT_TRUE(h.installed);
  SnapApp moving({L"a=plain@100,100,300,200"});
  SnapApp others({L"b=plain@400,150,500,500"});
  ASSERT_TRUE(moving.AllFound() && others.AllFound());
  HWND a = moving.Window(0);
  const int inner = WindowRect(others.Window(0)).left;
  RECT r = WindowRect(a);
  r = DragCaption(h, a, inner + 4 - r.left, 300 - r.top);
  EXPECT_EQ(r.left, inner) << "4 pixels inside";
  r = DragCaption(h, a, 40, 0);
  r = DragCaption(h, a, inner + 5 - r.left, 0);
  EXPECT_EQ(r.left, inner + 5) << "5 pixels inside is out of reach with distance 10";
}

TEST(MoveSizeSnap, ChildWithSizingFrameSnapsToItsParentAndSiblings) {
  Hooked h(0, kSnap10);
  ASSERT_TRUE(h.installed);
  SnapApp app({L"p=parent@100,100,640,480"});
  ASSERT_TRUE(app.AllFound());
  HWND parent = app.Window(0);
  HWND child = app.Child(0, L":a");
  HWND sibling = app.Child(0, L":b");
  ASSERT_NE(child, nullptr);
  ASSERT_NE(sibling, nullptr);
  RECT client;
  GetClientRect(parent, &client);
  MapWindowPoints(parent, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);

  h.owner.received.clear();
  RECT r = WindowRect(child);
  {
    Drag drag(child, CaptionPoint(child));
    drag.MoveBy(client.left + 7 - r.left, 0);
  }
  r = WindowRect(child);
  EXPECT_EQ(r.left, client.left) << "the parent's client edge";
  {
    Drag drag(child, CaptionPoint(child));
    drag.MoveBy(WindowRect(sibling).left - 6 - r.right, 0);
  }
  EXPECT_EQ(WindowRect(child).right, WindowRect(sibling).left) << "the sibling's edge";
  EXPECT_FALSE(h.ReceivedWp(0x231)) << "a child's loop is not tracked";
}

// A window whose program subclasses it again during the loop, above the snap procedure: at the
// end of the loop the snap procedure cannot take itself out without cutting the program's
// procedure out too, so it stays in the chain and passes everything on.
TEST(MoveSizeSnap, SubclassAddedDuringTheLoopStaysInTheChain) {
  Hooked h(0, kSnap10);
  ASSERT_TRUE(h.installed);
  SnapApp app({L"a=resub@300,200,300,200"});
  ASSERT_TRUE(app.AllFound());
  HWND a = app.Window(0);
  RECT r = WindowRect(a);
  r = DragCaption(h, a, WorkArea().left + 6 - r.left, 0);
  EXPECT_EQ(r.left, WorkArea().left) << "snapped while the program's procedure sits above";
  DWORD_PTR count = 0;
  ASSERT_TRUE(SendMessageTimeoutW(a, snapapp::kCmdResubCount, 0, 0, SMTO_NORMAL, 5000, &count));
  EXPECT_GT(static_cast<LONG_PTR>(count), 0) << "the program's own procedure was cut out of the chain";
  // A second loop on the same window neither snaps twice nor loses the chain.
  r = DragCaption(h, a, 40, 0);
  ASSERT_TRUE(SendMessageTimeoutW(a, snapapp::kCmdResubCount, 0, 0, SMTO_NORMAL, 5000, &count));
  EXPECT_GT(static_cast<LONG_PTR>(count), 0);
}

TEST(MoveSizeTranslucency, AppearsAtTheFirstStepAndGoesAtTheEnd) {
  Hooked h(0, qorv::wnd_flag::kMoveTranslucent | 0x05000000);
  ASSERT_TRUE(h.installed);
  SnapApp app({L"a=plain@200,200,300,200", L"own=layered@300,450,300,200"});
  ASSERT_TRUE(app.AllFound());
  HWND a = app.Window(0);
  {
    Drag drag(a, CaptionPoint(a));
    ASSERT_TRUE(WaitFor([&] { return h.LoopStarted(a); }, 5000));
    EXPECT_FALSE(harness::IsLayered(a)) << "not before the first move step";
    drag.MoveBy(30, 10);
    EXPECT_TRUE(WaitFor([&] { return harness::ReadLayered(a).alpha == 125 && harness::IsLayered(a); }, 3000));
  }
  EXPECT_TRUE(WaitFor([&] { return !harness::IsLayered(a); }, 3000)) << "opaque again at the end";

  // A window that its own program made layered is left alone.
  HWND own = app.Window(1);
  {
    Drag drag(own, CaptionPoint(own));
    ASSERT_TRUE(WaitFor([&] { return h.LoopStarted(own); }, 5000));
    drag.MoveBy(30, 10);
    EXPECT_EQ(harness::ReadLayered(own).alpha, snapapp::kOwnAlpha);
  }
  ASSERT_TRUE(WaitFor([&] { return h.LoopEnded(own); }, 5000));
  EXPECT_TRUE(harness::IsLayered(own));
  EXPECT_EQ(harness::ReadLayered(own).alpha, snapapp::kOwnAlpha);
}

LPARAM SizeWord(const RECT& r) { return ((r.bottom - r.top) & 0xFFFF) << 16 | ((r.right - r.left) & 0xFFFF); }

TEST(MoveSizeReports, LoopSizeActivationAndSizingTranslucency) {
  Hooked h(0, qorv::wnd_flag::kShowSize | qorv::wnd_flag::kSizeTranslucent | 0x03000000);
  ASSERT_TRUE(h.installed);
  SnapApp app({L"a=plain@200,200,300,200"});
  ASSERT_TRUE(app.AllFound());
  HWND a = app.Window(0);
  const LPARAM lpA = reinterpret_cast<LPARAM>(a);
  POINT corner;
  ASSERT_TRUE(snapdrive::FindHit(a, HTBOTTOMRIGHT, &corner));
  {
    Drag drag(a, corner);
    ASSERT_TRUE(WaitFor([&] { return h.LoopStarted(a); }, 5000));
    EXPECT_TRUE(WaitFor([&] { return h.Received((1 << 16) | 0x86, lpA); }, 3000)) << "activation";
    drag.MoveBy(40, 30);
    EXPECT_TRUE(WaitFor([&] { return harness::ReadLayered(a).alpha == 75 && harness::IsLayered(a); }, 3000));
  }
  ASSERT_TRUE(WaitFor([&] { return h.LoopEnded(a); }, 5000));
  const RECT end = WindowRect(a);
  EXPECT_EQ(end.right - end.left, 340);
  EXPECT_EQ(end.bottom - end.top, 230);
  EXPECT_TRUE(h.Received((8 << 16) | 0x214, SizeWord(end))) << "size while sizing";
  EXPECT_TRUE(h.Received((8 << 16) | 0x47, SizeWord(end))) << "size after the position change";
  EXPECT_TRUE(WaitFor([&] { return !harness::IsLayered(a); }, 3000));
}

TEST(MoveSizeReports, SnappedSizeIsReportedAfterSnapping) {
  Hooked h(0, kSnap10 | qorv::wnd_flag::kShowSize);
  ASSERT_TRUE(h.installed);
  SnapApp app({L"a=plain@500,200,300,200"});
  ASSERT_TRUE(app.AllFound());
  HWND a = app.Window(0);
  const RECT work = WorkArea();
  POINT edge;
  ASSERT_TRUE(snapdrive::FindHit(a, HTRIGHT, &edge));
  h.owner.received.clear();
  {
    Drag drag(a, edge);
    ASSERT_TRUE(WaitFor([&] { return h.LoopStarted(a); }, 5000));
    drag.MoveBy(work.right - 4 - WindowRect(a).right, 0);
  }
  ASSERT_TRUE(WaitFor([&] { return h.LoopEnded(a); }, 5000));
  const RECT end = WindowRect(a);
  EXPECT_EQ(end.right, work.right);
  EXPECT_TRUE(h.Received((2 << 16) | 0x214, SizeWord(end)));
}

TEST(MoveSizeReports, ThumbDragsOfAScrollBarAndATrackbar) {
  Hooked h(qorv::main_flag::kScrollPosReport, 0);
  ASSERT_TRUE(h.installed);
  SnapApp app({L"s=scroll@100,100,300,300", L"t=trackbar@450,100,400,150"});
  ASSERT_TRUE(app.AllFound());
  HWND s = app.Window(0);
  // The thumb of the window's own vertical bar sits right below the upper arrow.
  RECT client;
  GetClientRect(s, &client);
  MapWindowPoints(s, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
  const POINT thumb = {client.right + GetSystemMetrics(SM_CXVSCROLL) / 2,
                       client.top + GetSystemMetrics(SM_CYVSCROLL) + 4};
  {
    Drag drag(s, thumb, false);
    drag.MoveBy(0, 80);
  }
  const LPARAM lpS = reinterpret_cast<LPARAM>(s);
  EXPECT_TRUE(WaitFor([&] { return h.Received((1 << 24) | 0x000F0000 | WM_VSCROLL, lpS); }, 3000)) << "drag starts";
  bool position = false;
  for (const auto& m : h.owner.received) {
    if (m.wp == ((1 << 24) | (5 << 16) | WM_VSCROLL) && m.lp > 0) position = true;
  }
  EXPECT_TRUE(position) << "thumb positions while dragging";
  EXPECT_TRUE(WaitFor([&] { return h.ReceivedWp((1 << 24) | (4 << 16) | WM_VSCROLL); }, 3000)) << "the end position";

  // A drag that is cancelled is reported as cancelled.
  h.owner.received.clear();
  {
    Drag drag(s, {thumb.x, thumb.y + 80}, false);
    drag.MoveBy(0, -30);
    ASSERT_TRUE(WaitFor([&] { return h.Received((1 << 24) | 0x000F0000 | WM_VSCROLL, lpS); }, 3000));
    DWORD_PTR ignored;
    SendMessageTimeoutW(s, WM_CANCELMODE, 0, 0, SMTO_NORMAL, 5000, &ignored);
    EXPECT_TRUE(WaitFor([&] { return h.Received(0x1F, lpS); }, 3000)) << "thumb drag cancelled";
  }

  HWND t = app.Window(1);
  DWORD_PTR packed = 0;
  ASSERT_TRUE(SendMessageTimeoutW(t, snapapp::kCmdThumbPoint, 0, 0, SMTO_NORMAL, 5000, &packed));
  const POINT knob = {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
  h.owner.received.clear();
  {
    Drag drag(t, knob, false);
    drag.MoveBy(120, 0);
  }
  HWND bar = FindWindowExW(t, nullptr, L"msctls_trackbar32", nullptr);
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(WaitFor([&] { return h.Received((4 << 24) | 0x000F0000 | WM_HSCROLL, reinterpret_cast<LPARAM>(bar)); },
                      3000));
  DWORD_PTR pos = 0;
  LPARAM last = -1;
  // The reports are posted, and the trackbar may still be taking the drag's last move: both are read
  // again until they settle on the same position.
  EXPECT_TRUE(WaitFor([&] {
    SendMessageTimeoutW(bar, WM_USER, 0, 0, SMTO_NORMAL, 5000, &pos);  // TBM_GETPOS
    for (const auto& m : h.owner.received) {
      if (m.wp == ((4 << 24) | (5 << 16) | WM_HSCROLL)) last = m.lp;
    }
    return last > 0 && static_cast<DWORD_PTR>(last) == pos;
  })) << "the reported position " << last << " is the trackbar's " << pos;
}

}  // namespace

namespace {

// A per-window row with option bit 0x00000002 gives its windows its own window word: here a
// translucency level of 3 (alpha 75) instead of the global level 5.
TEST(MoveSizeTranslucency, PerWindowRowReplacesTheWindowWord) {
  Hooked h(0, qorv::wnd_flag::kMoveTranslucent | 0x05000000);
  ASSERT_TRUE(h.installed);
  qorv::MapEntry row;
  row.EntryFlag = 0x43;
  row.EntryWheelFlag = 0;
  row.EntryWndFlag = qorv::wnd_flag::kMoveTranslucent | 0x03000000;
  char className[64] = {};
  WideCharToMultiByte(CP_ACP, 0, snapapp::kClass, -1, className, sizeof(className), nullptr, nullptr);
  row.ClassName = className;
  harness::PublishedTable table(51, {row});
  ASSERT_TRUE(table.Published());
  h.lib.SetHookFlag(0, 0, qorv::wnd_flag::kMoveTranslucent | 0x05000000, qorv::extra_flag::kMapTableOn | 51);

  SnapApp app({L"a=plain@200,200,300,200"});
  ASSERT_TRUE(app.AllFound());
  HWND a = app.Window(0);
  {
    Drag drag(a, CaptionPoint(a));
    ASSERT_TRUE(WaitFor([&] { return h.LoopStarted(a); }, 5000));
    drag.MoveBy(30, 10);
    EXPECT_TRUE(WaitFor([&] { return harness::IsLayered(a) && harness::ReadLayered(a).alpha == 75; }, 3000))
        << static_cast<int>(harness::ReadLayered(a).alpha);
  }
  EXPECT_TRUE(WaitFor([&] { return !harness::IsLayered(a); }, 3000));
}

}  // namespace
