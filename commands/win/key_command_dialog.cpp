#include "commands/win/key_command_dialog.h"
