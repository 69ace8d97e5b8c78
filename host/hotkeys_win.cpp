#include "host/hotkeys_win.h"

#include "host/hotkeys.h"

namespace qorv {

namespace {

uint32_t g_held;

struct MouseWatch {
  HHOOK hook;
  HWND hwnd;
  UINT notifyMsg;
  uint32_t words[kHotkeyActionCount];
  int count;
  MouseHotkeyState state;
  volatile LONG events;
};
MouseWatch g_watch;

uint32_t ModifiersNow() {
  uint32_t m = 0;
  if (GetAsyncKeyState(VK_MENU) < 0) m |= MOD_ALT;
  if (GetAsyncKeyState(VK_CONTROL) < 0) m |= MOD_CONTROL;
  if (GetAsyncKeyState(VK_SHIFT) < 0) m |= MOD_SHIFT;
  if (GetAsyncKeyState(VK_LWIN) < 0 || GetAsyncKeyState(VK_RWIN) < 0) m |= MOD_WIN;
  return m;
}

MouseEvent EventOf(WPARAM msg, const MSLLHOOKSTRUCT& info) {
  const int xButton = HIWORD(info.mouseData) == XBUTTON1 ? 5 : 6;
  switch (msg) {
    case WM_LBUTTONDOWN:
      return {MouseEventKind::ButtonDown, 1, 0};
    case WM_LBUTTONUP:
      return {MouseEventKind::ButtonUp, 1, 0};
    case WM_RBUTTONDOWN:
      return {MouseEventKind::ButtonDown, 2, 0};
    case WM_RBUTTONUP:
      return {MouseEventKind::ButtonUp, 2, 0};
    case WM_MBUTTONDOWN:
      return {MouseEventKind::ButtonDown, 4, 0};
    case WM_MBUTTONUP:
      return {MouseEventKind::ButtonUp, 4, 0};
    case WM_XBUTTONDOWN:
      return {MouseEventKind::ButtonDown, static_cast<uint32_t>(xButton), 0};
    case WM_XBUTTONUP:
      return {MouseEventKind::ButtonUp, static_cast<uint32_t>(xButton), 0};
    case WM_MOUSEWHEEL:
      return {MouseEventKind::Wheel, 0, static_cast<short>(HIWORD(info.mouseData))};
    default:
      return {MouseEventKind::Other, 0, 0};
  }
}

// Runs on the installing thread for every mouse event of the desktop: decides and posts, nothing more.
LRESULT CALLBACK MouseWatchProc(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    InterlockedIncrement(&g_watch.events);
    const MouseEvent event = EventOf(wp, *reinterpret_cast<const MSLLHOOKSTRUCT*>(lp));
    if (event.kind != MouseEventKind::Other) {
      const uint32_t modifiers = event.kind == MouseEventKind::ButtonUp ? 0 : ModifiersNow();
      const MouseHotkeyResult result = MouseHotkeyStep(g_watch.state, g_watch.words, g_watch.count, event, modifiers);
      if (result.id >= 0) PostMessageW(g_watch.hwnd, g_watch.notifyMsg, static_cast<WPARAM>(result.id), 0);
      if (result.swallow) return 1;
    }
  }
  return CallNextHookEx(g_watch.hook, code, wp, lp);
}

}  // namespace

uint32_t HotkeysRegister(HWND hwnd, const uint32_t* words, int count) {
  for (int id = 0; id < 32; ++id) {
    if ((g_held & (1u << id)) != 0) UnregisterHotKey(hwnd, id);
  }
  g_held = 0;
  uint32_t failed = 0;
  for (int id = 0; id < count && id < 32; ++id) {
    const HotkeyBinding binding = HotkeyBindingOf(words[id]);
    if (binding.kind != HotkeyKind::Keyboard) continue;
    if (RegisterHotKey(hwnd, id, binding.modifiers | MOD_NOREPEAT, binding.vk)) {
      g_held |= 1u << id;
    } else {
      failed |= 1u << id;
    }
  }
  SetPropW(hwnd, kPropHotkeysHeld, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(g_held | kHotkeysSettled)));
  return failed;
}

void HotkeysRelease(HWND hwnd) {
  for (int id = 0; id < 32; ++id) {
    if ((g_held & (1u << id)) != 0) UnregisterHotKey(hwnd, id);
  }
  g_held = 0;
  SetPropW(hwnd, kPropHotkeysHeld, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(kHotkeysSettled)));
}

bool MouseWatchInstall(HWND hwnd, UINT notifyMsg, const uint32_t* words, int count) {
  g_watch.hwnd = hwnd;
  g_watch.notifyMsg = notifyMsg;
  g_watch.count = 0;
  for (int i = 0; i < count && i < kHotkeyActionCount; ++i) g_watch.words[g_watch.count++] = words[i];
  if (g_watch.hook != nullptr) return true;
  g_watch.state = {};
  g_watch.hook = SetWindowsHookExW(WH_MOUSE_LL, MouseWatchProc, GetModuleHandleW(nullptr), 0);
  return g_watch.hook != nullptr;
}

void MouseWatchRemove() {
  if (g_watch.hook == nullptr) return;
  UnhookWindowsHookEx(g_watch.hook);
  g_watch.hook = nullptr;
}

void MouseWatchDropSilently() {
  if (g_watch.hook != nullptr) UnhookWindowsHookEx(g_watch.hook);
}

bool MouseWatchInstalled() { return g_watch.hook != nullptr; }

uint32_t MouseWatchEvents() { return static_cast<uint32_t>(g_watch.events); }

}  // namespace qorv
