#include "host/texts_win.h"
#include "host/hooks_win.h"

#include <cwchar>

#include "common/flags.h"
#include "host/actions_win.h"
#include "host/companion_win.h"
#include "host/hook_thread_win.h"
#include "host/hooks_wanted.h"
#include "host/host_win.h"
#include "host/hotkeys_win.h"
#include "host/publish_win.h"
#include "host/test_witness_win.h"
#include "host/tray_icon_win.h"

namespace qorv {

namespace {

constexpr DWORD kHookThreadStopMs = 10000;

DWORD DebugThread() {
  if ((DebugFlag() & debug_flag::kForegroundOnly) == 0) return 0;
  HWND front = GetForegroundWindow();
  return front != nullptr ? GetWindowThreadProcessId(front, nullptr) : 0;
}

HookWishes Wishes() {
  HookWishes w = {};
  w.stopping = g_host.stopping;
  w.paused = g_host.paused;
  w.editing = g_host.editing;
  w.conversionOn = g_host.conversionOn;
  w.debugOn = g_host.debugOn;
  w.mouseHotkeys = AnyMouseHotkey(g_host.record.HotkeyTable, kHotkeyActionCount);
  return w;
}

void ReportHookFailures() {
  g_host.reportedHookFailures &= ~g_host.held;  // a kind that works again is told anew when it fails
  const uint32_t fresh = g_host.failed & ~g_host.reportedHookFailures;
  g_host.reportedHookFailures |= g_host.failed;
  UpdateTip();
  if (fresh == 0) return;
  static const struct {
    uint32_t bit;
    UINT name;
  } kNames[] = {{hook_bit::kGetMsg, IDS_HOOK_GETMSG}, {hook_bit::kCallWnd, IDS_HOOK_CALLWND},
                {hook_bit::kMouse, IDS_HOOK_MOUSE},   {hook_bit::kConversion, IDS_HOOK_CONVERSION},
                {hook_bit::kDebug, IDS_HOOK_DEBUG},   {hook_bit::kWatch, IDS_HOOK_WATCH}};
  wchar_t text[256];
  wcsncpy(text, HostText(IDS_HOOKS_FAILED).c_str(), 255);
  text[255] = 0;
  for (const auto& n : kNames) {
    const std::wstring name = HostText(n.name);
    if ((fresh & n.bit) == 0 || wcslen(text) + name.size() + 2 >= 256) continue;
    wcscat(text, L" ");
    wcscat(text, name.c_str());
  }
  Tell(text, true);
}

// The conversion's low-level hook runs on the library's own thread; SetHookLLMouse waits up to
// 400 ms for that thread, which the UI thread may do and the hook thread must not.
void ApplyConversion(bool want, bool restart) {
  const bool held = (g_host.held & hook_bit::kConversion) != 0;
  if (want) {
    if (held && !restart) return;
    const bool ok = g_lib.setHookLLMouse(g_host.hwnd, kLLMouseNotify, &g_host.record.MouseBtn, 0) == 1;
    g_host.held = ok ? g_host.held | hook_bit::kConversion : g_host.held & ~hook_bit::kConversion;
    g_host.failed = ok ? g_host.failed & ~hook_bit::kConversion : g_host.failed | hook_bit::kConversion;
    return;
  }
  g_host.failed &= ~hook_bit::kConversion;
  if (held && g_lib.unHookLLMouse() == 1) g_host.held &= ~hook_bit::kConversion;
}

}  // namespace

void HandOverFlags() {
  g_lib.setHookFlag(g_host.record.MainFlag, g_host.record.WheelFlag, g_host.record.WndFlag, g_host.extraFlag);
  CompanionRefresh();
}

void PublishTable() {
  const uint32_t extra = g_host.publisher->Publish();
  if (extra == 0) return;  // keep the table in force
  g_host.extraFlag = extra;
  HandOverFlags();
  // The companion hands the new number to its library only when our update reaches it: until the
  // next table is published the old one stays, so that its lookups never find no table meanwhile.
  if (!CompanionRunning()) g_host.publisher->ReleasePrevious();
}

bool HooksStart() { return HookThreadStart(g_lib, g_host.hwnd, kHookThreadReply); }

void HooksApply(uint32_t what) {
  const WantedHooks wanted = DecideWantedHooks(Wishes());
  const bool messageHookGoes = (g_host.requested & hook_bit::kGetMsg) != 0 && (wanted.kinds & hook_bit::kGetMsg) == 0;
  const bool messageHookComes = (g_host.requested & hook_bit::kGetMsg) == 0 && (wanted.kinds & hook_bit::kGetMsg) != 0;
  if (messageHookComes) HandOverFlags();
  if (messageHookGoes && !g_host.sessionEnding) {
    // Roll-up and wheel translucency off: the library restores every rolled-up window and makes every
    // wheel-translucent one opaque here, on the UI thread, which may wait for other programs.
    g_lib.setHookFlag(g_host.record.MainFlag & ~(main_flag::kRollUp | main_flag::kWheelTranslucent),
                      g_host.record.WheelFlag, g_host.record.WndFlag, g_host.extraFlag);
  }
  if ((wanted.kinds & hook_bit::kConversion) == 0) ApplyConversion(false, false);
  if (!g_host.sessionEnding) CompanionHandOver(CompanionKinds(wanted.kinds));  // else ended by CompanionStop

  HookRequest request = {};
  request.kinds = wanted.kinds & ~hook_bit::kConversion;
  request.owner = g_host.hwnd;
  request.getMsgNotify = kGetMsgNotify;
  request.callWndNotify = kCallWndNotify;
  request.mouseNotify = kMouseNotify;
  request.debugOwner = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(g_host.hwnd));
  request.debugMask = DebugFlag() & debug_flag::kHookKindMask;
  request.debugThread = DebugThread();
  request.watchNotify = kMouseHotkey;
  request.watchHotkeys = wanted.watchHotkeys;
  request.freshWatch = (what & hooks_apply::kFreshWatch) != 0;
  request.leaveMessageHook = g_host.sessionEnding;
  for (int i = 0; i < kHotkeyActionCount; ++i) request.watchWords[i] = g_host.record.HotkeyTable[i];
  if (HookThreadRequest(request)) {
    g_host.requested = request.kinds;
  } else {
    g_host.failed |= request.kinds;
  }

  if ((wanted.kinds & hook_bit::kConversion) != 0) {
    ApplyConversion(true, (what & (hooks_apply::kRestartConversion | hooks_apply::kFreshWatch)) != 0);
  }
  if (messageHookGoes) ActionsRestoreAll();
  if (!g_host.stopping) ReportHookFailures();
}

void HooksOnReply(WPARAM wp, LPARAM lp) {
  const uint32_t threadKinds = ~hook_bit::kConversion;
  g_host.held = (g_host.held & hook_bit::kConversion) | (static_cast<uint32_t>(wp) & threadKinds);
  g_host.failed = (g_host.failed & hook_bit::kConversion) | (static_cast<uint32_t>(lp) & threadKinds & 0xFFFF);
  POINT pt;
  if ((lp & kReplyWatchNew) != 0 && GetCursorPos(&pt)) {
    // A new hook is watched from here: where the cursor is now is no move it has missed.
    g_host.watch = {MouseWatchEvents(), pt.x, pt.y, 0};
  }
  if (!g_host.stopping) ReportHookFailures();
}

void SetPaused(bool paused) {
  if (paused == g_host.paused) return;
  g_host.paused = paused;
  HooksApply();
  UpdateTip();
}

// Windows removes a low-level hook whose thread once answers too slowly, without telling anyone.
void HooksCheckHealth() {
  if ((g_host.held & hook_bit::kWatch) == 0) return;
  POINT pt;
  if (!GetCursorPos(&pt)) return;
  if (HookWatchStep(g_host.watch, MouseWatchEvents(), pt.x, pt.y) != HookHealth::Lost) return;
  // The conversion's hook suffers from the same stalls: it is started afresh too.
  HooksApply(hooks_apply::kFreshWatch);
  ++g_host.reinstalls;
  TestWitnessCount(g_host.hwnd, kWitnessReinstalls);
  if (g_host.reinstalls == 1) Tell(HostText(IDS_HOOK_REINSTALLED).c_str(), false);
  UpdateTip();
}

void HooksStop() {
  g_host.stopping = true;
  HooksApply();
  HookThreadStop(kHookThreadStopMs);
  g_host.held &= hook_bit::kConversion;
}

}  // namespace qorv
