// The window-procedure hook (WH_CALLWNDPROC). For now it answers the per-window lookup's
// module-path query and passes every other message on unchanged.
#include "hooklib/core_win.h"
#include "hooklib/perwindow_win.h"
#include "hooklib/shared_state.h"

namespace qorv {

LRESULT CALLBACK CallWndHookProc(int code, WPARAM wp, LPARAM lp) {
  if (code >= 0) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (call->message == g_moduleQueryMsg && g_moduleQueryMsg != 0) {
      ModulePathAnswer(call->hwnd, call->wParam, call->lParam);
      return 0;
    }
  }
  return CallNextHookEx(HookFrom32(g_shared.CallWndHook), code, wp, lp);
}

}  // namespace qorv
