// Ids of the key command dialog.
#ifndef KEY_DIALOG_IDS_H
#define KEY_DIALOG_IDS_H
#endif
