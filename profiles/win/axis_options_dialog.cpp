#include "profiles/win/axis_options_dialog.h"
