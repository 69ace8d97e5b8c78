// Running beside copies of other integrity: which messages an elevated main window lets through,
// what the presence mutex's create and open results mean, and the exit codes of "qorv /quit".
#include <gtest/gtest.h>

#include <algorithm>

#include "common/presence.h"
#include "hooklib/process_role.h"
#include "host/folder_guard.h"
#include "host/main_messages.h"

namespace qorv {
namespace {

bool Allows(const LowerIntegrityMessages& list, uint32_t msg) {
  return std::find(list.ids, list.ids + list.count, msg) != list.ids + list.count;
}

TEST(LowerIntegrityMessages, ReportsAndBroadcastsOnlyNeverTheMouseHotkey) {
  const LowerIntegrityMessages list = MessagesFromLowerIntegrity(0xC123, 0xC456);
  EXPECT_EQ(list.count, 6);
  for (uint32_t msg : {kGetMsgNotify, kCallWndNotify, kMouseNotify, kLLMouseNotify, 0xC123u, 0xC456u}) {
    EXPECT_TRUE(Allows(list, msg)) << std::hex << msg;
  }
  // Posted only inside the program: from a lower process they would be forged.
  for (uint32_t msg : {kMouseHotkey, kHookThreadReply, kCompanionEnded}) EXPECT_FALSE(Allows(list, msg)) << msg;
}

TEST(LowerIntegrityMessages, UnregisteredMessagesAreLeftOut) {
  struct Case {
    uint32_t settings, taskbar;
    int count;
  } cases[] = {{0, 0xC456, 5}, {0xC123, 0, 5}, {0, 0, 4}};
  for (const Case& c : cases) {
    const LowerIntegrityMessages list = MessagesFromLowerIntegrity(c.settings, c.taskbar);
    EXPECT_EQ(list.count, c.count);
    EXPECT_FALSE(Allows(list, 0));  // WM_NULL is never opened
  }
}

TEST(Presence, CreateAndOpenResults) {
  struct Case {
    bool handle;
    uint32_t error;
    InstanceCheck created;
    bool presentOnOpen;
  } cases[] = {
      {true, 0, InstanceCheck::First, true},
      {true, kErrorAlreadyExists, InstanceCheck::Another, true},
      {false, kErrorAccessDenied, InstanceCheck::Another, true},  // made by an elevated copy
      {false, 2, InstanceCheck::Unguarded, false},                // ERROR_FILE_NOT_FOUND: none runs
      {false, 8, InstanceCheck::Unguarded, false},                // out of memory: not a copy
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InstanceFromCreate(c.handle, c.error), c.created) << c.handle << " " << c.error;
    EXPECT_EQ(PresentFromOpen(c.handle, c.error), c.presentOnOpen) << c.handle << " " << c.error;
  }
}

TEST(Presence, QuitExitCodes) {
  EXPECT_EQ(QuitExitCode(QuitOutcome::Gone), 0);
  EXPECT_EQ(QuitExitCode(QuitOutcome::NoneRunning), 1);
  EXPECT_EQ(QuitExitCode(QuitOutcome::StillThere), 2);
}

// Decided once at attach: only a token that says "AppContainer" makes the library stand aside.
TEST(ProcessRole, AppContainerTokensArePassedThrough) {
  struct Case {
    bool queried;
    uint32_t value;
    ProcessRole role;
  } cases[] = {
      {true, 1, ProcessRole::PassThrough},
      {true, 0, ProcessRole::Serve},
      {false, 1, ProcessRole::Serve},  // a failed query leaves the output meaningless
      {false, 0, ProcessRole::Serve},  // before Windows 8: no such token class, no AppContainers
  };
  for (const Case& c : cases) EXPECT_EQ(RoleFromToken(c.queried, c.value), c.role) << c.queried << c.value;
}

// Restarting elevated is offered only from a folder that ordinary processes cannot write to.
TEST(FolderGuard, OnlyAFolderThatAdministratorsAloneMayWriteCounts) {
  constexpr uint32_t kFull = 0x001F01FF;  // FILE_ALL_ACCESS
  constexpr uint32_t kReadExecute = 0x001200A9;
  constexpr uint32_t kModify = 0x001301BF;
  constexpr uint32_t kAddFile = 0x00000002;
  const AceFact programFiles[] = {
      {true, false, kFull, Principal::TrustedInstaller},
      {true, false, kModify, Principal::System},
      {true, false, kModify, Principal::Administrators},
      {true, false, kReadExecute, Principal::Other},  // Users, ALL APPLICATION PACKAGES
      {true, true, 0x10000000, Principal::Other},     // CREATOR OWNER, for what is created inside
  };
  const AceFact localAppData[] = {
      {true, false, kFull, Principal::System},
      {true, false, kFull, Principal::Administrators},
      {true, false, kFull, Principal::Other},  // the user
  };
  const AceFact usersMayAdd[] = {
      {true, false, kFull, Principal::Administrators},
      {true, false, kReadExecute | kAddFile, Principal::Other},
  };
  const AceFact deniedOnly[] = {
      {true, false, kFull, Principal::Administrators},
      {false, false, kFull, Principal::Other},
  };
  const AceFact genericWrite[] = {{true, false, 0x40000000, Principal::Other}};
  struct Case {
    const char* name;
    bool dacl;
    Principal owner;
    const AceFact* aces;
    int count;
    bool protectedFolder;
  } cases[] = {
      {"Program Files", true, Principal::TrustedInstaller, programFiles, 5, true},
      {"owned by the user", true, Principal::Other, programFiles, 5, false},  // may rewrite the list
      {"per-user folder", true, Principal::Administrators, localAppData, 3, false},
      {"users may add a file", true, Principal::Administrators, usersMayAdd, 2, false},
      {"deny entry only", true, Principal::Administrators, deniedOnly, 2, true},
      {"generic write", true, Principal::System, genericWrite, 1, false},
      {"null list", false, Principal::Administrators, nullptr, 0, false},
      {"empty list", true, Principal::Administrators, nullptr, 0, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WritableByAdministratorsOnly(c.dacl, c.owner, c.aces, c.count), c.protectedFolder) << c.name;
  }
}

}  // namespace
}  // namespace qorv
