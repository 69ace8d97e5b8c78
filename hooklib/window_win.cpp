#include "hooklib/window_win.h"

#include "common/layered_win.h"
#include "hooklib/shared_state.h"
#include "hooklib/window_ops.h"

namespace qorv {

const wchar_t kPropWndLay[] = L"qv WndLay";
const wchar_t kPropWndHight[] = L"qv WndHight";

namespace {

// Bound for the WM_GETMINMAXINFO question so that a hung window cannot stall the click.
constexpr UINT kMinMaxTimeoutMs = 20;

void MakeOpaque(HWND hwnd) {
  RemovePropW(hwnd, kPropWndLay);
  SetLayeredAttributes(hwnd, 0, 255, 0);
}

BOOL CALLBACK ClearTranslucencyProc(HWND hwnd, LPARAM lp) {
  if (GetPropW(hwnd, kPropWndLay) != nullptr) {
    SetLayeredAttributes(hwnd, 0, 255, 0);
    RemovePropW(hwnd, kPropWndLay);
    ++*reinterpret_cast<int*>(lp);
  }
  return TRUE;
}

BOOL CALLBACK UnrollAllProc(HWND hwnd, LPARAM lp) {
  if (Unroll(hwnd) != 0) ++*reinterpret_cast<int*>(lp);
  return TRUE;
}

int Height(const RECT& r) { return r.bottom - r.top; }

}  // namespace

int WheelTranslucency(HWND hwnd, int delta, UINT keys) {
  WheelStepFacts facts;
  facts.currentAlpha = static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(GetPropW(hwnd, kPropWndLay)));
  facts.delta = delta;
  facts.keys = keys;
  facts.layered = (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
  facts.mainFlag = g_shared.MainFlag;
  const WheelStepResult step = DecideWheelStep(facts);
  switch (step.action) {
    case WheelStep::kNone:
      return 0;
    case WheelStep::kMakeOpaque:
      MakeOpaque(hwnd);
      return 1;
    case WheelStep::kStart:
    case WheelStep::kStep:
      if (!SetPropW(hwnd, kPropWndLay, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(step.alpha)))) {
        return step.action == WheelStep::kStart ? 0 : 1;
      }
      ApplyAlpha(hwnd, step.alpha);
      return 1;
  }
  return 0;
}

int ClearWheelTranslucency() {
  int count = 0;
  EnumWindows(ClearTranslucencyProc, reinterpret_cast<LPARAM>(&count));
  return count;
}

int DirectXInUse() {
  static const wchar_t* const kModules[] = {L"ddraw.dll", L"d3d8.dll", L"d3d9.dll"};
  for (int i = 0; i < 3; ++i) {
    if (GetModuleHandleW(kModules[i]) != nullptr) return i + 1;
  }
  return 0;
}

UINT_PTR IsRolledUp(HWND hwnd) { return reinterpret_cast<UINT_PTR>(GetPropW(hwnd, kPropWndHight)); }

int RollUp(HWND hwnd) {
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  const int cyMin = GetSystemMetrics(SM_CYMIN);

  // System defaults, as the window manager fills them before it asks the window.
  MINMAXINFO info = {};
  info.ptMaxSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  info.ptMaxPosition = {-GetSystemMetrics(SM_CXFRAME), -GetSystemMetrics(SM_CYFRAME)};
  info.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), cyMin};
  info.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info), SMTO_ABORTIFHUNG,
                           kMinMaxTimeoutMs, &answer)) {
    return 0;
  }
  const int rolled = info.ptMinTrackSize.y;
  if (!RollAccepted(rolled, cyMin)) return 0;

  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  if ((style & WS_MINIMIZE) != 0) {
    if (!GetWindowPlacement(hwnd, &placement)) return 0;
    const int height = Height(placement.rcNormalPosition);
    if (!RollWorthwhile(height, rolled)) return 0;
    if (!SetPropW(hwnd, kPropWndHight, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(height)))) return 0;
    placement.rcNormalPosition.bottom = placement.rcNormalPosition.top + rolled;
    SetWindowPlacement(hwnd, &placement);
  } else {
    RECT rect;
    if (!GetWindowRect(hwnd, &rect)) return 0;
    int height = Height(rect);
    if ((style & WS_MAXIMIZE) != 0) {
      if (!GetWindowPlacement(hwnd, &placement)) return 0;
      height = Height(placement.rcNormalPosition);
    }
    if (!RollWorthwhile(height, rolled)) return 0;
    if (!SetPropW(hwnd, kPropWndHight, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(height)))) return 0;
    MoveWindow(hwnd, rect.left, rect.top, rect.right - rect.left, rolled, TRUE);
  }
  ++g_shared.RollCount;
  return rolled;
}

int Unroll(HWND hwnd) {
  const int saved = static_cast<int>(reinterpret_cast<INT_PTR>(RemovePropW(hwnd, kPropWndHight)));
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
  const int height = UnrollHeight(saved, GetSystemMetrics(SM_CYMIN), (style & WS_MAXIMIZE) != 0,
                                  GetSystemMetrics(SM_CYMAXIMIZED));
  if (height != 0) {
    if ((style & WS_MINIMIZE) != 0) {
      WINDOWPLACEMENT placement = {};
      placement.length = sizeof(placement);
      if (GetWindowPlacement(hwnd, &placement)) {
        placement.rcNormalPosition.bottom = placement.rcNormalPosition.top + height;
        SetWindowPlacement(hwnd, &placement);
      }
    } else {
      RECT rect;
      if (GetWindowRect(hwnd, &rect)) MoveWindow(hwnd, rect.left, rect.top, rect.right - rect.left, height, TRUE);
    }
  }
  if (saved != 0) --g_shared.RollCount;
  return saved;
}

int ToggleRoll(HWND hwnd) { return IsRolledUp(hwnd) != 0 ? Unroll(hwnd) : RollUp(hwnd); }

int UnrollAll() {
  int count = 0;
  EnumWindows(UnrollAllProc, reinterpret_cast<LPARAM>(&count));
  g_shared.RollCount = 0;
  return count;
}

}  // namespace qorv
