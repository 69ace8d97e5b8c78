// Cost of the plain decisions on the wheel path, natively: the conversion of one notch (count,
// code, ramp) and the per-window match over a 200-row table (first row, last row, no row).
// Run under `valgrind --tool=callgrind` for instruction counts that do not depend on the machine's load.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_tables.h"
#include "common/flags.h"
#include "hooklib/perwindow.h"
#include "hooklib/wheel.h"
#include "hooklib/wheel_accum.h"
#include "host/published_block.h"

namespace {

volatile uint32_t g_sink;

template <typename F>
double NsPerCall(int calls, F&& body) {
  double best = 1e30;
  for (int round = 0; round < 5; ++round) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i) body(i);
    const double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() / calls;
    if (ns < best) best = ns;
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const int calls = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const uint32_t word = qorv::wheel_flag::kVertScroll | qorv::wheel_flag::kPrecise | (3u << 16);
  qorv::RampMemo memo = {0, 0, 0};
  const double notch = NsPerCall(calls, [&](int i) {
    const int count = qorv::ScrollCount(word, true, 0, 0, true);
    const qorv::ScrollStep step = qorv::ScrollStepFor(count, -120, false);
    const int repeat = qorv::PreciseRepeat(step.repeat, step.code, static_cast<uint32_t>(i) * 50, memo, 5);
    memo = {repeat, step.code, static_cast<uint32_t>(i) * 50};
    g_sink = static_cast<uint32_t>(repeat);
  });
  std::printf("notch decision (count, code, ramp): %.1f ns\n", notch);

  // The same whole notches with the fine-delta accumulation in front, as the message hook runs them:
  // rounds of both alternate, so that the ratio compares like with like.
  qorv::WheelAccum accum = {};
  double plain = 1e30, collected = 1e30;
  for (int round = 0; round < 5; ++round) {
    const double a = NsPerCall(calls, [&](int i) {
      const int count = qorv::ScrollCount(word, true, 0, 0, true);
      const qorv::ScrollStep step = qorv::ScrollStepFor(count, (i & 1) != 0 ? 120 : -120, false);
      const int repeat = qorv::PreciseRepeat(step.repeat, step.code, static_cast<uint32_t>(i) * 50, memo, 5);
      memo = {repeat, step.code, static_cast<uint32_t>(i) * 50};
      g_sink = static_cast<uint32_t>(repeat);
    });
    const double b = NsPerCall(calls, [&](int i) {
      const int delta = (i & 1) != 0 ? 120 : -120;
      const int32_t notches =
          qorv::WheelAccumulate(accum, 0x10010, qorv::kDirVert, delta, static_cast<uint32_t>(i) * 50, 500);
      const int count = qorv::ScrollCount(word, true, 0, 0, true);
      const qorv::ScrollStep step = qorv::ScrollStepFor(count, delta, false);
      const int repeat = qorv::PreciseRepeat(step.repeat, step.code, static_cast<uint32_t>(i) * 50, memo, 5);
      memo = {repeat, step.code, static_cast<uint32_t>(i) * 50};
      g_sink = static_cast<uint32_t>(repeat * notches);
    });
    if (a < plain) plain = a;
    if (b < collected) collected = b;
  }
  std::printf("whole notch, decision alone / with accumulation: %.1f / %.1f ns, ratio %.2f\n", plain, collected,
              collected / plain);

  const std::vector<uint8_t> block = bench::MapTable200();
  auto facts = [](const std::string& path, const std::string& cls) {
    return qorv::WindowFacts{path.c_str(), static_cast<uint32_t>(path.size()), 3, false, 0, cls.c_str(),
                             static_cast<uint32_t>(cls.size())};
  };
  const std::string first = "C:\\program0.exe";
  const std::string last = "C:\\program199.exe";
  const std::string none = "C:\\other.exe";
  const std::string firstClass = "Class0";
  const std::string lastClass = "Class199";
  for (const auto& c : {std::make_pair(&first, &firstClass), std::make_pair(&last, &lastClass),
                        std::make_pair(&none, &firstClass)}) {
    const qorv::WindowFacts f = facts(*c.first, *c.second);
    const double ns = NsPerCall(calls / 20, [&](int) {
      g_sink = qorv::MapTableMatch(block.data(), block.size(), f, qorv::AsciiEqualNoCase).entryFlag;
    });
    std::printf("per-window match over 200 rows, %s: %.1f ns\n", c.first->c_str(), ns);
  }
  return 0;
}
