// The hook procedures. For now they pass every message on unchanged.
#include "hooklib/core_win.h"
#include "hooklib/shared_state.h"

namespace qorv {

LRESULT CALLBACK GetMsgProc(int code, WPARAM wp, LPARAM lp) {
  return CallNextHookEx(HookFrom32(g_shared.GetMsgHook), code, wp, lp);
}

LRESULT CALLBACK CallWndHookProc(int code, WPARAM wp, LPARAM lp) {
  return CallNextHookEx(HookFrom32(g_shared.CallWndHook), code, wp, lp);
}

LRESULT CALLBACK MouseHookProc(int code, WPARAM wp, LPARAM lp) {
  return CallNextHookEx(HookFrom32(g_shared.MouseHookHandle), code, wp, lp);
}

}  // namespace qorv
