// The module-name query: the executable path of the process that owns a window. Another process
// is asked through a one-shot WH_GETMESSAGE hook on the window's thread, which hands the path back
// as a global atom and signals a named event. One query runs at a time in the whole system.
#define VANTEL_BUILD
#include "hooklib/core_win.h"
#include "hooklib/shared_state.h"
#include "hooklib/vantel.h"

namespace qorv {

namespace {

constexpr wchar_t kQueryEventW[] = L" Q_GetModule ";
constexpr char kQueryEventA[] = " Q_GetModule ";
constexpr DWORD kQueryTimeoutMs = 1000;
constexpr uint32_t kQueryClaim = 1;  // QueryHook while the hook is being installed

uint16_t TakeQueryAtom() { return __atomic_exchange_n(&g_shared.QueryAtom, static_cast<uint16_t>(0), __ATOMIC_SEQ_CST); }

// Runs in the queried process on the window's thread.
LRESULT CALLBACK QueryHookProc(int code, WPARAM wp, LPARAM lp) {
  const uint32_t hook = __atomic_load_n(&g_shared.QueryHook, __ATOMIC_SEQ_CST);
  // Out of context the path would be this process's, not the window's.
  if (code >= 0 && lp != 0 && reinterpret_cast<const MSG*>(lp)->message == WM_NULL && hook != 0 &&
      !OutOfContext(reinterpret_cast<const MSG*>(lp)->hwnd) &&
      __atomic_load_n(&g_shared.QueryAtom, __ATOMIC_SEQ_CST) == 0) {
    // At most one atom per query, however many WM_NULL messages the thread retrieves meanwhile.
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
      const ATOM atom = GlobalAddAtomW(path);
      if (atom != 0) {
        __atomic_store_n(&g_shared.QueryAtom, static_cast<uint16_t>(atom), __ATOMIC_SEQ_CST);
        // The caller may have given up meanwhile; whoever takes the atom from the block deletes it.
        if (__atomic_load_n(&g_shared.QueryHook, __ATOMIC_SEQ_CST) != hook) {
          uint16_t expected = atom;
          if (__atomic_compare_exchange_n(&g_shared.QueryAtom, &expected, static_cast<uint16_t>(0), false,
                                          __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST)) {
            GlobalDeleteAtom(atom);
          }
        }
      }
    }
    HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, kQueryEventW);
    if (event != nullptr) {
      SetEvent(event);
      CloseHandle(event);
    }
  }
  return CallNextHookEx(HookFrom32(hook), code, wp, lp);
}

template <bool kWide, typename Char>
int QueryModuleName(HWND hwnd, Char* buffer, int size) {
  if (__atomic_load_n(&g_shared.QueryHook, __ATOMIC_SEQ_CST) != 0) return 0;
  DWORD processId = 0;
  const DWORD threadId = hwnd != nullptr ? GetWindowThreadProcessId(hwnd, &processId) : 0;
  if (threadId == 0) return 0;
  if (processId == GetCurrentProcessId()) {
    if (buffer == nullptr || size <= 0) return 0;
    if constexpr (kWide) {
      return static_cast<int>(GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(size)));
    } else {
      return static_cast<int>(GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(size)));
    }
  }
  // Claim the single query slot; a concurrent caller gets 0 at once.
  uint32_t idle = 0;
  if (!__atomic_compare_exchange_n(&g_shared.QueryHook, &idle, kQueryClaim, false, __ATOMIC_SEQ_CST,
                                   __ATOMIC_SEQ_CST)) {
    return 0;
  }
  // An atom left in the block is no answer to this query. Any process can write the block, so an
  // atom that did not answer this query may be another program's: it is cleared, never deleted.
  TakeQueryAtom();

  HANDLE event;
  if constexpr (kWide) {
    event = CreateEventW(nullptr, FALSE, FALSE, kQueryEventW);
  } else {
    event = CreateEventA(nullptr, FALSE, FALSE, kQueryEventA);
  }
  if (event == nullptr) {
    __atomic_store_n(&g_shared.QueryHook, 0u, __ATOMIC_SEQ_CST);
    return 0;
  }
  MarkInstallingProcess();
  HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, QueryHookProc, g_libraryModule, threadId);
  if (hook == nullptr) {
    __atomic_store_n(&g_shared.QueryHook, 0u, __ATOMIC_SEQ_CST);
    CloseHandle(event);
    return 0;
  }
  __atomic_store_n(&g_shared.QueryHook, To32(hook), __ATOMIC_SEQ_CST);
  if constexpr (kWide) {
    PostMessageW(hwnd, WM_NULL, 0, 0);
  } else {
    PostMessageA(hwnd, WM_NULL, 0, 0);
  }
  const DWORD wait = WaitForSingleObject(event, kQueryTimeoutMs);
  CloseHandle(event);
  UnhookWindowsHookEx(hook);
  __atomic_store_n(&g_shared.QueryHook, 0u, __ATOMIC_SEQ_CST);

  // Cleared also after a time-out, but deleted only as the answer to this query: an answer that
  // comes later is deleted by the hook that made it.
  const uint16_t atom = TakeQueryAtom();
  if (atom == 0 || wait != WAIT_OBJECT_0) return 0;
  int result = 0;
  if (buffer != nullptr && size > 0) {
    if constexpr (kWide) {
      result = static_cast<int>(GlobalGetAtomNameW(atom, buffer, size));
    } else {
      result = static_cast<int>(GlobalGetAtomNameA(atom, buffer, size));
    }
  }
  GlobalDeleteAtom(atom);
  return result;
}

}  // namespace
}  // namespace qorv

VANTEL_API int WINAPI GetWndModuleNameW(HWND hwnd, wchar_t* buffer, int size) {
  return qorv::QueryModuleName<true>(hwnd, buffer, size);
}

VANTEL_API int WINAPI GetWndModuleNameA(HWND hwnd, char* buffer, int size) {
  return qorv::QueryModuleName<false>(hwnd, buffer, size);
}
