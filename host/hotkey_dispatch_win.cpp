#include "host/hotkey_dispatch_win.h"

#include <shellapi.h>

#include <cwchar>

#include "common/flags.h"
#include "host/actions_win.h"
#include "host/elevation_win.h"
#include "host/events.h"
#include "host/hooks_win.h"
#include "host/host_win.h"
#include "host/hotkeys.h"
#include "host/hotkeys_win.h"
#include "host/tray_icon_win.h"
#include "host/volume.h"

namespace qorv {

namespace {

// Names of the hotkeys for the user, in table order.
const wchar_t* const kHotkeyNames[kHotkeyActionCount] = {
    L"設定表示",        L"機能一時停止",    L"透過半透明 切替", L"最前面 切替",      L"最背面 切替",
    L"実行優先度 高く", L"実行優先度 低く", L"ウインド最小化",  L"ウインド最大化",   L"ウインドを閉じる",
    L"音量 Up",         L"音量 Down",       L"音量 ミュート",   L"マウスボタン変更", L"フック無効化",
};

void RunWindowAction(HotkeyAction action) {
  HWND target = ActionTarget(g_host.hwnd);
  if (target == nullptr) return;
  switch (action) {
    case HotkeyAction::LayTop:
      // Restyling sends to the window: a busy window is left as it is, and the user told once.
      if (!ActionsCanRestyle(target)) {
        if (!g_host.toldBusyWindow) Tell(L"応答していないウインドウは半透明にできませんでした。", false);
        g_host.toldBusyWindow = true;
        break;
      }
      ActionToggleTranslucent(target,
                              LevelToAlpha(MainFlag(), main_flag::kInitialLevelMask, main_flag::kInitialLevelShift));
      break;
    case HotkeyAction::WndTop:
      ActionToggleTopmost(target);
      break;
    case HotkeyAction::WndBtm:
      ActionToggleBottom(target);
      break;
    case HotkeyAction::PrioHigh:
    case HotkeyAction::PrioLow:
      ActionStepPriority(target, action == HotkeyAction::PrioHigh);
      break;
    case HotkeyAction::WndMin:
      ActionMinimize(target);
      break;
    case HotkeyAction::WndMax:
      ActionMaximizeOrRestore(target);
      break;
    case HotkeyAction::WndClose:
      ActionClose(target);
      break;
    default:
      break;
  }
}

}  // namespace

void RegisterHotkeys() {
  const uint32_t failed = HotkeysRegister(g_host.hwnd, g_host.record.HotkeyTable, kHotkeyActionCount);
  HooksApply();
  const uint32_t fresh = failed & ~g_host.reportedHotkeys;
  g_host.reportedHotkeys |= failed;
  if (fresh == 0) return;
  wchar_t text[256] = L"次のホットキーを登録できませんでした (他のプログラムが使用中です):";
  for (int id = 0; id < kHotkeyActionCount; ++id) {
    if ((fresh & (1u << id)) == 0 || wcslen(text) + wcslen(kHotkeyNames[id]) + 2 >= 256) continue;
    wcscat(text, L" ");
    wcscat(text, kHotkeyNames[id]);
  }
  Tell(text, true);
}

void ReleaseHotkeys() {
  HotkeysRelease(g_host.hwnd);
  HooksApply();
}

void StartSettingsProgram() {
  wchar_t path[MAX_PATH];
  if (!PathBesideExe(L"pelisk.exe", path) || GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
    Tell(L"設定プログラム pelisk.exe が qorv.exe と同じフォルダーにありません。", true);
    return;
  }
  wchar_t dir[MAX_PATH];
  wcscpy(dir, path);
  *wcsrchr(dir, L'\\') = 0;
  // Started with the user's ordinary rights also when we run elevated: the settings program must not
  // inherit them (and it needs none).
  if (!StartProgramAsUser(path, dir)) Tell(L"設定プログラム pelisk.exe を起動できませんでした。", true);
}

void RunHotkey(int id) {
  const HotkeyAction action = HotkeyActionOf(id);
  switch (action) {
    case HotkeyAction::None:
      return;
    case HotkeyAction::Prop:
      StartSettingsProgram();
      return;
    case HotkeyAction::Pause:
      SetPaused(!g_host.paused);
      return;
    case HotkeyAction::VolUp:
    case HotkeyAction::VolDown:
      VolumeStep(g_host.volume, action == HotkeyAction::VolUp ? 1 : -1);
      return;
    case HotkeyAction::VolMute:
      VolumeToggleMute(g_host.volume);
      return;
    case HotkeyAction::MouseBtn:
      g_host.conversionOn = !g_host.conversionOn;
      HooksApply();
      return;
    case HotkeyAction::DbgHook:
      g_host.debugOn = !g_host.debugOn;
      HooksApply();
      return;
    default:
      RunWindowAction(action);
      return;
  }
}

}  // namespace qorv
