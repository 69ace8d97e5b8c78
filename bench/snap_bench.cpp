// Benchmarks of the window operations, not tests: one WM_MOVING snap step with 32 targets (plain
// code, natively and under Wine), and under Wine the target collection among 100 windows and the
// window-procedure hook's cost per sent message that it does not handle.
#include <chrono>
#include <cstdio>
#include <random>

#include "common/flags.h"
#include "hooklib/snap.h"

#ifdef QORV_BENCH_WIN
void RunWindowBenches();
#endif

namespace {

using Clock = std::chrono::steady_clock;

double NanosSince(Clock::time_point start, long count) {
  return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / static_cast<double>(count);
}

void SnapStepBench() {
  std::mt19937 rng(2024);
  std::uniform_int_distribution<int32_t> coord(0, 900);
  std::uniform_int_distribution<int32_t> size(50, 400);
  std::uniform_int_distribution<uint32_t> code(0, 7);
  qorv::MoveSizeState ms = {};
  ms.SnapPixels = 10;
  ms.EffWndFlag = 0;
  ms.SnapCount = 32;
  for (int i = 0; i < 32; ++i) {
    const int32_t x = coord(rng);
    const int32_t y = coord(rng);
    ms.SnapRects[i] = {x, y, x + size(rng), y + size(rng)};
    ms.SnapEdges[i] = (i % 3 == 0) ? 0 : (code(rng) | code(rng) << 4 | code(rng) << 16 | code(rng) << 28);
  }
  ms.SnapBaseRect = {100, 100, 400, 300};
  ms.SnapStarted = qorv::kSnapKindMove;
  ms.GrabOffset[0] = 50;
  ms.GrabOffset[1] = 10;
  qorv::SnapStepFacts facts = {};
  facts.moving = true;
  facts.bound = {0, 0, 1024, 768};
  const long count = 2000000;
  for (int round = 0; round < 4; ++round) {
    ms.EffWndFlag = (round & 1) != 0 ? qorv::wnd_flag::kSnapInner : 0;
    int64_t sink = 0;
    const auto start = Clock::now();
    for (long i = 0; i < count; ++i) {
      const int32_t x = static_cast<int32_t>(i % 700);
      const int32_t y = static_cast<int32_t>((i / 7) % 500);
      facts.cursor = {x + 50, y + 10};
      facts.proposed = {x, y, x + 300, y + 200};
      qorv::Rect out;
      qorv::SnapStep(&ms, facts, &out);
      sink += out.left + out.top;
    }
    std::printf("snap step (WM_MOVING, 32 targets, %s): %.1f ns  [checksum %lld]\n",
                (round & 1) != 0 ? "outer and inner" : "outer", NanosSince(start, count), static_cast<long long>(sink));
  }
}

}  // namespace

int main() {
  SnapStepBench();
#ifdef QORV_BENCH_WIN
  RunWindowBenches();
#endif
  return 0;
}
