#include "profiles/win/mapper.h"
