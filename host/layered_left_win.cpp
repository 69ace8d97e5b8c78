#include "host/layered_left_win.h"

#include "common/layered_win.h"
#include "common/winsearch_win.h"
#include "host/layered_left.h"

namespace qorv {
namespace {

BOOL CALLBACK RetryProc(HWND hwnd, LPARAM lp) {
  if (GetPropW(hwnd, kPropLayLeft) == nullptr) return TRUE;
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  LeftLayeredFacts facts = {};
  facts.layered = (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
  facts.wheelTranslucent = GetPropW(hwnd, kPropWndLay) != nullptr;
  if (GetLayeredAttributes(hwnd, &key, &alpha, &flags)) {
    facts.alphaOnly = flags == LWA_ALPHA;
    facts.alpha = alpha;
  }
  if (DecideLeftLayered(facts) == LeftLayeredStep::kClearIfIdle) {
    if (!Responsive(hwnd)) {
      ++*reinterpret_cast<int*>(lp);
      return TRUE;
    }
    SetLayeredAttributes(hwnd, 0, 255, 0);
  }
  RemovePropW(hwnd, kPropLayLeft);
  return TRUE;
}

}  // namespace

int LayeredLeftRetry() {
  int left = 0;
  EnumWindows(RetryProc, reinterpret_cast<LPARAM>(&left));
  return left;
}

}  // namespace qorv
