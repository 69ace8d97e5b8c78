// The module-name query exports against windows of other processes and of the caller, with a
// target that does not retrieve messages, concurrent queries, and the global atoms they use.
#include <gtest/gtest.h>

#include <string>

#include "tests/wine/harness.h"
#include "tests/wine/snap_driver.h"

using harness::Library;
using harness::OwnerWindow;
using harness::WaitFor;
using snapdrive::SnapApp;

namespace {

struct Query {
  GetWndModuleNameWFn wide = nullptr;
  GetWndModuleNameAFn narrow = nullptr;
  explicit Query(const Library& lib) {
    HMODULE module = nullptr;
    GetModuleHandleExW(0, (lib.Dir() + L"\\vantel.dll").c_str(), &module);
    wide = reinterpret_cast<GetWndModuleNameWFn>(reinterpret_cast<void*>(GetProcAddress(module, "GetWndModuleNameW")));
    narrow = reinterpret_cast<GetWndModuleNameAFn>(reinterpret_cast<void*>(GetProcAddress(module, "GetWndModuleNameA")));
    if (module != nullptr) FreeLibrary(module);
  }
};

std::wstring AppPath() { return harness::ExeDir() + L"\\qorv_snap.exe"; }

std::wstring OwnPath() {
  wchar_t path[MAX_PATH];
  return std::wstring(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
}

bool SamePath(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }

TEST(ModuleName, OfAnotherProcessAndOfTheCaller) {
  Library lib;
  ASSERT_TRUE(lib.Loaded());
  Query query(lib);
  ASSERT_NE(query.wide, nullptr);
  ASSERT_NE(query.narrow, nullptr);
  SnapApp app({L"a=plain@100,100,200,150"});
  ASSERT_TRUE(app.AllFound());

  wchar_t wide[MAX_PATH] = {};
  const int n = query.wide(app.Window(0), wide, MAX_PATH);
  EXPECT_EQ(n, static_cast<int>(AppPath().size()));
  EXPECT_TRUE(SamePath(wide, AppPath())) << wide;
  char narrow[MAX_PATH] = {};
  const int m = query.narrow(app.Window(0), narrow, MAX_PATH);
  EXPECT_GT(m, 0);
  const std::wstring app8 = AppPath();
  EXPECT_EQ(lstrcmpiA(narrow, std::string(app8.begin(), app8.end()).c_str()), 0) << narrow;
  EXPECT_EQ(lib.Shared()->QueryHook, 0u);
  EXPECT_EQ(lib.Shared()->QueryAtom, 0u);
  EXPECT_EQ(GlobalFindAtomW(AppPath().c_str()), 0) << "no atom is left behind";

  OwnerWindow own;
  wchar_t mine[MAX_PATH] = {};
  EXPECT_EQ(query.wide(own.Get(), mine, MAX_PATH), static_cast<int>(OwnPath().size()));
  EXPECT_TRUE(SamePath(mine, OwnPath()));

  EXPECT_EQ(query.wide(nullptr, wide, MAX_PATH), 0);
  HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  EXPECT_EQ(query.wide(gone, wide, MAX_PATH), 0);
}

TEST(ModuleName, NullBufferStillDeletesTheAtom) {
  Library lib;
  ASSERT_TRUE(lib.Loaded());
  Query query(lib);
  SnapApp app({L"a=plain@100,100,200,150"});
  ASSERT_TRUE(app.AllFound());
  EXPECT_EQ(query.wide(app.Window(0), nullptr, MAX_PATH), 0);
  EXPECT_EQ(lib.Shared()->QueryAtom, 0u);
  EXPECT_EQ(GlobalFindAtomW(AppPath().c_str()), 0);
  wchar_t wide[MAX_PATH] = {};
  EXPECT_GT(query.wide(app.Window(0), wide, MAX_PATH), 0) << "the next query works";
}

struct Background {
  GetWndModuleNameWFn fn;
  HWND hwnd;
  int result = -1;
  DWORD elapsed = 0;
  static DWORD WINAPI Run(void* p) {
    auto* self = static_cast<Background*>(p);
    wchar_t buffer[MAX_PATH];
    const DWORD start = GetTickCount();
    self->result = self->fn(self->hwnd, buffer, MAX_PATH);
    self->elapsed = GetTickCount() - start;
    return 0;
  }
};

TEST(ModuleName, ATargetThatRetrievesNoMessagesTimesOutAndLeavesNoAtom) {
  Library lib;
  ASSERT_TRUE(lib.Loaded());
  Query query(lib);
  SnapApp sleeper({L"s=plain@100,100,200,150"});
  SnapApp awake({L"w=plain@400,100,200,150"});
  ASSERT_TRUE(sleeper.AllFound() && awake.AllFound());
  HWND s = sleeper.Window(0);
  PostMessageW(s, snapapp::kCmdSleep, 0, 2500);
  ASSERT_TRUE(WaitFor([&] { return harness::Prop(s, snapapp::kSleepingProp) != 0; }));

  Background first = {query.wide, s};
  HANDLE thread = CreateThread(nullptr, 0, Background::Run, &first, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  ASSERT_TRUE(WaitFor([&] { return lib.Shared()->QueryHook != 0; }, 3000));
  // A concurrent query gets 0 at once.
  wchar_t wide[MAX_PATH] = {};
  const DWORD start = GetTickCount();
  EXPECT_EQ(query.wide(awake.Window(0), wide, MAX_PATH), 0);
  EXPECT_LT(GetTickCount() - start, 200u);
  WaitFor([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, 5000);
  CloseHandle(thread);
  EXPECT_EQ(first.result, 0);
  EXPECT_GE(first.elapsed, 900u);
  EXPECT_LE(first.elapsed, 1600u);
  EXPECT_EQ(lib.Shared()->QueryHook, 0u);

  // A second query can start right after.
  EXPECT_GT(query.wide(awake.Window(0), wide, MAX_PATH), 0);
  EXPECT_TRUE(SamePath(wide, AppPath()));
  // Once the sleeper wakes it retrieves the old WM_NULL without the hook: no late atom appears.
  ASSERT_TRUE(WaitFor([&] { return harness::Prop(s, snapapp::kSleepingProp) == 0; }, 5000));
  EXPECT_GT(query.wide(s, wide, MAX_PATH), 0) << "it answers once awake";
  EXPECT_EQ(lib.Shared()->QueryAtom, 0u);
  EXPECT_EQ(GlobalFindAtomW(AppPath().c_str()), 0);
}

}  // namespace

namespace {

// An atom that lands in the block after the query gave up (here put there by the test while the
// query waits on a target that does not answer) is cleared from the block but not deleted: it did
// not answer this query and may be another program's.
TEST(ModuleName, AtomPutInTheBlockAfterTheTimeOutIsClearedNotDeleted) {
  Library lib;
  ASSERT_TRUE(lib.Loaded());
  Query query(lib);
  SnapApp app({L"a=plain@100,100,200,150"});
  ASSERT_TRUE(app.AllFound());
  HWND a = app.Window(0);
  PostMessageW(a, snapapp::kCmdSleep, 0, 2000);
  ASSERT_TRUE(WaitFor([&] { return harness::Prop(a, snapapp::kSleepingProp) != 0; }));
  Background late = {query.wide, a};
  HANDLE thread = CreateThread(nullptr, 0, Background::Run, &late, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  ASSERT_TRUE(WaitFor([&] { return lib.Shared()->QueryHook > 1; }, 3000));
  const ATOM atom = GlobalAddAtomW(L"qorv late answer");
  lib.Shared()->QueryAtom = atom;
  WaitFor([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, 5000);
  CloseHandle(thread);
  EXPECT_EQ(late.result, 0) << "timed out";
  EXPECT_EQ(lib.Shared()->QueryAtom, 0u);
  EXPECT_EQ(GlobalFindAtomW(L"qorv late answer"), atom);
  GlobalDeleteAtom(atom);
}

// An atom left in the block is not this query's answer, and as it may be another program's it is
// cleared from the block but never deleted.
TEST(ModuleName, AtomLeftInTheBlockIsNotTheAnswerAndIsNeverDeleted) {
  Library lib;
  ASSERT_TRUE(lib.Loaded());
  Query query(lib);
  SnapApp app({L"a=plain@100,100,200,150"});
  ASSERT_TRUE(app.AllFound());
  const ATOM foreign = GlobalAddAtomW(L"qorv stale answer");
  lib.Shared()->QueryAtom = foreign;
  wchar_t wide[MAX_PATH] = {};
  EXPECT_GT(query.wide(app.Window(0), wide, MAX_PATH), 0);
  EXPECT_TRUE(SamePath(wide, AppPath())) << wide;
  EXPECT_EQ(GlobalFindAtomW(L"qorv stale answer"), foreign);
  EXPECT_EQ(GlobalFindAtomW(AppPath().c_str()), 0);
  GlobalDeleteAtom(foreign);
}

}  // namespace
