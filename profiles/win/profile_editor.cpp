#include "profiles/win/profile_editor.h"
