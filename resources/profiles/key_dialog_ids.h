// Ids of the key command dialog.
#ifndef KEY_DIALOG_IDS_H
#define KEY_DIALOG_IDS_H
#define IDD_KEY_COMMAND 132
// The keyboard picture: key index i is the button IDC_KEY_FIRST + i (0-100).
#define IDC_KEY_FIRST 1000
#define IDC_KEY_LAST 1100
#define IDC_KEY_PROMPT 1110
#define IDC_KEY_METHOD 1111
// The method radios, in the order of the action values 0-3.
#define IDC_KEY_TAP 1112
#define IDC_KEY_HOLD 1113
#define IDC_KEY_TOGGLE 1114
#define IDC_KEY_PULSE 1115
#define IDC_KEY_RATE 1116
#define IDC_KEY_SLOW 1117
#define IDC_KEY_FAST 1118
#endif
