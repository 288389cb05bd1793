// Resource ids of qmouse. Plain #defines: included by the C++ code and by windres alike.
#ifndef QMOUSE_RESOURCE_H
#define QMOUSE_RESOURCE_H

// Splash window, its picture and the program icon.
#define IDD_NULLWINDOW 133
#define IDB_SPLASH 139
#define IDI_QMOUSE 132
#define IDC_SPLASH_PICTURE 1001

// Notification-area menu (shares its number with the icon; different resource types).
#define IDR_TRAYMENU 132

#define IDS_APP_TITLE 57344

// About box.
#define IDD_ABOUTBOX 255
#define IDC_ABOUT_PICTURE 1002
#define IDC_ABOUT_VERSION 1003
#define IDC_ABOUT_TAGLINE 1004

// Dwell progress indicators.
#define IDD_PROGRESS_HORZ 310
#define IDD_PROGRESS_VERT 311

// Floating panel: the click-mode radios in panel order, then its buttons.
#define IDD_FLOATER 312
#define IDC_NOCLICK 1320
#define IDC_LEFTCLICK 1321
#define IDC_RIGHTCLICK 1322
#define IDC_SCROLL 1323
#define IDC_DOUBLELEFT 1324
#define IDC_DOUBLERIGHT 1325
#define IDC_DRAGLEFT 1326
#define IDC_DRAGRIGHT 1327
#define IDC_HIDE 1313
#define IDC_OPTIONS 1314
#define IDC_SHUTDOWN 1329
#define IDC_PAUSE 1330

// Confirmation dialog; its buttons are IDOK and IDCANCEL.
#define IDD_CONFIRMBOX 315
#define IDC_CONFIRM_TEXT 1331

// Settings sheet. Every page carries its own Apply, OK and Cancel at the same place.
#define IDC_PAGE_APPLY 1332
#define IDC_PAGE_OK 1333
#define IDC_PAGE_CANCEL 1334
#define IDC_TRACKER 1335
#define IDC_TRACKER_PORT 1336
#define IDC_TRACKER_NETWORK 1337

// "Options" page.
#define IDD_PAGE_OPTIONS 140
#define IDC_STARTUP_AT_BOOT 1216
#define IDC_REPEAT_CLICKS 1239
#define IDC_CALIBRATE 1275
#define IDC_SET_CENTER 1276
#define IDC_LOOK_AWAY 1351
#define IDC_LOOK_AWAY_DIRECTION 1352
#define IDC_LOOK_AWAY_TIME 1353

// "Mouse" page.
#define IDD_PAGE_MOUSE 130
#define IDC_MOUSE_PAIR 1310
#define IDC_MOUSE_HORIZONTAL 1301
#define IDC_MOUSE_VERTICAL 1303
#define IDC_MOUSE_HORIZONTAL_VALUE 1305
#define IDC_MOUSE_VERTICAL_VALUE 1307
#define IDC_MOUSE_APPLET 1273

// "Dwell" page.
#define IDD_PAGE_DWELL 129
#define IDC_HOVER_TIME 1293
#define IDC_DWELL_TIME 1294
#define IDC_DWELL_ZONE 1295
#define IDC_COLOR_SWATCH 1050
#define IDC_CHANGE_COLOR 1042

// "Gesture" page.
#define IDD_PAGE_GESTURE 131
#define IDC_GESTURE_ENABLE 1294
#define IDC_GESTURE_GROUP 1295
#define IDC_GESTURE_LIST 1015
#define IDC_GESTURE_ACTION_GROUP 1296
#define IDC_GESTURE_CHANGE_DWELL 1287
#define IDC_GESTURE_PERFORM 1288
#define IDC_GESTURE_DWELL_LIST 1292
#define IDC_GESTURE_ACTION_LIST 1018
#define IDC_GESTURE_MOTION_GROUP 1297
#define IDC_GESTURE_SMALL 1298
#define IDC_GESTURE_LARGE 1299
#define IDC_GESTURE_REQUIRED 1300
#define IDC_GESTURE_SLIDER 1289
#define IDC_GESTURE_POSITION_LABEL 1291
#define IDC_GESTURE_POSITION 1071

// "Sounds" page.
#define IDD_PAGE_SOUNDS 278
#define IDC_SOUND_NONE 1024
#define IDC_SOUND_ONE 1023
#define IDC_SOUND_UNIQUE 1025
#define IDC_SOUND_EVENT 1034
#define IDC_SOUND_LIST 1035

// Tray menu commands. The click modes are the menu's own numbering, not the panel's.
#define ID_MODE_NOCLICK 32784
#define ID_MODE_LEFTCLICK 32785
#define ID_MODE_RIGHTCLICK 32786
#define ID_MODE_DOUBLELEFT 32787
#define ID_MODE_DOUBLERIGHT 32788
#define ID_MODE_DRAGLEFT 32789
#define ID_MODE_DRAGRIGHT 32790
#define ID_MODE_SCROLL 32791
#define ID_TRAY_OPTIONS 32792
#define ID_TRAY_ABOUT 32793
#define ID_TRAY_EXIT 32794
#define ID_TRAY_PAUSE 32796
#define ID_TRAY_GAMEOPTIONS 32800
#define ID_TRAY_CLOSEMENU 32802
#define ID_TRAY_PANELTOTOP 32827

#endif
