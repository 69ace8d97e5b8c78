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
#include "host/map_table.h"

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

// Best of five rounds, in nanoseconds per call.
template <typename F>
double NsPerCall(int calls, F&& body) {
  double best = 1e30;
  for (int round = 0; round < 5; ++round) {
    const double start = Now();
    for (int i = 0; i < calls; ++i) body(i);
    const double ns = (Now() - start) * 1e9 / calls;
    if (ns < best) best = ns;
  }
  return best;
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

  MSG other = {};
  other.hwnd = a;
  other.message = WM_TIMER;
  const double empty = NsPerCall(calls, [&](int) {
    MSG m = other;
    EmptyProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&m));
  });
  const double hook = NsPerCall(calls, [&](int) {
    MSG m = other;
    qorv::GetMsgProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&m));
  });
  std::printf("message hook, non-wheel message: %.1f ns, empty procedure %.1f ns, ratio %.3f\n", hook, empty,
              hook / empty);

  RECT r;
  GetWindowRect(a, &r);
  MSG wheel = {};
  wheel.hwnd = a;
  wheel.message = WM_MOUSEWHEEL;
  wheel.wParam = MAKEWPARAM(0, static_cast<WORD>(-120));
  wheel.pt = {r.left + 100, r.top + 100};
  const int notches = 20000;
  const double reused = NsPerCall(notches, [&](int) {
    MSG m = wheel;
    qorv::GetMsgProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&m));
  });
  const double fresh = NsPerCall(notches, [&](int i) {
    MSG m = wheel;
    m.pt.x += (i & 1) * 5;  // a move of more than 2 pixels: decided afresh
    qorv::GetMsgProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&m));
  });
  std::printf("converted notch (3 lines + end): reused decision %.0f ns, fresh decision %.0f ns\n", reused, fresh);
  // What the collection of fine deltas adds to each of those whole notches: the same calls alone.
  qorv::WheelAccum accum = {};
  volatile int32_t sink = 0;
  const double collect = NsPerCall(calls, [&](int i) {
    sink = qorv::WheelAccumulate(accum, reinterpret_cast<UINT_PTR>(a), qorv::kDirVert, (i & 1) != 0 ? 120 : -120,
                                 static_cast<uint32_t>(i), 500);
  });
  std::printf("fine-delta collection of a whole notch alone: %.1f ns, %.4f %% of the reused notch\n", collect,
              100.0 * collect / reused);

  const std::vector<uint8_t> block = bench::MapTable200();
  wchar_t name[96];
  swprintf(name, 96, L"QorvMapFlag0x%X %u", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(GetDesktopWindow())), 77u);
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, static_cast<DWORD>(block.size()), name);
  void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, block.size());
  std::memcpy(view, block.data(), block.size());
  UnmapViewOfFile(view);
  const uint32_t extra = qorv::extra_flag::kMapTableOn | 77;
  uint32_t word = 0;
  const double hit = NsPerCall(calls, [&](int) {
    qorv::PerWindowLookup(a, extra, qorv::g_hostPath, qorv::g_hostNameOffset, &word, nullptr);
  });
  const double miss = NsPerCall(2000, [&](int i) {
    qorv::PerWindowLookup((i & 1) ? a : b, extra, qorv::g_hostPath, qorv::g_hostNameOffset, &word, nullptr);
  });
  std::printf("per-window lookup, 200 rows: cache hit %.1f ns, miss %.0f ns\n", hit, miss);
  CloseHandle(mapping);
  DestroyWindow(a);
  DestroyWindow(b);
  return 0;
}
