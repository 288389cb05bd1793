#pragma once
// The process's one output engine, created on first use and let go of at process end.
#include "commands/engine.h"

Engine& ProcessEngine();
// Releases what the engine holds (a freelook key or button); does nothing if it never existed.
void ShutdownProcessEngine();
