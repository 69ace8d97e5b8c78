#include "pelisk/pages/debug_dialog.h"

#include "common/flags.h"
#include "common/mouse_btn.h"

namespace qorv {

using debug_flag::HookKindBit;

// Box 1183 + n stands for the hook kind n - 1 (WH_MSGFILTER is -1).
const DebugCheckBox kDebugCheckBoxes[kDebugCheckBoxCount] = {
    {1179, debug_flag::kForegroundOnly},
    {1180, debug_flag::kStartBlocking},
    {1181, debug_flag::kShowGetMsgHook},
    {1182, debug_flag::kShowMouseHook},
    {1199, debug_flag::kShowLLMouseReports},
    {1183, HookKindBit(-1)},
    {1184, HookKindBit(0)},
    {1185, HookKindBit(1)},
    {1186, HookKindBit(2)},
    {1187, HookKindBit(3)},
    {1188, HookKindBit(4)},
    {1189, HookKindBit(5)},
    {1190, HookKindBit(6)},
    {1191, HookKindBit(7)},
    {1192, HookKindBit(8)},
    {1193, HookKindBit(9)},
    {1194, HookKindBit(10)},
    {1195, HookKindBit(11)},
    {1196, HookKindBit(12)},
    {1197, HookKindBit(13)},
    {1198, HookKindBit(14)},
};

int DebugHotkeyDuplicate(uint32_t hotkey, const uint32_t* table) {
  if (hotkey::Vk(hotkey) == 0) return -1;
  constexpr uint32_t kKeyAndModifiers = 0xFFFF;  // the scan code does not count
  for (int i = 0; i <= 13; ++i) {
    if (table[i] != 0 && (table[i] & kKeyAndModifiers) == (hotkey & kKeyAndModifiers)) return i;
  }
  return -1;
}

}  // namespace qorv
