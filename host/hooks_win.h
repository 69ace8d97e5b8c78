// The UI thread's side of the hooks: hands the flag words and the per-window table to the library,
// decides which hooks are wanted, asks the hook thread for them and takes its answers, runs the
// mouse-button conversion (whose install waits for the library's own thread), and watches that the
// low-level hooks are still called.
#pragma once
#include <windows.h>

#include <cstdint>

namespace qorv {

void HandOverFlags();
// Publishes the per-window table under a new number and hands it over; the old table stays until then.
void PublishTable();

// What HooksApply does besides bringing the hooks in line with the state.
namespace hooks_apply {
constexpr uint32_t kNone = 0;
constexpr uint32_t kRestartConversion = 1;  // a new mouse-button block: the conversion starts afresh
constexpr uint32_t kFreshWatch = 2;         // Windows removed the low-level hooks: install them again
}  // namespace hooks_apply

bool HooksStart();
// Asks the hook thread for the hooks that the state wants.
void HooksApply(uint32_t what = hooks_apply::kNone);
// The hook thread's answer (kHookThreadReply).
void HooksOnReply(WPARAM wp, LPARAM lp);
void SetPaused(bool paused);
// Timer: a low-level hook that Windows removed without a word is installed again.
void HooksCheckHealth();
// Removes every hook and ends the hook thread; returns once they are gone.
void HooksStop();

}  // namespace qorv
