// Resource ids of the settings program: dialogs, their controls, strings, icons and the cursor.
// Shared by pelisk.rc and the code; control ids are unique within their own dialog only.
#pragma once

// Icons and cursor.
#define IDI_MAIN 101            // program icon, also the windows' class icon at 16 x 16
#define IDI_PICKER 102          // window picker at rest
#define IDI_PICKER_SEARCH 103   // window picker while searching
#define IDC_PICKER_CURSOR 104   // cursor while the picker is dragged

// Strings. Lists are one string with line feeds between the items.
#define IDS_NONE 1              // "なし": text of an empty hotkey control
#define IDS_DUPLICATE_HOTKEY 2  // duplicate hotkey question
#define IDS_REGISTER_FAILED 3   // hotkey registration question
#define IDS_LOAD_FAILED 4       // settings file could not be read (not shown)
#define IDS_MAP_COLUMNS 5       // per-window list columns
#define IDS_VERTICAL_AMOUNTS 6  // vertical scroll amounts
#define IDS_HORIZONTAL_AMOUNTS 8  // horizontal scroll amounts
#define IDS_SETTINGS_SUFFIX 9   // " 設定" after the product title
#define IDS_PAGE_TITLES 10      // the six tab titles
#define IDS_NO_TITLE 12         // "(タイトルなし)"
#define IDS_NEW_TITLE 13        // "(新規)"
#define IDS_OS_ERROR 14         // system too old
#define IDS_LEFT_RIGHT_KEYS 15  // text of 1127 in key mode
#define IDS_BUTTON_COLUMNS 16   // mouse-button list columns
#define IDS_BUTTON_NAMES 17     // converted-button names
#define IDS_SHEET_FONT 18       // frame font face and size ("\n..." = the template's own)
#define IDS_SHEET_BUTTONS 19    // frame OK and Cancel texts ("\n..." = the template's own)
#define IDS_SAVE_FAILED 20      // the settings file could not be written
#define IDS_MAP_SAVE_FAILED 21  // the per-window table could not be written

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Frame of the tabbed window (built in memory).
#define IDC_SHEET_TAB 12320

// Dialog 106: debug settings.
#define IDD_DEBUG 106
#define IDC_DB_FORWND 1179      // block only for the foreground window
#define IDC_DB_STARTUP 1180     // start blocking at start-up
#define IDC_DB_GETMSG 1181      // show the message hook
#define IDC_DB_MOUSE 1182       // show the mouse hook
#define IDC_DB_LLREPORT 1199    // show low-level mouse reports
#define IDC_DB_GROUP 1079       // group box of the hook kinds
#define IDC_DB_HOOK_FIRST 1183  // 1183 + n: hook kind n - 1, DebugFlag bit n
#define IDC_DB_HOOK_LAST 1198
#define IDC_DB_HOTKEY_LABEL 1078
#define IDC_DB_HOTKEY 1206

// Dialog 109: per-window editor.
#define IDD_MAP_EDITOR 109
#define IDC_ME_TITLE_LABEL 1076
#define IDC_ME_TITLE 1173
#define IDC_ME_USE 1168
#define IDC_ME_USE_WINDOW 1172
#define IDC_ME_BY_FILE 1169
#define IDC_ME_FILE 1174
#define IDC_ME_BROWSE 1178
#define IDC_ME_BY_CLASS 1170
#define IDC_ME_CLASS 1176
#define IDC_ME_BY_ID 1171
#define IDC_ME_ID 1175
#define IDC_ME_PICKER 1177
#define IDC_ME_PICKER_NOTE 1077
#define IDC_ME_COUNTDOWN 1161
#define IDC_ME_VCONVERT 1125
#define IDC_ME_VBAR 1129
#define IDC_ME_VAMOUNT_LABEL 1065
#define IDC_ME_VAMOUNT 1143
#define IDC_ME_HCONVERT 1126
#define IDC_ME_HBAR 1061
#define IDC_ME_HAMOUNT_LABEL 1066
#define IDC_ME_HAMOUNT 1145
#define IDC_ME_SEARCH 1127
#define IDC_ME_FORWARD 1124
#define IDC_ME_TRANSPARENT 1132
#define IDC_ME_FOCUS 1095
#define IDC_ME_ACTIVATE_WHEEL 1131
#define IDC_ME_PRECISE 1136
#define IDC_ME_CTRLPAGE 1135
#define IDC_ME_KEYS 1128

// Dialog 111: hotkeys page (controls in HotkeyTable order 0-12).
#define IDD_HOTKEYS 111
#define IDC_HK_PROP 1101
#define IDC_HK_PAUSE 1102
#define IDC_HK_LAYTOP 1106
#define IDC_HK_WNDTOP 1107
#define IDC_HK_WNDBTM 1108
#define IDC_HK_PRIOHIGH 1062
#define IDC_HK_PRIOLOW 1063
#define IDC_HK_WNDMIN 1109
#define IDC_HK_WNDMAX 1110
#define IDC_HK_WNDCLOSE 1111
#define IDC_HK_VOLUP 1114
#define IDC_HK_VOLDOWN 1115
#define IDC_HK_VOLMUTE 1116
#define IDC_HK_NOTE 1301

// Dialog 112: mouse-button page.
#define IDD_MOUSE 112
#define IDC_MB_NOTE 1301
#define IDC_MB_LIST 1091
#define IDC_MB_EDIT 1163
#define IDC_MB_NEW 1164
#define IDC_MB_DELETE 1165
#define IDC_MB_UP 1166
#define IDC_MB_DOWN 1167
#define IDC_MB_LEGEND 1302
#define IDC_MB_START 1180
#define IDC_MB_WHEEL_UNDER 1124
#define IDC_MB_HOTKEY_LABEL 1075
#define IDC_MB_HOTKEY 1206

// Dialog 113: per-window page.
#define IDD_PERWINDOW 113
#define IDC_PW_NOTE 1301
#define IDC_PW_LIST 1162
#define IDC_PW_EDIT 1163
#define IDC_PW_NEW 1164
#define IDC_PW_DELETE 1165
#define IDC_PW_UP 1166
#define IDC_PW_DOWN 1167
#define IDC_PW_APPLY 1168

// Dialog 114: wheel page.
#define IDD_WHEEL 114
#define IDC_WH_GROUP_CONVERT 1069
#define IDC_WH_VCONVERT 1125
#define IDC_WH_VBAR 1129
#define IDC_WH_VAMOUNT_LABEL 1065
#define IDC_WH_VAMOUNT 1143
#define IDC_WH_HCONVERT 1126
#define IDC_WH_HBAR 1061
#define IDC_WH_HAMOUNT_LABEL 1066
#define IDC_WH_HAMOUNT 1145
#define IDC_WH_SEARCH 1127
#define IDC_WH_PRECISE 1136
#define IDC_WH_RECOVER_LABEL 1172
#define IDC_WH_RECOVER 1150
#define IDC_WH_RECOVER_VALUE 1153
#define IDC_WH_GROUP_ACTION 1070
#define IDC_WH_UNDER 1124
#define IDC_WH_ACTIVATE 1130
#define IDC_WH_MDI 1131
#define IDC_WH_CTRLPAGE 1135

// Dialog 115: window page.
#define IDD_WINDOW 115
#define IDC_WN_GROUP_MOVE 1067
#define IDC_WN_MOVE_LAYER 1138
#define IDC_WN_SIZE_LAYER 1139
#define IDC_WN_DIRECTX 1140
#define IDC_WN_LEVEL_LABEL 1157
#define IDC_WN_LEVEL 1149
#define IDC_WN_LEVEL_VALUE 1154
#define IDC_WN_FRAMEDRAG 1121
#define IDC_WN_SHOWSIZE 1122
#define IDC_WN_GROUP_SNAP 1069
#define IDC_WN_SNAP 1137
#define IDC_WN_SNAP_LABEL 1155
#define IDC_WN_SNAP_PIXELS 1142
#define IDC_WN_SNAP_SPIN 1148
#define IDC_WN_SNAP_INSIDE 1153
#define IDC_WN_SNAPHIDE 1141
#define IDC_WN_SNAPRGN 1143
#define IDC_WN_NOSNAPLAY 1144
#define IDC_WN_NOSNAPCHILD 1145
#define IDC_WN_NOSNAPRGNCLIENT 1150
#define IDC_WN_GROUP_FRONT 1068
#define IDC_WN_WHEEL_FRONT 1119
#define IDC_WN_WHEEL_LAYER 1123
#define IDC_WN_TEMP_LAYER 1120
#define IDC_WN_INIT_LABEL 1156
#define IDC_WN_INIT_LEVEL 1147
#define IDC_WN_INIT_VALUE 1152

// Dialog 122: other page.
#define IDD_OTHER 122
#define IDC_OT_GROUP_VOLUME 1071
#define IDC_OT_ICON_VOLUME 1123
#define IDC_OT_DESKTOP_VOLUME 1124
#define IDC_OT_MIXER_LABEL 1158
#define IDC_OT_MIXER 1159
#define IDC_OT_GROUP_MAIN 1073
#define IDC_OT_NO_TRAY 1122
#define IDC_OT_ICON_BITMAP 1136
#define IDC_OT_WHEELCLICK_OFF 1141
#define IDC_OT_GROUP_EXPLORER 1074
#define IDC_OT_F2 1134
#define IDC_OT_DBLCLICK_UP 1140
#define IDC_OT_MCLICK_UP 1142
#define IDC_OT_WINKEY 1137
#define IDC_OT_CTRLA 1135
#define IDC_OT_ROLL 1139
#define IDC_OT_SCROLLVALUE 1138

// Dialog 123: mouse-button editor.
#define IDD_BUTTON_EDITOR 123
#define IDC_BE_BUTTON_LABEL 1083
#define IDC_BE_BUTTON 1084
#define IDC_BE_LEFT 1207
#define IDC_BE_RIGHT 1208
#define IDC_BE_MIDDLE 1209
#define IDC_BE_X1 1212
#define IDC_BE_X2 1213
#define IDC_BE_SHIFT 1214
#define IDC_BE_CTRL 1215
#define IDC_BE_ALT 1216
#define IDC_BE_WIN 1217
#define IDC_BE_GROUP 1085
#define IDC_BE_NOTE 1094
#define IDC_BE_KEY_LABEL 1087
#define IDC_BE_KEY 1086
#define IDC_BE_ENABLED 1092
#define IDC_BE_SUPPRESS 1088
#define IDC_BE_REPORT 1089
#define IDC_BE_MSG 1090
