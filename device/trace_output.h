#pragma once
// Where traced lines go on this platform (debugger channel on Windows, nowhere natively).
void WriteTraceOutput(const char* line);
