// The window-procedure hook (WH_CALLWNDPROC): move/size loops, snapping and reports. For now it passes every message on unchanged.
#include "hooklib/core_win.h"
#include "hooklib/shared_state.h"

namespace qorv {

LRESULT CALLBACK CallWndHookProc(int code, WPARAM wp, LPARAM lp) {
  return CallNextHookEx(HookFrom32(g_shared.CallWndHook), code, wp, lp);
}

}  // namespace qorv
