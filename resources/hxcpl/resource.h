#pragma once
// hxcpl's resource ids.

#define IDS_SHEET_CAPTION 1
#define IDI_SHEET 301

#define IDD_OUTPUTS 201
#define IDC_BAR_X 1030
#define IDC_BAR_Y 1034
#define IDC_BAR_Z 1035
#define IDC_BAR_RX 1036
#define IDC_BAR_RY 1037

#define IDD_OPTIONS 306
#define IDC_SET_ZERO 1032
#define IDC_CALIBRATE 1033
