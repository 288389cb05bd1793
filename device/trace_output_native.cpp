#include "device/trace_output.h"

// Native builds run only tests, which read lines through TraceCapture.
void WriteTraceOutput(const char*) {}
