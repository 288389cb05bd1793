#include "profiles/win/button_dialog.h"
