// Cost of the message hook's procedure, called directly in a loop against an empty procedure in the
// same run (under Wine every real hook call adds server round trips that would hide it), and of the
// per-window lookup on a cache hit and miss with a 200-row table.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "common/flags.h"
#include "hooklib/core_win.h"
#include "hooklib/perwindow_win.h"
#include "hooklib/shared_state.h"
#include "hooklib/wheel.h"
#include "hooklib/wheel_accum.h"
#include "bench/bench_tables.h"
#include "common/map_table.h"
#include "host/published_block.h"

namespace qorv {
void BenchInitGlobals();
}

namespace {

LRESULT CALLBACK EmptyProc(int code, WPARAM wp, LPARAM lp) { return CallNextHookEx(nullptr, code, wp, lp); }

double Now() {
  LARGE_INTEGER f;
  LARGE_INTEGER t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// Nanoseconds per call over five rounds: the best round, and the worst as the spread.
struct Timing {
  double best;
  double worst;
};

template <typename F>
Timing NsPerCall(int calls, F&& body) {
  Timing t = {1e30, 0};
  for (int round = 0; round < 5; ++round) {
    const double start = Now();
    for (int i = 0; i < calls; ++i) body(i);
    const double ns = (Now() - start) * 1e9 / calls;
    if (ns < t.best) t.best = ns;
    if (ns > t.worst) t.worst = ns;
  }
  return t;
}

// A procedure against the empty one measured in the same run: the added nanoseconds with the
// spread of the rounds, and the ratio.
void Row(const char* what, Timing proc, Timing empty) {
  std::printf("%s: +%.0f ns (rounds %.0f-%.0f ns, empty %.0f-%.0f ns), ratio %.2f\n", what, proc.best - empty.best,
              proc.best, proc.worst, empty.best, empty.worst, proc.best / empty.best);
}

LRESULT CALLBACK ScrollProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_VSCROLL) return 0;
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int main() {
  qorv::BenchInitGlobals();
  using qorv::g_shared;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ScrollProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QorvBenchScroll";
  RegisterClassExW(&wc);
  HWND a = CreateWindowExW(0, L"QorvBenchScroll", L"bench", WS_OVERLAPPEDWINDOW | WS_VSCROLL, 50, 50, 300, 300, nullptr,
                           nullptr, wc.hInstance, nullptr);
  HWND b = CreateWindowExW(0, L"QorvBenchScroll", L"bench", WS_OVERLAPPEDWINDOW | WS_VSCROLL, 400, 50, 300, 300,
                           nullptr, nullptr, wc.hInstance, nullptr);
  ShowWindow(a, SW_SHOWNOACTIVATE);

  g_shared.MainFlag = qorv::kMainFlagDefault;
  g_shared.WheelFlag = qorv::wheel_flag::kVertScroll | (3u << 16);
  const int calls = 200000;
  const int notchesForMouse = 20000;
  auto r0 = [](HWND hwnd) {
    RECT rect = {};
    GetWindowRect(hwnd, &rect);
    return rect;
  };

  MSG other = {};
  other.hwnd = a;
  other.message = WM_TIMER;
  const Timing empty = NsPerCall(calls, [&](int) {
    MSG m = other;
    EmptyProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&m));
  });
  const Timing hook = NsPerCall(calls, [&](int) {
    MSG m = other;
    qorv::GetMsgProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&m));
  });
  Row("message hook, non-wheel message", hook, empty);

  // The out-of-context check at the entry of every hook procedure: each hooked process runs it with
  // its flag clear (one load and a branch); only the installing process asks for the window's process.
  volatile bool outOfContext = false;
  const Timing checkClear = NsPerCall(calls * 10, [&](int) { outOfContext = qorv::OutOfContext(a); });
  const Timing checkNone = NsPerCall(calls * 10, [&](int) { outOfContext = false; });
  qorv::g_installingProcess = true;
  const Timing checkInstaller = NsPerCall(calls * 10, [&](int) { outOfContext = qorv::OutOfContext(a); });
  const Timing hookInstaller = NsPerCall(calls, [&](int) {
    MSG m = other;
    qorv::GetMsgProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&m));
  });
  qorv::g_installingProcess = false;
  const Timing hookAgain = NsPerCall(calls, [&](int) {
    MSG m = other;
    qorv::GetMsgProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&m));
  });
  std::printf("out-of-context check alone: flag clear %.2f ns, a loop body without it %.2f ns; in the installing "
              "process (own window) %.1f ns\n",
              checkClear.best, checkNone.best, checkInstaller.best);
  Row("message hook, non-wheel message, flag clear (run again)", hookAgain, empty);
  Row("message hook, non-wheel message, in the installing process", hookInstaller, empty);

  // The mouse hook runs for every mouse message of every hooked thread.
  MOUSEHOOKSTRUCTEX move = {};
  move.pt = {r0(a).left + 100, r0(a).top + 100};
  move.hwnd = a;
  move.wHitTestCode = HTCLIENT;
  const Timing emptyMouse = NsPerCall(calls, [&](int) {
    MOUSEHOOKSTRUCTEX m = move;
    EmptyProc(HC_ACTION, WM_MOUSEMOVE, reinterpret_cast<LPARAM>(&m));
  });
  const Timing mouseMove = NsPerCall(calls, [&](int) {
    MOUSEHOOKSTRUCTEX m = move;
    qorv::MouseHookProc(HC_ACTION, WM_MOUSEMOVE, reinterpret_cast<LPARAM>(&m));
  });
  Row("mouse hook, cursor move", mouseMove, emptyMouse);
  MOUSEHOOKSTRUCTEX turn = move;
  turn.mouseData = static_cast<DWORD>(-120) << 16;
  const Timing mouseWheel = NsPerCall(notchesForMouse, [&](int) {
    MOUSEHOOKSTRUCTEX m = turn;
    qorv::MouseHookProc(HC_ACTION, WM_MOUSEWHEEL, reinterpret_cast<LPARAM>(&m));
  });
  Row("mouse hook, wheel notch over the focus window", mouseWheel, emptyMouse);

  RECT r;
  GetWindowRect(a, &r);
  MSG wheel = {};
  wheel.hwnd = a;
  wheel.message = WM_MOUSEWHEEL;
  wheel.wParam = MAKEWPARAM(0, static_cast<WORD>(-120));
  wheel.pt = {r.left + 100, r.top + 100};
  const int notches = 20000;
  const Timing reused = NsPerCall(notches, [&](int) {
    MSG m = wheel;
    qorv::GetMsgProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&m));
  });
  const Timing fresh = NsPerCall(notches, [&](int i) {
    MSG m = wheel;
    m.pt.x += (i & 1) * 5;  // a move of more than 2 pixels: decided afresh
    qorv::GetMsgProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&m));
  });
  Row("message hook, converted notch (3 lines + end), reused decision", reused, empty);
  Row("message hook, converted notch (3 lines + end), fresh decision", fresh, empty);
  // What the collection of fine deltas adds to each of those whole notches: the same calls alone.
  qorv::WheelAccum accum = {};
  volatile int32_t sink = 0;
  const Timing collect = NsPerCall(calls, [&](int i) {
    sink = qorv::WheelAccumulate(accum, reinterpret_cast<UINT_PTR>(a), qorv::kDirVert, (i & 1) != 0 ? 120 : -120,
                                 static_cast<uint32_t>(i), 500);
  });
  std::printf("fine-delta collection of a whole notch alone: %.1f ns (rounds %.1f-%.1f ns), %.4f %% of the reused notch\n",
              collect.best, collect.best, collect.worst, 100.0 * collect.best / reused.best);

  const std::vector<uint8_t> block = bench::MapTable200();
  wchar_t name[96];
  qorv::MapTableName(name, static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(GetDesktopWindow())), 77u);
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, static_cast<DWORD>(block.size()), name);
  void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, block.size());
  std::memcpy(view, block.data(), block.size());
  UnmapViewOfFile(view);
  const uint32_t extra = qorv::extra_flag::kMapTableOn | 77;
  uint32_t word = 0;
  const Timing hit = NsPerCall(calls, [&](int) {
    qorv::PerWindowLookup(a, extra, qorv::g_hostPath, qorv::g_hostNameOffset, &word, nullptr);
  });
  const Timing miss = NsPerCall(2000, [&](int i) {
    qorv::PerWindowLookup((i & 1) ? a : b, extra, qorv::g_hostPath, qorv::g_hostNameOffset, &word, nullptr);
  });
  std::printf("per-window lookup, 200 rows: cache hit %.1f ns (rounds up to %.1f), miss %.0f ns (rounds up to %.0f)\n",
              hit.best, hit.worst, miss.best, miss.worst);
  CloseHandle(mapping);
  DestroyWindow(a);
  DestroyWindow(b);
  return 0;
}
