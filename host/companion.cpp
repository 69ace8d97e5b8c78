#include "host/companion.h"

namespace qorv {

void CompanionWrite(CompanionHandover* shared, const CompanionHandover& words) {
  const uint32_t sequence = __atomic_load_n(&shared->sequence, __ATOMIC_RELAXED);
  __atomic_store_n(&shared->sequence, sequence | 1, __ATOMIC_RELAXED);
  __atomic_thread_fence(__ATOMIC_RELEASE);
  CompanionHandover copy = words;
  copy.sequence = sequence | 1;
  const auto* from = reinterpret_cast<const uint32_t*>(&copy);
  auto* to = reinterpret_cast<uint32_t*>(shared);
  for (unsigned i = 1; i < sizeof(CompanionHandover) / 4; ++i) __atomic_store_n(&to[i], from[i], __ATOMIC_RELAXED);
  __atomic_store_n(&shared->sequence, (sequence | 1) + 1, __ATOMIC_RELEASE);
}

bool CompanionRead(const CompanionHandover* shared, CompanionHandover& out) {
  const auto* from = reinterpret_cast<const uint32_t*>(shared);
  // Bounded: a writer that died half-way (odd for ever) costs a few reads, never a wait.
  for (int attempt = 0; attempt < 64; ++attempt) {
    const uint32_t before = __atomic_load_n(&shared->sequence, __ATOMIC_ACQUIRE);
    CompanionHandover copy;
    auto* to = reinterpret_cast<uint32_t*>(&copy);
    for (unsigned i = 0; i < sizeof(CompanionHandover) / 4; ++i) to[i] = __atomic_load_n(&from[i], __ATOMIC_RELAXED);
    __atomic_thread_fence(__ATOMIC_ACQUIRE);
    if ((before & 1) == 0 && __atomic_load_n(&shared->sequence, __ATOMIC_RELAXED) == before) {
      out = copy;
      return true;
    }
  }
  return false;
}

CompanionVerdict CompanionEnded(CompanionRestarts& r, uint32_t now) {
  if (r.gaveUp) return CompanionVerdict::StayStopped;
  if (r.count == kCompanionRestartsPerMinute && now - r.times[0] < kCompanionRestartWindowMs) {
    r.gaveUp = true;
    return CompanionVerdict::GiveUp;
  }
  if (r.count == kCompanionRestartsPerMinute) {
    for (int i = 1; i < r.count; ++i) r.times[i - 1] = r.times[i];
    --r.count;
  }
  r.times[r.count++] = now;
  return CompanionVerdict::Restart;
}

}  // namespace qorv
