// The mouse hook (WH_MOUSE): wheel forwarding and notifications. For now it passes every message on unchanged.
#include "hooklib/core_win.h"
#include "hooklib/shared_state.h"

namespace qorv {

LRESULT CALLBACK MouseHookProc(int code, WPARAM wp, LPARAM lp) {
  return CallNextHookEx(HookFrom32(g_shared.MouseHookHandle), code, wp, lp);
}

}  // namespace qorv
