#pragma once
// The process's one output engine, created on first use and let go of at process end.
#include "commands/engine.h"

Engine& ProcessEngine();
// Releases whatever the engine still holds; does nothing if it never existed.
void ShutdownProcessEngine();
