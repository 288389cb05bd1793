#pragma once
// What hxprofiler starts before its window: OLE, then Windows Sockets (for the framework's sake
// only; no socket is ever opened). The calls come in from outside, so that a test can make
// each of them fail.
#include <windows.h>

#include <functional>
#include <string>

struct StartupCalls {
  std::function<bool()> startOle, startSockets;  // true when started
  std::function<void()> stopOle;
  std::function<void(const std::string&)> show;  // tells the user why the program ends
};
// OleInitialize, WSAStartup for version 1.1 and a message box captioned "Hxprofiler".
StartupCalls SystemStartupCalls();

// False when the program must end: the user has been told why (strings 105 and 103 of the
// program's resources) and OLE is stopped again if it had started.
bool StartServices(const StartupCalls& calls);

// A string of the program's resources, or `fallback` when it has none.
std::string ResourceText(UINT id, const char* fallback);
