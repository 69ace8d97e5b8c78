#include "hooklib/perwindow_win.h"

namespace qorv {

uint32_t PerWindowLookup(HWND, uint32_t, const char*, uint32_t, uint32_t*, uint32_t*) { return 0; }
DWORD LookupForWindow(HWND, uint32_t, uint32_t* result, uint32_t*) {
  if (result != nullptr) *result = 0;
  return 0;
}
uint32_t ModulePathQuery(HWND, char*, uint32_t, UINT) { return 0; }
uint32_t ModulePathAnswer(HWND, WPARAM, LPARAM) { return 0; }

}  // namespace qorv
