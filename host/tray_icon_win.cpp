#include "host/texts_win.h"
#include "host/tray_icon_win.h"

#include <cwchar>

#include "common/flags.h"
#include "host/companion_win.h"
#include "host/hooks_win.h"
#include "host/host_win.h"
#include "host/hotkey_dispatch_win.h"
#include "host/resource.h"
#include "host/test_witness_win.h"
#include "host/tray_win.h"

namespace qorv {

namespace {

constexpr wchar_t kIconBitmapFile[] = L"QorvIcon.bmp";

DWORD WINAPI MessageThread(LPVOID text) {
  MessageBoxW(nullptr, static_cast<wchar_t*>(text), kTitle, MB_ICONWARNING | MB_TOPMOST | MB_SETFOREGROUND);
  HeapFree(GetProcessHeap(), 0, text);
  return 0;
}

// The icon: from the bitmap file beside the program when asked and present, else the program's own.
HICON LoadTrayIcon(bool& owned) {
  owned = false;
  wchar_t path[MAX_PATH];
  if ((MainFlag() & main_flag::kIconBitmapFile) != 0 && PathBesideExe(kIconBitmapFile, path)) {
    const int cx = GetSystemMetrics(SM_CXSMICON);
    const int cy = GetSystemMetrics(SM_CYSMICON);
    HBITMAP color = static_cast<HBITMAP>(LoadImageW(nullptr, path, IMAGE_BITMAP, cx, cy, LR_LOADFROMFILE));
    if (color != nullptr) {
      // An all-zero mask: every pixel of the bitmap shows. Monochrome rows are padded to 16 bits.
      const SIZE_T maskBytes = static_cast<SIZE_T>((cx + 15) / 16) * 2 * static_cast<SIZE_T>(cy);
      void* zeros = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, maskBytes);
      HBITMAP mask = zeros != nullptr ? CreateBitmap(cx, cy, 1, 1, zeros) : nullptr;
      if (zeros != nullptr) HeapFree(GetProcessHeap(), 0, zeros);
      ICONINFO info = {};
      info.fIcon = TRUE;
      info.hbmColor = color;
      info.hbmMask = mask;
      HICON icon = mask != nullptr ? CreateIconIndirect(&info) : nullptr;
      if (mask != nullptr) DeleteObject(mask);
      DeleteObject(color);
      if (icon != nullptr) {
        owned = true;
        return icon;
      }
    }
  }
  // The small icon at the size the shell wants for the monitor's scale (LoadIconMetric, bound at run
  // time: comctl32 version 6 only); the system's small-icon size where it is missing.
  using LoadIconMetricFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, HICON*);
  HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
  FARPROC found = comctl != nullptr ? GetProcAddress(comctl, "LoadIconMetric") : nullptr;
  auto loadIconMetric = reinterpret_cast<LoadIconMetricFn>(reinterpret_cast<void*>(found));
  HICON scaled = nullptr;
  constexpr int kSmallIconMetric = 0;  // LIM_SMALL
  if (loadIconMetric != nullptr &&
      SUCCEEDED(loadIconMetric(g_host.instance, MAKEINTRESOURCEW(kIconMain), kSmallIconMetric, &scaled)) &&
      scaled != nullptr) {
    owned = true;
    return scaled;
  }
  return static_cast<HICON>(LoadImageW(g_host.instance, MAKEINTRESOURCEW(kIconMain), IMAGE_ICON,
                                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

}  // namespace

void Tell(const wchar_t* text, bool warning) {
  TestWitnessCount(g_host.hwnd, kWitnessTells);
  if (TrayBalloon(g_host.hwnd, text, warning)) return;
  const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
  void* copy = HeapAlloc(GetProcessHeap(), 0, bytes);
  if (copy == nullptr) return;
  memcpy(copy, text, bytes);
  HANDLE thread = CreateThread(nullptr, 0, MessageThread, copy, 0, nullptr);
  if (thread == nullptr) {
    HeapFree(GetProcessHeap(), 0, copy);
    return;
  }
  CloseHandle(thread);
}

void UpdateTip() {
  wchar_t tip[128];
  if (g_host.paused) {
    wcscpy(tip, HostText(IDS_TIP_PAUSED).c_str());
  } else if (g_host.failed != 0) {
    wcscpy(tip, HostText(IDS_TIP_HOOKS_MISSING).c_str());
  } else if (CompanionGaveUp()) {
    wcscpy(tip, HostText(IDS_TIP_COMPANION_STOPPED).c_str());
  } else if (g_host.reinstalls != 0) {
    swprintf(tip, 128, HostText(IDS_TIP_REINSTALLED).c_str(), g_host.reinstalls);
  } else {
    wcscpy(tip, HostText(IDS_TIP_RUNNING).c_str());
  }
  TraySetTip(g_host.hwnd, tip);
}

void ApplyTray() {
  TrayRemove(g_host.hwnd);
  g_host.trayPending = false;
  if (g_host.iconOwned && g_host.icon != nullptr) DestroyIcon(g_host.icon);
  g_host.icon = nullptr;
  if ((MainFlag() & main_flag::kNoTrayIcon) != 0) return;
  g_host.icon = LoadTrayIcon(g_host.iconOwned);
  // At log-on the shell may not take icons yet: TrayRetry tries again from the health timer.
  g_host.trayPending = !TrayShow(g_host.hwnd, g_host.icon, L"Qorv");
  if (!g_host.trayPending) TestWitnessCount(g_host.hwnd, kWitnessTrayAdds);
  UpdateTip();
}

void TrayRetry() {
  if (!g_host.trayPending || g_host.icon == nullptr) return;
  g_host.trayPending = !TrayShow(g_host.hwnd, g_host.icon, L"Qorv");
  if (g_host.trayPending) return;
  TestWitnessCount(g_host.hwnd, kWitnessTrayAdds);
  UpdateTip();
}

void OnTrayCallback(LPARAM lp) {
  switch (lp) {
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
      TrayShowMenu(g_host.hwnd, {g_host.paused, AutoStartPresent(),
                                 g_host.elevation.warned && !g_host.selfElevated && g_host.folderProtected});
      break;
    case WM_LBUTTONDBLCLK:
      StartSettingsProgram();
      break;
    case WM_MBUTTONUP:
      if ((MainFlag() & main_flag::kWheelClickSuspend) != 0) SetPaused(!g_host.paused);
      break;
    default:
      break;
  }
}

}  // namespace qorv
