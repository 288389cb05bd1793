// Resource ids of hxprofiler; the shared dialogs' ids come with profiles.rc.
#ifndef HXPROFILER_RESOURCE_H
#define HXPROFILER_RESOURCE_H

#include "../profiles/manager_dialog_ids.h"

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_HXPROFILER 102
#define IDS_SOCKETS_FAILED 103
#define IDS_ALREADY_RUNNING 104
#define IDS_OLE_FAILED 105
#define IDI_HXPROFILER 129
#define IDC_ABOUT_VERSION 1003
#define IDC_ABOUT_TAGLINE 1004
#define IDC_ABOUT_ICON 1005
#define IDC_JOYSTICK 1078
#define IDM_ABOUTBOX 0x0010
#define IDS_APP_TITLE 57344

#endif
