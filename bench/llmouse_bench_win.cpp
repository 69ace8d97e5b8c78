// The low-level mouse hook procedure called directly in a loop, against an empty procedure that
// only passes the event on, in the same run: the cost the hook adds to every mouse event. Under
// Wine a real hook call costs server round trips that hide this, so the procedure is called here
// as a plain function. Events that would inject input are left out. Run by tools/bench.sh.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/bench_tables.h"
#include "common/flags.h"
#include "hooklib/core_win.h"
#include "hooklib/shared_state.h"

namespace qorv {
SharedState g_shared;
HINSTANCE g_libraryModule;
// The flag words as the library's snapshot gives them; the benchmark's hook thread reads them.
FlagWords ReadFlags() { return {g_shared.MainFlag, g_shared.WheelFlag, g_shared.WndFlag, g_shared.ExtraFlag}; }
}  // namespace qorv

namespace {

LRESULT CALLBACK EmptyProc(int code, WPARAM wp, LPARAM lp) {
  return CallNextHookEx(qorv::HookFrom32(qorv::g_shared.LLMouseHook), code, wp, lp);
}

using bench::Idx;
using bench::kOn;

struct Scenario {
  const char* name;
  uint32_t pairs[8][2];
  UINT messages[2];
  DWORD mouseData;
};

double NsPerCall(HOOKPROC proc, const Scenario& s, long iterations, MSLLHOOKSTRUCT& info) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  volatile LRESULT sink = 0;
  QueryPerformanceCounter(&start);
  for (long i = 0; i < iterations; ++i) {
    info.time = static_cast<DWORD>(i);
    sink = sink + proc(HC_ACTION, s.messages[i & 1], reinterpret_cast<LPARAM>(&info));
  }
  QueryPerformanceCounter(&end);
  return 1e9 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart) /
         static_cast<double>(iterations);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const long iterations = argc > 1 ? _wtol(argv[1]) : 200000;
  const Scenario scenarios[] = {
      {"mouse move (not a button event)", {}, {WM_MOUSEMOVE, WM_MOUSEMOVE}, 0},
      {"left button, 8 pairs of other buttons",
       {{Idx(5) | kOn, 'A'},
        {Idx(6) | kOn, 'B'},
        {Idx(2) | kOn, 'C'},
        {Idx(3) | kOn, 'D'},
        {Idx(4) | kOn, 'E'},
        {Idx(1) | kOn, 'F'},
        {Idx(5) | 0x200 | kOn, 'G'},
        {Idx(6) | 0x400 | kOn, 'H'}},
       {WM_LBUTTONDOWN, WM_LBUTTONUP},
       0},
      {"right button, 8 conditional pairs (modifiers read)",
       {{Idx(1) | 0x200 | kOn, 'A'},
        {Idx(1) | 0x400 | kOn, 'B'},
        {Idx(1) | 0x100 | kOn, 'C'},
        {Idx(1) | 0x800 | kOn, 'D'},
        {Idx(1) | 0x600 | kOn, 'E'},
        {Idx(1) | 0x300 | kOn, 'F'},
        {Idx(1) | 0x500 | kOn, 'G'},
        {Idx(1) | 0xA00 | kOn, 'H'}},
       {WM_RBUTTONDOWN, WM_RBUTTONUP},
       0},
      {"X1 swallowed with nothing to send, 8th pair",
       {{Idx(6) | kOn, 'A'},
        {Idx(6) | kOn, 'B'},
        {Idx(2) | kOn, 'C'},
        {Idx(3) | kOn, 'D'},
        {Idx(4) | kOn, 'E'},
        {Idx(1) | kOn, 'F'},
        {Idx(0) | kOn, 'G'},
        {Idx(5) | kOn | qorv::btn_cond::kSuppressButton, 0}},
       {WM_XBUTTONDOWN, WM_XBUTTONUP},
       XBUTTON1 << 16},
  };
  std::printf("hook procedure per call, %ld calls per scenario and procedure\n", iterations);
  for (const Scenario& s : scenarios) {
    std::memset(&qorv::g_shared, 0, sizeof(qorv::g_shared));
    qorv::g_shared.MouseBtn.setNum = 8;
    for (int i = 0; i < 8; ++i) qorv::g_shared.MouseBtn.pairs[i] = {s.pairs[i][0], s.pairs[i][1]};
    qorv::LLMouseUseBlock(qorv::g_shared.MouseBtn);
    MSLLHOOKSTRUCT info = {};
    info.pt = {300, 300};
    info.mouseData = s.mouseData;
    // Alternate the two procedures a few times and keep the best of each, so that a busy moment
    // on a shared machine does not decide the figure.
    double bestEmpty = 1e30, bestHook = 1e30;
    for (int round = 0; round < 5; ++round) {
      const double e = NsPerCall(EmptyProc, s, iterations, info);
      const double h = NsPerCall(qorv::LLMouseProc, s, iterations, info);
      if (e < bestEmpty) bestEmpty = e;
      if (h < bestHook) bestHook = h;
    }
    std::printf("  %-52s hook %8.1f ns  empty %8.1f ns  added %+6.1f%%\n", s.name, bestHook, bestEmpty,
                100.0 * (bestHook - bestEmpty) / bestEmpty);
  }
  return 0;
}
