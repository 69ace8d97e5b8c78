#include "host/test_witness_win.h"

#include <cwchar>

namespace qorv {

namespace {

bool g_on;

}  // namespace

UINT TestWitnessStart() {
  wchar_t value[4] = {};
  const DWORD length = GetEnvironmentVariableW(L"QORV_TEST_WITNESS", value, 4);
  g_on = length == 1 && value[0] == L'1';
  return g_on ? RegisterWindowMessageW(kWitnessDropMessage) : 0;
}

void TestWitnessCount(HWND hwnd, const wchar_t* property) {
  if (!g_on || hwnd == nullptr) return;
  const auto count = reinterpret_cast<UINT_PTR>(GetPropW(hwnd, property));
  SetPropW(hwnd, property, reinterpret_cast<HANDLE>(count + 1));
}

}  // namespace qorv
