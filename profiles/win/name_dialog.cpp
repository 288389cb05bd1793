#include "profiles/win/name_dialog.h"
