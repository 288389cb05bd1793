#include <windows.h>

#include "device/trace_output.h"

void WriteTraceOutput(const char* line) { OutputDebugStringA(line); }
