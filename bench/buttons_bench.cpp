// The button conversion's decision alone, per event: the state machine with eight pairs, timed in
// a loop against a loop that only prepares the same events. Not part of make test; tools/bench.sh
// runs it.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/bench_tables.h"
#include "common/flags.h"
#include "hooklib/buttons.h"

namespace {

using qorv::ButtonActions;
using qorv::ButtonEvent;
using qorv::SharedState;

uint32_t NoModifiers() { return 0; }

volatile int g_sink;

struct Scenario {
  const char* name;
  uint32_t pairs[8][2];
  ButtonEvent events[2];
};

using bench::Idx;
using bench::kOn;

template <typename F>
double NsPerEvent(long iterations, F body) {
  const auto start = std::chrono::steady_clock::now();
  for (long i = 0; i < iterations; ++i) body(i);
  const auto end = std::chrono::steady_clock::now();
  return std::chrono::duration<double, std::nano>(end - start).count() / static_cast<double>(iterations);
}

}  // namespace

int main(int argc, char** argv) {
  const long iterations = argc > 1 ? std::atol(argv[1]) : 20000000;
  const Scenario scenarios[] = {
      // Left button presses and releases walk all eight pairs, none of them for the left button.
      {"left button, 8 pairs of other buttons",
       {{Idx(5) | kOn, 'A'},
        {Idx(6) | kOn, 'B'},
        {Idx(2) | kOn, 'C'},
        {Idx(3) | kOn, 'D'},
        {Idx(4) | kOn, 'E'},
        {Idx(1) | kOn, 'F'},
        {Idx(5) | 0x200 | kOn, 'G'},
        {Idx(6) | 0x400 | kOn, 'H'}},
       {{0, false, 0}, {0, true, 0}}},
      // Every pair is for the right button with a condition that does not hold: held buttons and
      // modifiers are compared eight times.
      {"right button, 8 conditional pairs, none held",
       {{Idx(1) | 0x001 | kOn, 'A'},
        {Idx(1) | 0x010 | kOn, 'B'},
        {Idx(1) | 0x200 | kOn, 'C'},
        {Idx(1) | 0x400 | kOn, 'D'},
        {Idx(1) | 0x100 | kOn, 'E'},
        {Idx(1) | 0x800 | kOn, 'F'},
        {Idx(1) | 0x020 | kOn, 'G'},
        {Idx(1) | 0x040 | kOn, 'H'}},
       {{1, false, 0}, {1, true, 0}}},
      // The last pair converts X1 into Ctrl+Shift+C: press and release with their key actions.
      {"X1 to Ctrl+Shift+C, 8th pair",
       {{Idx(6) | kOn, 'A'},
        {Idx(6) | kOn, 'B'},
        {Idx(2) | kOn, 'C'},
        {Idx(3) | kOn, 'D'},
        {Idx(4) | kOn, 'E'},
        {Idx(1) | kOn, 'F'},
        {Idx(0) | kOn, 'G'},
        {Idx(5) | kOn | 0x20000, 'C' | 0x600}},
       {{5, false, 0}, {5, true, 0}}},
  };
  std::printf("decision per event, %ld events per scenario\n", iterations);
  for (const Scenario& s : scenarios) {
    SharedState state;
    std::memset(&state, 0, sizeof(state));
    state.MouseBtn.setNum = 8;
    for (int i = 0; i < 8; ++i) state.MouseBtn.pairs[i] = {s.pairs[i][0], s.pairs[i][1]};
    ButtonActions actions;
    const double empty = NsPerEvent(iterations, [&](long i) { g_sink = s.events[i & 1].index + static_cast<int>(i); });
    const double step = NsPerEvent(iterations, [&](long i) {
      qorv::ButtonStep(state, s.events[i & 1], NoModifiers, actions);
      g_sink = actions.count + static_cast<int>(i);
    });
    std::printf("  %-48s %7.1f ns (loop alone %.1f ns)\n", s.name, step - empty, empty);
  }

  // Whole wheel notches converted to Page Down, without and with the collection of fine deltas;
  // rounds of both alternate and the best of each counts.
  SharedState state;
  std::memset(&state, 0, sizeof(state));
  state.MouseBtn.setNum = 2;
  state.MouseBtn.pairs[0] = {Idx(3) | kOn | 0x20000, 0x22};
  state.MouseBtn.pairs[1] = {Idx(2) | kOn | 0x20000, 0x21};
  const ButtonEvent notches[2] = {{3, false, -120, 0}, {2, false, 120, 0}};
  qorv::ButtonWheelParts parts = {{}, 500};
  ButtonActions actions;
  double plain = 1e30, collected = 1e30;
  for (int round = 0; round < 5; ++round) {
    const double a = NsPerEvent(iterations / 4, [&](long i) {
      qorv::ButtonStep(state, notches[i & 1], NoModifiers, actions);
      g_sink = actions.count + static_cast<int>(i);
    });
    const double b = NsPerEvent(iterations / 4, [&](long i) {
      qorv::ButtonStep(state, notches[i & 1], NoModifiers, actions, &parts);
      g_sink = actions.count + static_cast<int>(i);
    });
    if (a < plain) plain = a;
    if (b < collected) collected = b;
  }
  std::printf("  %-48s %7.1f / %.1f ns, ratio %.2f\n", "whole wheel notches, without / with collection", plain,
              collected, collected / plain);
  return 0;
}
