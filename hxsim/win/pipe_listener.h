#pragma once
// Serves a named pipe with any number of clients: one free instance is always listening, so
// a client arriving while another is handed over finds the pipe busy (and waits) rather than
// missing; each connected client gets a thread of its own running `serve`, which owns the
// handle.
#include <windows.h>

#include <functional>
#include <string>

// Creates the first instance (failing when another process owns the name) and starts
// listening. `what` names the pipe in the error text.
[[nodiscard]] bool StartPipeListener(const std::string& path, bool messageMode,
                                     std::function<void(HANDLE)> serve, const char* what,
                                     std::string* error);
