// The monitor shims with the real multi-monitor functions, and their single-monitor answers with
// those functions hidden (as on a system whose USER32 lacks them).
#include <gtest/gtest.h>

#include "hooklib/shims_win.h"

namespace {

RECT Work() {
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

RECT Screen() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

struct Seen {
  int calls = 0;
  HMONITOR monitor = nullptr;
  RECT rect = {};
};

BOOL CALLBACK Record(HMONITOR monitor, HDC, LPRECT rect, LPARAM data) {
  auto* seen = reinterpret_cast<Seen*>(data);
  ++seen->calls;
  seen->monitor = monitor;
  seen->rect = *rect;
  return TRUE;
}

void ExpectWorkAreaQueries() {
  RECT r = {1, 2, 3, 4};
  ASSERT_EQ(qorv::MonitorRectAtPoint(&r, 10, 10, 1), 1);
  EXPECT_TRUE(Same(r, Work()));
  ASSERT_EQ(qorv::MonitorRectAtPoint(&r, 10, 10, 0), 1);
  EXPECT_TRUE(Same(r, Screen()));
  // Outside every monitor: 0, and the rectangle stays as it was.
  r = {1, 2, 3, 4};
  EXPECT_EQ(qorv::MonitorRectAtPoint(&r, -5, 10, 1), 0);
  EXPECT_TRUE(Same(r, RECT{1, 2, 3, 4}));
  RECT primary = {};
  EXPECT_EQ(qorv::PrimaryWorkArea(&primary), 1);
  EXPECT_TRUE(Same(primary, Work()));
  int count = 0;
  HRGN all = qorv::WorkAreaUnion(&count);
  ASSERT_NE(all, nullptr);
  EXPECT_EQ(count, 1);
  RECT box = {};
  EXPECT_EQ(GetRgnBox(all, &box), SIMPLEREGION);
  EXPECT_TRUE(Same(box, Work()));
  DeleteObject(all);
}

TEST(MonitorShims, WithTheRealFunctions) { ExpectWorkAreaQueries(); }

TEST(MonitorShims, SingleMonitorAnswersWithoutTheRealFunctions) {
  qorv::ShimHideRealFunctions();
  const auto pseudo = reinterpret_cast<HMONITOR>(qorv::kPrimaryMonitorHandle);
  EXPECT_EQ(qorv::ShimMonitorFromPoint(-5, 10, 0), nullptr);
  EXPECT_EQ(qorv::ShimMonitorFromPoint(-5, 10, MONITOR_DEFAULTTONEAREST), pseudo);
  EXPECT_EQ(qorv::ShimMonitorFromPoint(-5, 10, MONITOR_DEFAULTTOPRIMARY), pseudo);
  EXPECT_EQ(qorv::ShimMonitorFromPoint(0, 0, 0), pseudo);
  EXPECT_EQ(qorv::ShimMonitorFromPoint(Screen().right, 0, 0), nullptr) << "right edge is outside";

  EXPECT_EQ(qorv::ShimGetSystemMetrics(SM_CMONITORS), 1);
  EXPECT_EQ(qorv::ShimGetSystemMetrics(SM_SAMEDISPLAYFORMAT), 1);
  EXPECT_EQ(qorv::ShimGetSystemMetrics(SM_XVIRTUALSCREEN), 0);
  EXPECT_EQ(qorv::ShimGetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(qorv::ShimGetSystemMetrics(SM_CYVIRTUALSCREEN), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(qorv::ShimGetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CYCAPTION));

  MONITORINFOEXW info = {};
  info.cbSize = sizeof(info);
  ASSERT_EQ(sizeof(info), 104u);
  ASSERT_TRUE(qorv::ShimGetMonitorInfo(pseudo, &info));
  EXPECT_STREQ(info.szDevice, L"DISPLAY");
  EXPECT_TRUE(Same(info.rcMonitor, Screen()));
  EXPECT_TRUE(Same(info.rcWork, Work()));
  EXPECT_EQ(info.dwFlags, static_cast<DWORD>(MONITORINFOF_PRIMARY));
  MONITORINFO small = {};
  small.cbSize = 39;
  EXPECT_FALSE(qorv::ShimGetMonitorInfo(pseudo, &small));
  small.cbSize = sizeof(small);
  EXPECT_FALSE(qorv::ShimGetMonitorInfo(reinterpret_cast<HMONITOR>(0x1234), &small));
  EXPECT_FALSE(qorv::ShimGetMonitorInfo(pseudo, nullptr));

  Seen seen;
  EXPECT_TRUE(qorv::ShimEnumDisplayMonitors(nullptr, nullptr, Record, reinterpret_cast<LPARAM>(&seen)));
  EXPECT_EQ(seen.calls, 1);
  EXPECT_EQ(seen.monitor, pseudo);
  EXPECT_TRUE(Same(seen.rect, Screen()));
  const RECT clip = {10, 20, 30, 40};
  seen = {};
  EXPECT_TRUE(qorv::ShimEnumDisplayMonitors(nullptr, &clip, Record, reinterpret_cast<LPARAM>(&seen)));
  EXPECT_TRUE(Same(seen.rect, clip));
  const RECT outside = {-50, -50, -10, -10};
  seen = {};
  EXPECT_TRUE(qorv::ShimEnumDisplayMonitors(nullptr, &outside, Record, reinterpret_cast<LPARAM>(&seen)));
  EXPECT_EQ(seen.calls, 0) << "nothing to enumerate";
  EXPECT_FALSE(qorv::ShimEnumDisplayMonitors(nullptr, nullptr, nullptr, 0));
  HDC screen = GetDC(nullptr);
  seen = {};
  EXPECT_TRUE(qorv::ShimEnumDisplayMonitors(screen, nullptr, Record, reinterpret_cast<LPARAM>(&seen)));
  EXPECT_EQ(seen.calls, 1);
  EXPECT_TRUE(Same(seen.rect, Screen()));
  ReleaseDC(nullptr, screen);

  ExpectWorkAreaQueries();
}

}  // namespace
