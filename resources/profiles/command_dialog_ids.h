// Ids of the command options, mouse button, wheel and Power Command dialogs.
#ifndef COMMAND_DIALOG_IDS_H
#define COMMAND_DIALOG_IDS_H
#endif
