#include "profiles/win/power_command_editor.h"
