// Mouse-button conversion on the window-system side: the low-level mouse hook on a thread of its
// own in the main program's process, its procedure, and the injecting and posting of conversions.
// The decisions are in buttons.cpp.
#define VANTEL_BUILD
#include "common/flags.h"
#include "hooklib/buttons.h"
#include "hooklib/core_win.h"
#include "hooklib/shared_state.h"
#include "hooklib/vantel.h"

namespace qorv {
namespace {

// What the hook thread needs at start; lives in the main program's process.
struct LLThreadParam {
  HINSTANCE module;
  DWORD threadArg;
  HANDLE ready;  // set once the hook is installed
  HANDLE quit;   // set by UnHookLLMouse
};

// The start and stop waits of the exports.
constexpr DWORD kThreadWaitMs = 400;
constexpr uint32_t kCancelReport = 0x0000001F;

LLThreadParam g_llParam;
HANDLE g_llThread;

// The conversion's own state in the main program's process: its settings, owner, notify message,
// post target and button records. The shared block is writable by every process the hooks reach,
// so the hook thread never takes anything from it; it only mirrors its state there for others.
SharedState g_ll;

void Mirror() {
  g_shared.HeldButtons = g_ll.HeldButtons;
  g_shared.ModifierHolds = g_ll.ModifierHolds;
  g_shared.ActiveButtons = g_ll.ActiveButtons;
  for (int i = 0; i < kButtonIndexCount; ++i) g_shared.ActiveRecords[i] = g_ll.ActiveRecords[i];
  g_shared.PostModButtons = g_ll.PostModButtons;
  g_shared.PostTargetWnd = g_ll.PostTargetWnd;
}

// Hook thread only: the last posted button press, for double clicks.
ClickMemory g_click;

// Hook thread only: the input attachment to the posting target's thread, and the modifier bytes of
// the shared keyboard state as they were before this thread marked them down.
struct PostAttachment {
  DWORD thread;  // attached thread, 0 = none
  bool written;
  BYTE count;
  BYTE vk[4];
  BYTE saved[4];
};
PostAttachment g_attach;

// GetKeyState, not GetKeyboardState: under Wine only the single-key query brings the key state of
// a thread without keyboard focus up to date, and this thread never has the focus.
uint32_t ReadModifiers() {
  uint32_t m = 0;
  if (GetKeyState(VK_MENU) < 0) m |= btn_cond::kAlt;
  if (GetKeyState(VK_CONTROL) < 0) m |= btn_cond::kCtrl;
  if (GetKeyState(VK_SHIFT) < 0) m |= btn_cond::kShift;
  if (GetKeyState(VK_LWIN) < 0 || GetKeyState(VK_RWIN) < 0) m |= btn_cond::kWin;
  return m;
}

// The key sent for a modifier, with the scan code of its left key.
void SendModifierKey(uint32_t hotkeyBit, bool up) {
  BYTE vk = VK_SHIFT;
  UINT scanOf = VK_LSHIFT;
  if (hotkeyBit == hotkey::kCtrl) {
    vk = VK_CONTROL;
    scanOf = VK_LCONTROL;
  } else if (hotkeyBit == hotkey::kAlt) {
    vk = VK_MENU;
    scanOf = VK_LMENU;
  } else if (hotkeyBit == hotkey::kWin) {
    vk = VK_LWIN;
    scanOf = VK_LWIN;
  }
  keybd_event(vk, static_cast<BYTE>(MapVirtualKeyW(scanOf, 0)), up ? KEYEVENTF_KEYUP : 0, 0);
}

void SendMouseButton(uint32_t vk, bool up) {
  DWORD flags = 0;
  DWORD data = 0;
  switch (vk) {
    case 1:
      flags = up ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
      break;
    case 2:
      flags = up ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_RIGHTDOWN;
      break;
    case 4:
      flags = up ? MOUSEEVENTF_MIDDLEUP : MOUSEEVENTF_MIDDLEDOWN;
      break;
    default:
      flags = up ? MOUSEEVENTF_XUP : MOUSEEVENTF_XDOWN;
      data = vk == 5 ? XBUTTON1 : XBUTTON2;
      break;
  }
  mouse_event(flags, 0, 0, data, 0);
}

void SendKey(uint32_t key, bool up) {
  DWORD flags = up ? KEYEVENTF_KEYUP : 0;
  if ((key & hotkey::kExtended) != 0) flags |= KEYEVENTF_EXTENDEDKEY;
  keybd_event(static_cast<BYTE>(hotkey::Vk(key)), static_cast<BYTE>(hotkey::Scan(key)), flags, 0);
}

void PostWheel(HWND window, LONG x, LONG y, int32_t delta) {
  const uint32_t wp = WheelWParam(delta, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0, g_ll.HeldButtons);
  PostMessageW(window, WM_MOUSEWHEEL, wp, static_cast<LPARAM>(PackPoint(x, y)));
}

// Puts back the modifier bytes written into the shared keyboard state, then ends the attachment,
// so that no converted Ctrl, Shift, Alt or Win stays down in the target thread.
void EndAttachment() {
  if (g_attach.written) {
    BYTE state[256];
    if (GetKeyboardState(state)) {
      for (BYTE i = 0; i < g_attach.count; ++i) state[g_attach.vk[i]] = g_attach.saved[i];
      SetKeyboardState(state);
    }
    g_attach.written = false;
  }
  if (g_attach.thread != 0) {
    AttachThreadInput(GetCurrentThreadId(), g_attach.thread, FALSE);
    g_attach.thread = 0;
  }
}

// Shares input with the window's thread and marks the modifiers of m down there, so that the
// posted messages are read with those keys held.
void BeginAttachment(HWND window, uint32_t m) {
  EndAttachment();
  const DWORD self = GetCurrentThreadId();
  const DWORD target = GetWindowThreadProcessId(window, nullptr);
  if (target != 0 && target != self && AttachThreadInput(self, target, TRUE)) g_attach.thread = target;
  BYTE state[256];
  if (!GetKeyboardState(state)) return;
  static const struct {
    uint32_t bit;
    BYTE vk;
  } kKeys[4] = {
      {hotkey::kShift, VK_SHIFT}, {hotkey::kCtrl, VK_CONTROL}, {hotkey::kAlt, VK_MENU}, {hotkey::kWin, VK_LWIN}};
  g_attach.count = 0;
  for (const auto& k : kKeys) {
    if ((m & k.bit) == 0) continue;
    g_attach.vk[g_attach.count] = k.vk;
    g_attach.saved[g_attach.count] = state[k.vk];
    ++g_attach.count;
    state[k.vk] |= 0x80;
  }
  g_attach.written = SetKeyboardState(state) != FALSE;
}

// wParam key bits of a client click: the buttons and Ctrl/Shift held now.
uint32_t HeldKeyBits() {
  uint32_t bits = 0;
  if (GetKeyState(VK_LBUTTON) < 0) bits |= MK_LBUTTON;
  if (GetKeyState(VK_RBUTTON) < 0) bits |= MK_RBUTTON;
  if (GetKeyState(VK_MBUTTON) < 0) bits |= MK_MBUTTON;
  if (GetKeyState(VK_XBUTTON1) < 0) bits |= MK_XBUTTON1;
  if (GetKeyState(VK_XBUTTON2) < 0) bits |= MK_XBUTTON2;
  if (GetKeyState(VK_CONTROL) < 0) bits |= MK_CONTROL;
  if (GetKeyState(VK_SHIFT) < 0) bits |= MK_SHIFT;
  return bits;
}

bool InClientArea(HWND window, POINT pt) {
  RECT client;
  if (!GetClientRect(window, &client)) return false;
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return PtInRect(&client, pt) != FALSE;
}

// Posts a click of vk to window as the client or non-client message the point hits. False when
// the point hits nothing.
bool PostClick(HWND window, uint32_t vk, bool up, POINT pt, DWORD time) {
  bool doubleClick = false;
  if (!up) {
    doubleClick =
        IsDoubleClick(g_click, reinterpret_cast<UINT_PTR>(window), vk, pt.x, pt.y, time,
                      GetSystemMetrics(SM_CXDOUBLECLK), GetSystemMetrics(SM_CYDOUBLECLK), GetDoubleClickTime());
    if (doubleClick) g_click.window = 0;
  }
  LRESULT hit = DefWindowProcW(window, WM_NCHITTEST, 0, static_cast<LPARAM>(PackPoint(pt.x, pt.y)));
  // Some systems answer nowhere for a window of another process; a point inside its client
  // rectangle is a client click all the same.
  if (hit == HTNOWHERE && InClientArea(window, pt)) hit = HTCLIENT;
  if (hit == HTNOWHERE) return false;
  const bool client = hit == HTCLIENT;
  const uint32_t message = ClickMessage(vk, up, doubleClick, client);
  WPARAM wp = ClickXButtonWord(vk);
  LPARAM lp;
  if (client) {
    POINT local = pt;
    ScreenToClient(window, &local);
    wp |= HeldKeyBits() | (up ? 0 : ClickKeyStateBit(vk));
    lp = static_cast<LPARAM>(PackPoint(local.x, local.y));
  } else {
    wp |= static_cast<WPARAM>(hit);
    lp = static_cast<LPARAM>(PackPoint(pt.x, pt.y));
  }
  PostMessageW(window, message, wp, lp);
  const bool remember = !client || (GetClassLongPtrW(window, GCL_STYLE) & CS_DBLCLKS) != 0;
  if (!up && !doubleClick && remember) {
    g_click.window = reinterpret_cast<UINT_PTR>(window);
    g_click.vk = vk;
    g_click.x = pt.x;
    g_click.y = pt.y;
    g_click.time = time;
  }
  return true;
}

// Posts a conversion as window messages to window, or to the window under the point when window is
// 0. Returns the window used, 0 when there is none (or the given one has gone).
HWND PostToWindow(HWND window, uint32_t key, bool up, POINT pt, DWORD time, bool attach) {
  HWND result = window;
  if (window != nullptr) {
    if (!IsWindow(window)) result = nullptr;
  } else {
    result = WindowFromPoint(pt);
  }
  const uint32_t m = key & hotkey::kModifierMask;
  if (result != nullptr) {
    if (attach && m != 0 && !up) BeginAttachment(result, m);
    const uint32_t vk = hotkey::Vk(key);
    switch (vk) {
      case 0:
        break;
      case 1:
      case 2:
      case 4:
      case 5:
      case 6:
        if (!PostClick(result, vk, up, pt, time)) result = nullptr;
        break;
      case hotkey::kVkWheelForward:
      case hotkey::kVkWheelBack:
        if (!up) PostWheel(result, pt.x, pt.y, vk == hotkey::kVkWheelForward ? WHEEL_DELTA : -WHEEL_DELTA);
        break;
      default: {
        const KeyMessage km = PostedKeyMessage(key, up);
        PostMessageW(result, km.message, vk, static_cast<LPARAM>(km.lParam));
        break;
      }
    }
  }
  // The last release ends the attachment even when its window has gone.
  if (attach && up) EndAttachment();
  return result;
}

void Report(UINT message, const MSLLHOOKSTRUCT& info) {
  const UINT notify = g_ll.LLMouseNotifyMsg;
  if (notify == 0) return;
  const WPARAM wp = (info.mouseData & 0xFFFF0000u) | (message & 0xFFFFu);
  PostMessageW(WndFrom32(g_ll.LLMouseOwner), notify, wp, static_cast<LPARAM>(PackPoint(info.pt.x, info.pt.y)));
}

// Carries out the actions in order. Returns whether the event is swallowed.
bool CarryOut(const ButtonActions& actions, UINT message, const MSLLHOOKSTRUCT* info) {
  bool swallow = actions.swallow;
  for (int i = 0; i < actions.count; ++i) {
    const ButtonAction& action = actions.items[i];
    switch (action.kind) {
      case ButtonActionKind::Report:
        if (info != nullptr) Report(message, *info);
        break;
      case ButtonActionKind::CancelReport:
        if (g_ll.LLMouseNotifyMsg != 0) {
          PostMessageW(WndFrom32(g_ll.LLMouseOwner), g_ll.LLMouseNotifyMsg, kCancelReport, 0);
        }
        break;
      case ButtonActionKind::PostWheelToPointer: {
        if (info == nullptr) break;
        HWND window = WindowFromPoint(info->pt);
        if (window != nullptr) {
          PostWheel(window, info->pt.x, info->pt.y, action.delta);
        } else {
          swallow = false;  // nowhere to send it: let the system deliver it
        }
        break;
      }
      case ButtonActionKind::ModifierKey:
        SendModifierKey(action.key, action.up);
        break;
      case ButtonActionKind::MouseButton:
        SendMouseButton(action.key, action.up);
        break;
      case ButtonActionKind::MouseWheel:
        mouse_event(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(action.delta), 0);
        break;
      case ButtonActionKind::Key:
        SendKey(action.key, action.up);
        break;
      case ButtonActionKind::PostToWindow: {
        if (info == nullptr) break;
        HWND used =
            PostToWindow(WndFrom32(g_ll.PostTargetWnd), action.key, action.up, info->pt, info->time, action.attach);
        if (action.takeTarget) g_ll.PostTargetWnd = To32(used);
        if (action.dropTarget) g_ll.PostTargetWnd = 0;
        break;
      }
      case ButtonActionKind::DropPostTarget:
        EndAttachment();
        g_ll.PostTargetWnd = 0;
        break;
    }
  }
  return swallow;
}

void ReleaseAllConversions() {
  ButtonActions actions;
  ButtonReleaseAll(g_ll, actions);
  CarryOut(actions, 0, nullptr);
  Mirror();
  // A target attached without an active record still ends here.
  EndAttachment();
}

void ClearConversionState() {
  g_ll.HeldButtons = 0;
  g_ll.ModifierHolds = 0;
  g_ll.ActiveButtons = 0;
  for (ActiveRecord& record : g_ll.ActiveRecords) record = {};
  g_ll.PostModButtons = 0;
  g_ll.PostTargetWnd = 0;
  g_click = {};
  Mirror();
}

DWORD WINAPI LLMouseThread(LPVOID arg) {
  const LLThreadParam* param = static_cast<const LLThreadParam*>(arg);
  // Every mouse event of the desktop waits for this thread's answer: it must not wait for a CPU.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
  // The state is cleared before the hook can see the first event.
  ClearConversionState();
  HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, LLMouseProc, param->module, param->threadArg);
  g_ll.LLMouseHook = To32(hook);
  g_shared.LLMouseHook = To32(hook);
  if (hook == nullptr) return 0;
  SetEvent(param->ready);
  for (;;) {
    const DWORD wait = MsgWaitForMultipleObjects(1, &param->quit, FALSE, INFINITE, 0xFF);
    if (wait != WAIT_OBJECT_0 + 1) break;  // quit, or the wait failed
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  const BOOL unhooked = UnhookWindowsHookEx(hook);
  g_ll.LLMouseHook = 0;
  g_shared.LLMouseHook = 0;
  // Whatever the unhook did, no converted key or modifier stays down after this thread.
  if (g_ll.ActiveButtons != 0 || g_ll.PostTargetWnd != 0) ReleaseAllConversions();
  return unhooked ? 1 : 0;
}

void CloseThreadHandles() {
  if (g_llParam.ready != nullptr) CloseHandle(g_llParam.ready);
  if (g_llParam.quit != nullptr) CloseHandle(g_llParam.quit);
  if (g_llThread != nullptr) CloseHandle(g_llThread);
  g_llParam.ready = nullptr;
  g_llParam.quit = nullptr;
  g_llThread = nullptr;
}

}  // namespace

LRESULT CALLBACK LLMouseProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lp);
    ButtonEvent event;
    if (ButtonEventFromMessage(static_cast<uint32_t>(wp), info->mouseData, event)) {
      ButtonActions actions;
      ButtonStep(g_ll, event, ReadModifiers, actions);
      const bool swallow = CarryOut(actions, static_cast<UINT>(wp), info);
      Mirror();
      if (swallow) return 1;
    }
  }
  return CallNextHookEx(HookFrom32(g_ll.LLMouseHook), code, wp, lp);
}

}  // namespace qorv

using namespace qorv;

VANTEL_API int WINAPI SetHookLLMouse(HWND owner, UINT notifyMsg, const void* block, DWORD threadId) {
  if (owner == nullptr) return 0;
  if (g_shared.LLMouseOwner != 0 && OwnerGone(g_shared.LLMouseOwner)) {
    // The thread that held the hook belonged to an ended program.
    DropOrphanHook(g_shared.LLMouseHook);
    g_shared.LLMouseOwner = 0;
  }
  if (g_shared.LLMouseOwner != 0) {
    if (g_shared.LLMouseOwner != To32(owner)) return -1;
    if (!UnHookLLMouse()) return 0;
  }
  g_shared.LLMouseOwner = To32(owner);
  g_shared.LLMouseNotifyMsg = notifyMsg;
  g_ll.LLMouseOwner = To32(owner);
  g_ll.LLMouseNotifyMsg = notifyMsg;
  MouseBtnBlock copy = {};
  if (block != nullptr) copy = *static_cast<const MouseBtnBlock*>(block);
  ButtonCopyBlock(g_ll.MouseBtn, copy);
  ButtonCopyBlock(g_shared.MouseBtn, copy);
  g_shared.LLMouseThreadArg = threadId;
  g_llParam.module = g_libraryModule;
  g_llParam.threadArg = threadId;
  g_llParam.ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  g_llParam.quit = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (g_llParam.ready != nullptr && g_llParam.quit != nullptr) {
    g_llThread = CreateThread(nullptr, 0, LLMouseThread, &g_llParam, 0, nullptr);
  }
  if (g_llThread == nullptr) {
    CloseThreadHandles();
    g_shared.LLMouseOwner = 0;
    return 0;
  }
  const HANDLE waits[2] = {g_llThread, g_llParam.ready};
  if (WaitForMultipleObjects(2, waits, FALSE, kThreadWaitMs) == WAIT_OBJECT_0) {
    // The thread ended: it could not install the hook.
    CloseThreadHandles();
    g_shared.LLMouseOwner = 0;
    return 0;
  }
  return 1;
}

VANTEL_API int WINAPI UnHookLLMouse() {
  if (g_shared.LLMouseOwner == 0) return 1;
  // Only the process that started the thread holds its handles; a slot whose owner has gone is
  // merely cleared.
  if (g_llThread == nullptr) {
    if (!OwnerGone(g_shared.LLMouseOwner)) return 0;
    DropOrphanHook(g_shared.LLMouseHook);
    g_shared.LLMouseOwner = 0;
    return 1;
  }
  SetEvent(g_llParam.quit);
  if (WaitForSingleObject(g_llThread, kThreadWaitMs) != WAIT_OBJECT_0) return 0;
  CloseThreadHandles();
  g_shared.LLMouseOwner = 0;
  return 1;
}
