// Resource ids of the game-profile dialogs that qmouse and hxprofiler share. Plain #defines:
// included by the C++ code and by windres alike.
#ifndef PROFILES_RESOURCE_H
#define PROFILES_RESOURCE_H
#include "key_dialog_ids.h"
#include "command_dialog_ids.h"
#include "editor_dialog_ids.h"
#include "manager_dialog_ids.h"
#endif
