#include "settings/settings_win.h"

#include "settings/file_win.h"
#include "settings/ini_win.h"

namespace qorv {

SettingsRecord g_settings;

namespace {

using TextEdit = IniText (*)(const SettingsRecord&, IniText);

int SaveWith(const wchar_t* fileName, TextEdit edit, bool* wrote) {
  if (wrote != nullptr) *wrote = false;
  wchar_t path[MAX_PATH];
  IniPath(path, MAX_PATH, fileName);
  IniText text = IniLoad(path);
  const int wasRead = text != nullptr ? 1 : 0;
  // A file that holds bytes but could not be read (locked, too large) stays whole; an empty one
  // holds nothing and reads as the defaults, so it is written over.
  if (text == nullptr && FileHoldsBytes(path)) return 0;
  text = edit(g_settings, text);
  const DWORD written = text != nullptr ? IniWrite(path, text) : 0;
  if (wrote != nullptr) *wrote = written > 0;
  IniFree(text);
  return wasRead;
}

}  // namespace

int SettingsLoad(const wchar_t* fileName) {
  wchar_t path[MAX_PATH];
  IniPath(path, MAX_PATH, fileName);
  IniText text = IniLoad(path);
  SettingsFromText(text, g_settings);
  IniFree(text);
  return text != nullptr ? 1 : 0;
}

int SettingsSave(const wchar_t* fileName, bool* wrote) { return SaveWith(fileName, SettingsToText, wrote); }

int DebugSave(const wchar_t* fileName, bool* wrote) { return SaveWith(fileName, DebugToText, wrote); }

int SettingsLoadAtStart(const wchar_t* fileName) {
  if (SettingsLoad(fileName) != 0) return 1;
  const bool hotkeys = g_settings.HotkeysPageVisited;
  const bool mouse = g_settings.MousePageVisited;
  g_settings.HotkeysPageVisited = false;
  g_settings.MousePageVisited = false;
  SettingsSave(fileName);  // creates the file where there is none or an empty one
  g_settings.HotkeysPageVisited = hotkeys;
  g_settings.MousePageVisited = mouse;
  return 0;
}

}  // namespace qorv
