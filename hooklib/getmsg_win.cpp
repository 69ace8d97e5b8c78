// The message hook (WH_GETMESSAGE): wheel conversion and the message rewrites. For now it passes every message on unchanged.
#include "hooklib/core_win.h"
#include "hooklib/shared_state.h"

namespace qorv {

LRESULT CALLBACK GetMsgProc(int code, WPARAM wp, LPARAM lp) {
  return CallNextHookEx(HookFrom32(g_shared.GetMsgHook), code, wp, lp);
}

}  // namespace qorv
