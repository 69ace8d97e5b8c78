// The 32-bit companion: on 64-bit Windows a global hook is loaded only into processes of its own
// bitness, so the x86_64 main program starts an i686 companion (qorv32.exe with vantel32.dll) that
// installs the same window hooks for the 32-bit processes. What the main program hands it, and when
// the main program starts it again after it died. Plain code.
#pragma once
#include <cstdint>

namespace qorv {

// Command line of the companion: "/companion <main window> <main process id>", both in decimal.
constexpr char kCompanionSwitch[] = "/companion";

// The block the main program keeps in the named mapping "QorvCompanion <main window in decimal>"
// and the companion reads after each update message. Fixed-width fields: both bitnesses read it.
struct CompanionHandover {
  uint32_t sequence;  // odd while the main program writes the block
  uint32_t mainFlag;  // the four flag words exactly as handed to the main program's library
  uint32_t wheelFlag;
  uint32_t wndFlag;
  uint32_t extraFlag;  // the per-window table's number: the table is published once for both
  uint32_t kinds;      // hook_bit values the companion installs (CompanionKinds)
  uint32_t debugMask;
  uint32_t debugThread;
  uint32_t getMsgNotify;  // notify messages of the main window: the companion's hooks report there
  uint32_t callWndNotify;
  uint32_t mouseNotify;
};
static_assert(sizeof(CompanionHandover) == 44, "the same size for both bitnesses");

// Writes the block under its sequence number; a reader that sees the number change or odd reads again.
void CompanionWrite(CompanionHandover* shared, const CompanionHandover& words);
// Reads a consistent copy; false when every attempt overlapped a write (the next update reads again).
bool CompanionRead(const CompanionHandover* shared, CompanionHandover& out);

// Restarts after the companion died: at most kCompanionRestartsPerMinute within any minute.
constexpr int kCompanionRestartsPerMinute = 3;
constexpr uint32_t kCompanionRestartWindowMs = 60000;
struct CompanionRestarts {
  uint32_t times[kCompanionRestartsPerMinute];  // tick counts of the last restarts, oldest first
  int count;
  bool gaveUp;
};
enum class CompanionVerdict {
  Restart,      // start it again
  GiveUp,       // too many deaths: tell the user now, once
  StayStopped,  // given up before
};
// The companion ended at tick `now` (milliseconds, wrapping).
CompanionVerdict CompanionEnded(CompanionRestarts& restarts, uint32_t now);

}  // namespace qorv
