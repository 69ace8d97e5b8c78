// "Qorv.ini" on disk: the settings program's record loaded from it and saved into it.
#pragma once
#include <windows.h>

#include "settings/settings.h"

namespace qorv {

constexpr wchar_t kSettingsFileName[] = L"Qorv.ini";

// The settings program's one record.
extern SettingsRecord g_settings;

// Fills g_settings (but the visited flags) from the file; 1 if it was read, 0 when defaults were used.
int SettingsLoad(const wchar_t* fileName);
// Writes the record by the save rules; 1 if the file existed and was read first. A file that holds
// bytes but cannot be read is left alone: a new text would drop everything else it holds. An empty
// file reads as the defaults and is written over. *wrote (when given) tells whether the file now
// holds the record.
int SettingsSave(const wchar_t* fileName, bool* wrote = nullptr);
// Writes only "DebugFlag" and "HkDbgHook"; same result and the same care as SettingsSave.
int DebugSave(const wchar_t* fileName, bool* wrote = nullptr);
// Start-up: SettingsLoad, and when there is no file or an empty one, write it with the defaults.
int SettingsLoadAtStart(const wchar_t* fileName);

}  // namespace qorv
