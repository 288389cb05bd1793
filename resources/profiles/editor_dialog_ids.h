// Ids of the profile editor, the axis options and the name dialogs, and of their pictures.
#ifndef EDITOR_DIALOG_IDS_H
#define EDITOR_DIALOG_IDS_H
#endif
