// Which hooks the main program wants from its state.
#include "host/hooks_wanted.h"

#include <gtest/gtest.h>

namespace qorv {
namespace {

using namespace hook_bit;

TEST(WantedHooks, FollowPauseEditingConversionDebugAndMouseHotkeys) {
  struct Case {
    const char* name;
    HookWishes wishes;  // stopping, paused, editing, conversionOn, debugOn, mouseHotkeys
    uint32_t kinds;
    bool watchHotkeys;
  } cases[] = {
      {"plain run", {false, false, false, false, false, false}, kLibraryWindowHooks, false},
      {"conversion brings its watch",
       {false, false, false, true, false, false},
       kLibraryWindowHooks | kConversion | kWatch,
       false},
      {"debug hook", {false, false, false, false, true, false}, kLibraryWindowHooks | kDebug, false},
      {"mouse hotkeys are watched", {false, false, false, false, false, true}, kLibraryWindowHooks | kWatch, true},
      {"pause removes the library's hooks", {false, true, false, true, true, false}, 0, false},
      {"mouse hotkeys stay while paused", {false, true, false, true, true, true}, kWatch, true},
      {"editing releases the mouse hotkeys", {false, false, true, false, false, true}, kLibraryWindowHooks, false},
      {"editing keeps the conversion's watch",
       {false, false, true, true, false, true},
       kLibraryWindowHooks | kConversion | kWatch,
       false},
      {"paused and editing: nothing", {false, true, true, true, true, true}, 0, false},
      {"stopping: nothing at all", {true, false, false, true, true, true}, 0, false},
  };
  for (const Case& c : cases) {
    const WantedHooks w = DecideWantedHooks(c.wishes);
    EXPECT_EQ(w.kinds, c.kinds) << c.name;
    EXPECT_EQ(w.watchHotkeys, c.watchHotkeys) << c.name;
  }
}

// Invariants over every combination: the watch runs exactly when it has something to serve, and
// the low-level hooks never go to the companion.
TEST(WantedHooks, InvariantsOverAllStates) {
  for (unsigned bits = 0; bits < 64; ++bits) {
    const HookWishes w = {(bits & 1) != 0, (bits & 2) != 0,  (bits & 4) != 0,
                          (bits & 8) != 0, (bits & 16) != 0, (bits & 32) != 0};
    const WantedHooks wanted = DecideWantedHooks(w);
    const bool conversion = (wanted.kinds & kConversion) != 0;
    EXPECT_EQ((wanted.kinds & kWatch) != 0, wanted.watchHotkeys || conversion) << bits;
    if (w.paused || w.stopping) {
      EXPECT_EQ(wanted.kinds & (kLibraryWindowHooks | kDebug | kConversion), 0u) << bits;
    }
    const uint32_t companion = CompanionKinds(wanted.kinds);
    EXPECT_EQ(companion & (kConversion | kWatch), 0u) << bits;
    EXPECT_EQ(companion, wanted.kinds & (kLibraryWindowHooks | kDebug)) << bits;
  }
}

// Moving the debug hook to another thread, or from one thread to all, removes the old hook first;
// only a new mask for the same thread goes through the library's mask-only path.
TEST(DebugHookRetarget, RemovesFirstWheneverTheThreadChanges) {
  struct Case {
    bool held;
    uint32_t heldThread, wantedThread;
    bool removeFirst;
  } cases[] = {
      {false, 0, 0, false},   {false, 0, 42, false},  // nothing held: a plain install
      {true, 42, 42, false},  {true, 0, 0, false},    // same thread: the mask only
      {true, 42, 0, true},                            // thread-specific to every thread
      {true, 0, 42, true},    {true, 42, 43, true},   // to another thread (perhaps after 42 ended)
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DebugHookRemoveFirst(c.held, c.heldThread, c.wantedThread), c.removeFirst)
        << c.held << " " << c.heldThread << " " << c.wantedThread;
  }
}

// Exit undoes everything; a session that ends skips only the passes over every window; a session
// that goes on after all keeps everything as it is.
TEST(StopPlanTest, SessionEndSkipsOnlyTheLibrarysPasses) {
  struct Case {
    StopCause cause;
    bool stop, undoOwnChanges, restorePasses;
  } cases[] = {
      {StopCause::Exit, true, true, true},
      {StopCause::SessionEnds, true, true, false},
      {StopCause::SessionContinues, false, false, false},
  };
  for (const Case& c : cases) {
    const StopPlan plan = DecideStop(c.cause);
    EXPECT_EQ(plan.stop, c.stop) << static_cast<int>(c.cause);
    EXPECT_EQ(plan.undoOwnChanges, c.undoOwnChanges) << static_cast<int>(c.cause);
    EXPECT_EQ(plan.restorePasses, c.restorePasses) << static_cast<int>(c.cause);
  }
}

}  // namespace
}  // namespace qorv
