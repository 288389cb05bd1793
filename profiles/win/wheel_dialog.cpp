#include "profiles/win/wheel_dialog.h"
