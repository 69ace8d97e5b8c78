// The settings program's copy of "Qorv.ini" and the rules that read it from, and write it into, an
// INI text. Plain code; settings_win.h adds the file side.
#pragma once
#include <cstdint>

#include "common/mouse_btn.h"
#include "settings/ini.h"

namespace qorv {

constexpr int kHotkeyCount = 16;       // 0-14 hotkey words, 15 DebugFlag
constexpr int kPageHotkeyCount = 13;   // "HkProp" ... "HkVolMute"
constexpr int kHotkeyMouseBtn = 13;    // "HkMouseBtn"
constexpr int kHotkeyDbgHook = 14;     // "HkDbgHook"
constexpr int kHotkeyDebugFlag = 15;   // "DebugFlag" of section "FLAGS"

extern const char kSectionFlags[];     // "FLAGS"
extern const char kSectionHotKey[];    // "HotKey"
extern const char kSectionMouseBtn[];  // "MouseBtn"
// Keys of HotkeyTable entries 0-14, in table order.
extern const char* const kHotkeyKeys[kHotkeyCount - 1];

struct SettingsRecord {
  uint32_t MainFlag;
  uint32_t WheelFlag;
  uint32_t WndFlag;
  uint32_t MixerWord;              // bits 16-31 "MxType" as read, bits 0-15 "MxId"
  uint32_t HotkeyTable[kHotkeyCount];
  int32_t KeyLimit;                // non-zero: hotkey controls refuse plain keys
  uint32_t HotkeysLoadedAny;       // OR of entries 0-12 as loaded
  MouseBtnBlock MouseBtn;
  uint32_t MouseLoadedAny;         // OR of BtnFlag, entry 13 and the loaded pairs
  bool HotkeysPageVisited;
  bool MousePageVisited;
};

// Fills every field but the two visited flags from text (null: all defaults).
void SettingsFromText(const char* text, SettingsRecord& record);
// Writes what a save writes: the "FLAGS" words always, the hotkeys and the mouse buttons by their
// rules. Returns the text to use from now on.
IniText SettingsToText(const SettingsRecord& record, IniText text);
// Writes only "DebugFlag" and "HkDbgHook".
IniText DebugToText(const SettingsRecord& record, IniText text);

// The pair line of a mouse-button conversion: "0x%06X" (or "0") then ":0x%08X" (or ":0").
void FormatButtonPair(const ButtonPair& pair, char* out, size_t capacity);

}  // namespace qorv
