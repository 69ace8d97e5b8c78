// Resource ids of qorv.exe.
#pragma once

#define kIconMain 1

// Strings, in Japanese and in English under the same ids (host/qorv.rc).
#define IDS_TRAY_SETTINGS 100
#define IDS_TRAY_PAUSE 101
#define IDS_TRAY_RESUME 102
#define IDS_TRAY_AUTOSTART 103
#define IDS_TRAY_RESTART_ADMIN 104
#define IDS_TRAY_EXIT 105
#define IDS_TIP_PAUSED 110
#define IDS_TIP_HOOKS_MISSING 111
#define IDS_TIP_REINSTALLED 112  // %u: how many times
#define IDS_TIP_RUNNING 113
#define IDS_HOOKS_FAILED 120     // followed by the names below
#define IDS_HOOK_GETMSG 121
#define IDS_HOOK_CALLWND 122
#define IDS_HOOK_MOUSE 123
#define IDS_HOOK_CONVERSION 124
#define IDS_HOOK_DEBUG 125
#define IDS_HOOK_WATCH 126
#define IDS_HOTKEYS_FAILED 130   // followed by the names below
#define IDS_HOTKEY_NAME_FIRST 140  // 140-154: the hotkeys in table order
#define IDS_HOOK_REINSTALLED 160
#define IDS_NO_SETTINGS_PROGRAM 161
#define IDS_ELEVATED_NOTICE 162
#define IDS_AUTOSTART_FAILED 163
#define IDS_NO_LIBRARY 164
#define IDS_DIAG_TITLE 165
#define IDS_THUMB_POSITION 166   // %d: the position
#define IDS_HOOK_THREAD_FAILED 167
#define IDS_COMPANION_START_FAILED 168
#define IDS_COMPANION_GAVE_UP 169
#define IDS_TIP_COMPANION_STOPPED 170
#define IDS_ELEVATED_NEEDS_MACHINE_INSTALL 171
#define IDS_BUSY_NOT_TRANSLUCENT 172
#define IDS_SETTINGS_NOT_STARTED 173
