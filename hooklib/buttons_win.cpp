// Mouse-button conversion on the window-system side: the low-level mouse hook on a thread of its
// own in the main program's process, its procedure, and the injecting and posting of conversions.
// The decisions are in buttons.cpp.
#define VANTEL_BUILD
#include "common/flags.h"
#include "common/winsearch_win.h"
#include "hooklib/button_watch.h"
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
// Hook thread only: parts of a notch collected for a wheel conversion.
ButtonWheelParts g_wheelParts;

// Hook thread only: the watch over held buttons whose release may get lost, the time it last
// looked, and the message-only window that receives raw mouse input for it.
ButtonWatch g_watch;
DWORD g_watchLooked;
HWND g_rawWindow;
constexpr wchar_t kRawWindowClass[] = L"QorvButtonWatch";
// Raw input exists from Windows XP on: bound at run time so that the library still loads before.
using RegisterRawInputDevicesFn = BOOL(WINAPI*)(PCRAWINPUTDEVICE, UINT, UINT);
using GetRawInputDataFn = UINT(WINAPI*)(HRAWINPUT, UINT, LPVOID, PUINT, UINT);
RegisterRawInputDevicesFn g_registerRawInput;
GetRawInputDataFn g_getRawInputData;

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

// Alt, Ctrl, Shift and Win as the system holds them at this event, for a pair's condition. The
// system's key state, not this thread's: the hook thread has no focus and reads no keyboard
// messages, so its own key state is only brought up to date by a query that costs a round trip per
// key (GetKeyState; measured in bench/README.md: about five times the rest of the procedure).
uint32_t ReadModifiers() {
  uint32_t m = 0;
  if (GetAsyncKeyState(VK_MENU) < 0) m |= btn_cond::kAlt;
  if (GetAsyncKeyState(VK_CONTROL) < 0) m |= btn_cond::kCtrl;
  if (GetAsyncKeyState(VK_SHIFT) < 0) m |= btn_cond::kShift;
  if (GetAsyncKeyState(VK_LWIN) < 0 || GetAsyncKeyState(VK_RWIN) < 0) m |= btn_cond::kWin;
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
  int hit = HitTest(window, pt);
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
    wp |= HeldMouseKeys() | (up ? 0 : ClickKeyStateBit(vk));
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

bool IsReleaseMessage(UINT message) {
  return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP || message == WM_XBUTTONUP;
}

// Carries out the actions in order. Returns whether the event is swallowed.
bool CarryOut(const ButtonActions& actions, UINT message, const MSLLHOOKSTRUCT* info) {
  bool swallow = actions.swallow;
  for (int i = 0; i < actions.count; ++i) {
    const ButtonAction& action = actions.items[i];
    switch (action.kind) {
      case ButtonActionKind::Report:
        // A release carried out at a press (its own was lost) reports as the release it is.
        if (info != nullptr) Report(action.up && !IsReleaseMessage(message) ? message + 1 : message, *info);
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

// The buttons in the system's key state, for the watch; only the buttons it asks about are read.
uint32_t SystemHeldButtons(uint32_t wanted) {
  static const struct {
    int vk;
    uint32_t bit;
  } kButtons[] = {{VK_LBUTTON, 0x01}, {VK_RBUTTON, 0x02}, {VK_MBUTTON, 0x10}, {VK_XBUTTON1, 0x20}, {VK_XBUTTON2, 0x40}};
  uint32_t held = 0;
  for (const auto& b : kButtons) {
    if ((wanted & b.bit) != 0 && GetAsyncKeyState(b.vk) < 0) held |= b.bit;
  }
  return held;
}

// Carries out the release of every held button that the watch finds up, as if its release had
// arrived now at the cursor. exclude: the button of the event being handled, whose own release or
// press settles it.
void ReleaseLostButtons(uint32_t exclude) {
  const DWORD now = GetTickCount();
  g_watchLooked = now;
  const uint32_t watched = (g_ll.ActiveButtons | g_ll.HeldButtons) & ~exclude;
  const SystemButtons system = {SystemHeldButtons(watched), GetSystemMetrics(SM_SWAPBUTTON) == 0};
  const uint32_t lost = WatchLostReleases(g_watch, g_ll, system, now, exclude);
  for (int index = 0; index < kButtonIndexCount && lost != 0; ++index) {
    uint32_t message = 0;
    uint32_t data = 0;
    if ((lost & ButtonTriggerBit(index)) == 0 || !ButtonReleaseMessage(index, &message, &data)) continue;
    MSLLHOOKSTRUCT info = {};
    GetCursorPos(&info.pt);
    info.mouseData = data;
    info.time = now;
    ButtonActions actions;
    ButtonStep(g_ll, ButtonEvent{index, true, 0, now}, ReadModifiers, actions);
    CarryOut(actions, message, &info);
    Mirror();
  }
}

LRESULT CALLBACK RawWatchProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INPUT && g_getRawInputData != nullptr) {
    RAWINPUT raw;
    UINT size = sizeof(raw);
    if (g_getRawInputData(reinterpret_cast<HRAWINPUT>(lp), RID_INPUT, &raw, &size, sizeof(RAWINPUTHEADER)) !=
            static_cast<UINT>(-1) &&
        raw.header.dwType == RIM_TYPEMOUSE) {
      WatchRawButtons(g_watch, raw.data.mouse.usButtonFlags);
    }
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

// Asks for raw mouse input on a message-only window of this thread, also while other windows have
// the focus; it reports button transitions that no hook can take away. False where there is none.
bool StartRawWatch(HINSTANCE module) {
  HMODULE user = GetModuleHandleW(L"user32.dll");
  if (user == nullptr) return false;
  g_registerRawInput = reinterpret_cast<RegisterRawInputDevicesFn>(
      reinterpret_cast<void*>(GetProcAddress(user, "RegisterRawInputDevices")));
  g_getRawInputData =
      reinterpret_cast<GetRawInputDataFn>(reinterpret_cast<void*>(GetProcAddress(user, "GetRawInputData")));
  if (g_registerRawInput == nullptr || g_getRawInputData == nullptr) return false;
  WNDCLASSW wc = {};
  wc.lpfnWndProc = RawWatchProc;
  wc.hInstance = module;
  wc.lpszClassName = kRawWindowClass;
  RegisterClassW(&wc);
  g_rawWindow = CreateWindowExW(0, kRawWindowClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module, nullptr);
  RAWINPUTDEVICE device = {0x01, 0x02, RIDEV_INPUTSINK, g_rawWindow};  // generic desktop, mouse
  if (g_rawWindow != nullptr && g_registerRawInput(&device, 1, sizeof(device))) return true;
  if (g_rawWindow != nullptr) DestroyWindow(g_rawWindow);
  g_rawWindow = nullptr;
  UnregisterClassW(kRawWindowClass, module);
  return false;
}

void StopRawWatch(HINSTANCE module) {
  if (g_rawWindow == nullptr) return;
  RAWINPUTDEVICE device = {0x01, 0x02, RIDEV_REMOVE, nullptr};
  g_registerRawInput(&device, 1, sizeof(device));
  DestroyWindow(g_rawWindow);
  g_rawWindow = nullptr;
  UnregisterClassW(kRawWindowClass, module);
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
  g_wheelParts = {};
  g_watch = {};
  Mirror();
}

DWORD WINAPI LLMouseThread(LPVOID arg) {
  const LLThreadParam* param = static_cast<const LLThreadParam*>(arg);
  // Every mouse event of the desktop waits for this thread's answer: it must not wait for a CPU.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
  // The state is cleared before the hook can see the first event.
  ClearConversionState();
  // The raw watch first: from the moment the hook is in place every mouse event of the desktop waits
  // for this thread's loop, and one that waits longer than the system's time-out passes unconverted.
  // QS_RAWINPUT is only known where raw input is.
  const DWORD wake = StartRawWatch(param->module) ? 0xFF | QS_RAWINPUT : 0xFF;
  HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, LLMouseProc, param->module, param->threadArg);
  g_ll.LLMouseHook = To32(hook);
  g_shared.LLMouseHook = To32(hook);
  if (hook == nullptr) {
    StopRawWatch(param->module);
    return 0;
  }
  SetEvent(param->ready);
  for (;;) {
    // While a button is held, look for lost releases every little while.
    const DWORD timeout = WatchNeeded(g_ll) ? kLostReleaseTickMs : INFINITE;
    const DWORD wait = MsgWaitForMultipleObjects(1, &param->quit, FALSE, timeout, wake);
    if (wait != WAIT_OBJECT_0 + 1 && wait != WAIT_TIMEOUT) break;  // quit, or the wait failed
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    // Also when only raw input keeps coming (the hook itself may have been taken away).
    if (WatchNeeded(g_ll) && GetTickCount() - g_watchLooked >= kLostReleaseTickMs) ReleaseLostButtons(0);
  }
  StopRawWatch(param->module);
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

// Gate (not an action, or not a button or wheel event after the watch has looked for lost
// releases), facts (the event; the modifiers only when a pair's condition asks for them), decision
// (ButtonStep), action (CarryOut, then the state mirrored into the block), the next hook unless the
// event is swallowed.
LRESULT CALLBACK LLMouseProc(int code, WPARAM wp, LPARAM lp) {
  const HHOOK next = HookFrom32(g_ll.LLMouseHook);
  if (code != HC_ACTION) return CallNextHookEx(next, code, wp, lp);
  const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lp);
  ButtonEvent event;
  const bool buttonEvent = ButtonEventFromMessage(static_cast<uint32_t>(wp), info->mouseData, event);
  if (WatchNeeded(g_ll) && GetTickCount() - g_watchLooked >= kLostReleaseTickMs) {
    ReleaseLostButtons(buttonEvent ? ButtonTriggerBit(event.index) : 0);
  }
  if (!buttonEvent) return CallNextHookEx(next, code, wp, lp);

  event.time = info->time;
  g_wheelParts.pauseMs = WheelAccumPauseMs(ReadFlags().wheel);
  ButtonActions actions;
  ButtonStep(g_ll, event, ReadModifiers, actions, &g_wheelParts);

  const bool swallow = CarryOut(actions, static_cast<UINT>(wp), info);
  Mirror();
  return swallow ? 1 : CallNextHookEx(next, code, wp, lp);
}

void LLMouseUseBlock(const MouseBtnBlock& block) {
  ClearConversionState();
  ButtonCopyBlock(g_ll.MouseBtn, block);
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
