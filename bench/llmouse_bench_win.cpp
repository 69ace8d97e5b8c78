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

// The ways the hook can read Alt, Ctrl, Shift and Win for a pair's condition, each as one call of
// the kind the procedure makes per event.
using ModifierRead = uint32_t (*)();

uint32_t ReadByKeyState() {  // one query per key, each bringing this thread's key state up to date
  uint32_t m = 0;
  if (GetKeyState(VK_MENU) < 0) m |= 1;
  if (GetKeyState(VK_CONTROL) < 0) m |= 2;
  if (GetKeyState(VK_SHIFT) < 0) m |= 4;
  if (GetKeyState(VK_LWIN) < 0 || GetKeyState(VK_RWIN) < 0) m |= 8;
  return m;
}

uint32_t FromArray(const BYTE* keys) {
  return ((keys[VK_MENU] & 0x80) != 0 ? 1u : 0u) | ((keys[VK_CONTROL] & 0x80) != 0 ? 2u : 0u) |
         ((keys[VK_SHIFT] & 0x80) != 0 ? 4u : 0u) | ((keys[VK_LWIN] & 0x80) != 0 || (keys[VK_RWIN] & 0x80) != 0 ? 8u : 0u);
}

uint32_t ReadBySyncedArray() {  // one key query to bring the state up to date, then the whole array
  BYTE keys[256];
  GetKeyState(VK_SHIFT);
  return GetKeyboardState(keys) ? FromArray(keys) : 0;
}

uint32_t ReadByArray() {  // the array alone: not brought up to date for a thread without keyboard focus
  BYTE keys[256];
  return GetKeyboardState(keys) ? FromArray(keys) : 0;
}

uint32_t ReadByAsyncState() {  // the system's key state at this moment, one query per key
  uint32_t m = 0;
  if (GetAsyncKeyState(VK_MENU) < 0) m |= 1;
  if (GetAsyncKeyState(VK_CONTROL) < 0) m |= 2;
  if (GetAsyncKeyState(VK_SHIFT) < 0) m |= 4;
  if (GetAsyncKeyState(VK_LWIN) < 0 || GetAsyncKeyState(VK_RWIN) < 0) m |= 8;
  return m;
}

// The fastest and the slowest of a few rounds.
struct Rounds {
  double best = 1e30;
  double worst = 0;
  void Add(double ns) {
    if (ns < best) best = ns;
    if (ns > worst) worst = ns;
  }
};

double NsPerRead(ModifierRead read, long iterations) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  volatile uint32_t sink = 0;
  QueryPerformanceCounter(&start);
  for (long i = 0; i < iterations; ++i) sink = sink + read();
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
    Rounds empty, hook;
    for (int round = 0; round < 5; ++round) {
      empty.Add(NsPerCall(EmptyProc, s, iterations, info));
      hook.Add(NsPerCall(qorv::LLMouseProc, s, iterations, info));
    }
    std::printf("  %-52s hook %8.1f ns (up to %8.1f)  empty %8.1f ns (up to %8.1f)  added %+8.1f ns %+6.1f%%\n",
                s.name, hook.best, hook.worst, empty.best, empty.worst, hook.best - empty.best,
                100.0 * (hook.best - empty.best) / empty.best);
  }
  // The modifier reads alone, against the empty procedure's cost measured in the same run: what
  // each way would add to an event whose pairs have modifier conditions.
  struct Way {
    const char* name;
    ModifierRead read;
  };
  const Way ways[] = {{"GetKeyState for each key (4-5 queries)", ReadByKeyState},
                      {"GetKeyState once, then GetKeyboardState", ReadBySyncedArray},
                      {"GetKeyboardState alone (stale without focus)", ReadByArray},
                      {"GetAsyncKeyState for each key", ReadByAsyncState}};
  std::printf("modifier reads, %ld reads each; added = best read / best empty procedure\n", iterations);
  MSLLHOOKSTRUCT info = {};
  info.pt = {300, 300};
  const Scenario& moves = scenarios[0];
  std::memset(&qorv::g_shared, 0, sizeof(qorv::g_shared));
  qorv::LLMouseUseBlock(qorv::g_shared.MouseBtn);
  for (const Way& way : ways) {
    Rounds empty, read;
    for (int round = 0; round < 5; ++round) {
      empty.Add(NsPerCall(EmptyProc, moves, iterations, info));
      read.Add(NsPerRead(way.read, iterations));
    }
    std::printf("  %-48s read %8.1f ns (rounds up to %8.1f)  empty %8.1f ns (up to %8.1f)  added %+6.1f%%\n",
                way.name, read.best, read.worst, empty.best, empty.worst, 100.0 * read.best / empty.best);
  }
  return 0;
}
