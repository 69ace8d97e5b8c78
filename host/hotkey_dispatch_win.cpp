#include "host/texts_win.h"
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

// The names of the hotkeys for the user are strings IDS_HOTKEY_NAME_FIRST + table index.

void RunWindowAction(HotkeyAction action) {
  HWND target = ActionTarget(g_host.hwnd);
  if (target == nullptr) return;
  switch (action) {
    case HotkeyAction::LayTop:
      // Restyling sends to the window: a busy window is left as it is, and the user told once.
      if (!ActionsCanRestyle(target)) {
        if (!g_host.toldBusyWindow) Tell(HostText(IDS_BUSY_NOT_TRANSLUCENT).c_str(), false);
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
  wchar_t text[256];
  wcsncpy(text, HostText(IDS_HOTKEYS_FAILED).c_str(), 255);
  text[255] = 0;
  for (int id = 0; id < kHotkeyActionCount; ++id) {
    const std::wstring name = HostText(IDS_HOTKEY_NAME_FIRST + id);
    if ((fresh & (1u << id)) == 0 || wcslen(text) + name.size() + 2 >= 256) continue;
    wcscat(text, L" ");
    wcscat(text, name.c_str());
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
    Tell(HostText(IDS_NO_SETTINGS_PROGRAM).c_str(), true);
    return;
  }
  wchar_t dir[MAX_PATH];
  wcscpy(dir, path);
  *wcsrchr(dir, L'\\') = 0;
  // Started with the user's ordinary rights also when we run elevated: the settings program must not
  // inherit them (and it needs none).
  if (!StartProgramAsUser(path, dir)) Tell(HostText(IDS_SETTINGS_NOT_STARTED).c_str(), true);
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
