#include "settings/settings.h"

#include <cstdio>
#include <cstring>

#include "common/flags.h"

namespace qorv {

const char kSectionFlags[] = "FLAGS";
const char kSectionHotKey[] = "HotKey";
const char kSectionMouseBtn[] = "MouseBtn";
const char* const kHotkeyKeys[kHotkeyCount - 1] = {
    "HkProp",   "HkPause",   "HkLayTop",   "HkWndTop", "HkWndBtm",  "HkPrioHigh", "HkPrioLow", "HkWndMin",
    "HkWndMax", "HkWndClose", "HkVolUp", "HkVolDown", "HkVolMute", "HkMouseBtn", "HkDbgHook"};

namespace {

void PairKey(uint32_t index, char* out, size_t capacity) { std::snprintf(out, capacity, "BtnSet%u", index); }

uint32_t PageHotkeysAny(const SettingsRecord& record) {
  uint32_t any = 0;
  for (int i = 0; i < kPageHotkeyCount; ++i) any |= record.HotkeyTable[i];
  return any;
}

}  // namespace

void FormatButtonPair(const ButtonPair& pair, char* out, size_t capacity) {
  char condition[16];
  char key[16];
  if (pair.condition == 0) {
    std::snprintf(condition, sizeof(condition), "0");
  } else {
    std::snprintf(condition, sizeof(condition), "0x%06X", pair.condition);
  }
  if (pair.key == 0) {
    std::snprintf(key, sizeof(key), ":0");
  } else {
    std::snprintf(key, sizeof(key), ":0x%08X", pair.key);
  }
  std::snprintf(out, capacity, "%s%s", condition, key);
}

void SettingsFromText(const char* text, SettingsRecord& record) {
  record.MainFlag = IniGetHex(kSectionFlags, "MainFlag", kMainFlagDefault, text);
  record.WheelFlag = IniGetHex(kSectionFlags, "WheelFlag", kWheelFlagDefault, text);
  record.WndFlag = IniGetHex(kSectionFlags, "WndFlag", kWndFlagDefault, text);
  record.MixerWord = (IniGetHex(kSectionFlags, "MxType", 0, text) << 16) |
                     (static_cast<uint32_t>(IniGetInt(kSectionFlags, "MxId", 0, text)) & 0xFFFF);
  record.HotkeyTable[kHotkeyDebugFlag] = IniGetHex(kSectionFlags, "DebugFlag", kDebugFlagDefault, text);
  for (int i = 0; i < kHotkeyCount - 1; ++i) {
    record.HotkeyTable[i] = IniGetHex(kSectionHotKey, kHotkeyKeys[i], 0, text);
  }
  record.KeyLimit = IniGetInt(kSectionHotKey, "KeyLimit", 1, text);
  record.HotkeysLoadedAny = PageHotkeysAny(record);

  MouseBtnBlock& block = record.MouseBtn;
  block.btnFlag = IniGetHex(kSectionMouseBtn, "BtnFlag", kBtnFlagDefault, text);
  record.MouseLoadedAny = block.btnFlag | record.HotkeyTable[kHotkeyMouseBtn];
  // Compared as unsigned: a negative count also becomes the maximum.
  uint32_t setNum = static_cast<uint32_t>(IniGetInt(kSectionMouseBtn, "SetNum", 0, text));
  if (setNum > kMaxButtonPairs) setNum = kMaxButtonPairs;
  block.setNum = setNum;
  const uint32_t defaults[2] = {0, 0};
  for (uint32_t i = 0; i < kMaxButtonPairs; ++i) {
    ButtonPair& pair = block.pairs[i];
    pair = {0, 0};
    if (i >= setNum) continue;
    char key[16];
    PairKey(i, key, sizeof(key));
    uint32_t values[2];
    IniGetHexList(kSectionMouseBtn, key, defaults, values, 2, text);
    pair = {values[0], values[1]};
    record.MouseLoadedAny |= values[0] | values[1];
  }
}

IniText SettingsToText(const SettingsRecord& record, IniText text) {
  text = IniSetHex(kSectionFlags, "MainFlag", record.MainFlag, text);
  text = IniSetHex(kSectionFlags, "WheelFlag", record.WheelFlag, text);
  text = IniSetHex(kSectionFlags, "WndFlag", record.WndFlag, text);
  text = IniSetInt(kSectionFlags, "MxId", static_cast<int32_t>(record.MixerWord & 0xFFFF), text);

  if (record.HotkeysPageVisited && (record.HotkeysLoadedAny != 0 || PageHotkeysAny(record) != 0)) {
    for (int i = 0; i < kPageHotkeyCount; ++i) {
      text = IniSetHex(kSectionHotKey, kHotkeyKeys[i], record.HotkeyTable[i], text);
    }
  }

  const MouseBtnBlock& block = record.MouseBtn;
  // Entries in the list count too: a file without any mouse-button line must still take the first ones.
  if (record.MousePageVisited && (record.MouseLoadedAny != 0 || block.btnFlag != 0 ||
                                  record.HotkeyTable[kHotkeyMouseBtn] != 0 || block.setNum != 0)) {
    const uint32_t setNum = block.setNum > kMaxButtonPairs ? kMaxButtonPairs : block.setNum;
    text = IniSetHex(kSectionMouseBtn, "BtnFlag", block.btnFlag, text);
    text = IniSetInt(kSectionMouseBtn, "SetNum", static_cast<int32_t>(setNum), text);
    char key[16];
    char value[32];
    for (uint32_t j = 0; j < setNum; ++j) {
      PairKey(j, key, sizeof(key));
      FormatButtonPair(block.pairs[j], value, sizeof(value));
      text = IniSetBytes(kSectionMouseBtn, key, value, text);
    }
    for (uint32_t j = setNum; j < kMaxButtonPairs; ++j) {
      PairKey(j, key, sizeof(key));
      IniDeleteKey(kSectionMouseBtn, key, text);
    }
    text = IniSetHex(kSectionHotKey, kHotkeyKeys[kHotkeyMouseBtn], record.HotkeyTable[kHotkeyMouseBtn], text);
  }
  return text;
}

IniText DebugToText(const SettingsRecord& record, IniText text) {
  text = IniSetHex(kSectionFlags, "DebugFlag", record.HotkeyTable[kHotkeyDebugFlag], text);
  return IniSetHex(kSectionHotKey, kHotkeyKeys[kHotkeyDbgHook], record.HotkeyTable[kHotkeyDbgHook], text);
}

}  // namespace qorv
