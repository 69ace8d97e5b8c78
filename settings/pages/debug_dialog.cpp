#include "settings/pages/debug_dialog.h"

namespace qorv {

const DebugCheckBox kDebugCheckBoxes[kDebugCheckBoxCount] = {
    {1179, 0x00200000}, {1180, 0x00100000}, {1181, 0x01000000}, {1182, 0x02000000}, {1199, 0x10000000},
    {1183, 1u << 0},    {1184, 1u << 1},    {1185, 1u << 2},    {1186, 1u << 3},    {1187, 1u << 4},
    {1188, 1u << 5},    {1189, 1u << 6},    {1190, 1u << 7},    {1191, 1u << 8},    {1192, 1u << 9},
    {1193, 1u << 10},   {1194, 1u << 11},   {1195, 1u << 12},   {1196, 1u << 13},   {1197, 1u << 14},
    {1198, 1u << 15},
};

int DebugHotkeyDuplicate(uint32_t hotkey, const uint32_t* table) {
  if ((hotkey & 0xFF) == 0) return -1;
  for (int i = 0; i <= 13; ++i) {
    if (table[i] != 0 && (table[i] & 0xFFFF) == (hotkey & 0xFFFF)) return i;
  }
  return -1;
}

}  // namespace qorv
