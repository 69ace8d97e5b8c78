#include "hooklib/window_win.h"

#include "common/layered_win.h"
#include "common/winsearch_win.h"
#include "hooklib/shared_state.h"
#include "hooklib/win_util_win.h"
#include "hooklib/window_ops.h"

namespace qorv {

const wchar_t kPropWndHight[] = L"qv WndHight";

namespace {


void MakeOpaque(HWND hwnd) {
  RemovePropW(hwnd, kPropWndLay);
  SetLayeredAttributes(hwnd, 0, 255, 0);
}

bool OwnThread(HWND hwnd) { return GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId(); }

// Changing the style sends to the window's thread and waits: a window that does not answer at once
// is made opaque by its alpha alone, keeps the layered style for now and gets the mark that has the
// main program take the style off once it answers.
BOOL CALLBACK ClearTranslucencyProc(HWND hwnd, LPARAM lp) {
  if (GetPropW(hwnd, kPropWndLay) != nullptr) {
    if (Responsive(hwnd)) {
      SetLayeredAttributes(hwnd, 0, 255, 0);
    } else {
      SetLayeredAttributes(hwnd, 0, 255, LWA_ALPHA);
      SetPropW(hwnd, kPropLayLeft, reinterpret_cast<HANDLE>(1));
    }
    RemovePropW(hwnd, kPropWndLay);
    ++*reinterpret_cast<int*>(lp);
  }
  return TRUE;
}

struct UnrollPass {
  int restored;
  int left;  // rolled-up windows that could not be restored now
};

BOOL CALLBACK UnrollAllProc(HWND hwnd, LPARAM lp) {
  auto* pass = reinterpret_cast<UnrollPass*>(lp);
  if (IsRolledUp(hwnd) == 0) return TRUE;
  if (Unroll(hwnd) != 0) {
    ++pass->restored;
  } else if (IsRolledUp(hwnd) != 0) {
    ++pass->left;
  }
  return TRUE;
}

int Height(const RECT& r) { return r.bottom - r.top; }

// Resizes without waiting on another thread: for its windows the request is posted to it.
void Resize(HWND hwnd, const RECT& rect, int height) {
  SetWindowPos(hwnd, nullptr, rect.left, rect.top, rect.right - rect.left, height,
               SWP_NOZORDER | SWP_NOACTIVATE | (OwnThread(hwnd) ? 0 : SWP_ASYNCWINDOWPOS));
}

// RollCount is changed by every process that rolls or restores: interlocked, and never below 0.
void AddRollCount(int delta) {
  auto* count = reinterpret_cast<volatile LONG*>(&g_shared.RollCount);
  if (delta > 0) {
    InterlockedIncrement(count);
    return;
  }
  for (;;) {
    const LONG now = *count;
    if (now <= 0 || InterlockedCompareExchange(count, now - 1, now) == now) return;
  }
}

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
  const LONG_PTR style = Style(hwnd);
  const int cyMin = GetSystemMetrics(SM_CYMIN);

  // System defaults, as the window manager fills them before it asks the window.
  MINMAXINFO info = {};
  info.ptMaxSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  info.ptMaxPosition = {-GetSystemMetrics(SM_CXFRAME), -GetSystemMetrics(SM_CYFRAME)};
  info.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), cyMin};
  info.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info), SMTO_ABORTIFHUNG,
                           kSendTimeoutMs, &answer)) {
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
    Resize(hwnd, rect, rolled);
  }
  AddRollCount(1);
  return rolled;
}

int Unroll(HWND hwnd) {
  const LONG_PTR style = Style(hwnd);
  // A minimised window's restored rectangle is set by a call that waits on the window's thread:
  // a window that does not answer keeps its height for a later pass or for its own thread.
  if ((style & WS_MINIMIZE) != 0 && !Responsive(hwnd)) return 0;
  const int saved = static_cast<int>(reinterpret_cast<INT_PTR>(RemovePropW(hwnd, kPropWndHight)));
  const int height = UnrollHeight(saved, GetSystemMetrics(SM_CYMIN), (style & WS_MAXIMIZE) != 0,
                                  GetSystemMetrics(SM_CYMAXIMIZED), GetSystemMetrics(SM_CYVIRTUALSCREEN));
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
      if (GetWindowRect(hwnd, &rect)) Resize(hwnd, rect, height);
    }
  }
  if (saved != 0) AddRollCount(-1);
  return saved;
}

int ToggleRoll(HWND hwnd) { return IsRolledUp(hwnd) != 0 ? Unroll(hwnd) : RollUp(hwnd); }

int UnrollAll() {
  UnrollPass pass = {0, 0};
  EnumWindows(UnrollAllProc, reinterpret_cast<LPARAM>(&pass));
  __atomic_store_n(&g_shared.RollCount, static_cast<uint32_t>(pass.left), __ATOMIC_SEQ_CST);
  return pass.restored;
}

}  // namespace qorv
