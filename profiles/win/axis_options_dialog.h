#pragma once
// The axis options of one rotation axis in the current mode, and the freelook hold.
#include "winui/dialog.h"
