#pragma once
// "Enter profile name": up to 256 characters, the characters a file name cannot hold refused
// as they are typed.
#include "winui/dialog.h"
