#pragma once
// Start at boot: the value "Quellan Mouse" under the machine-wide Run key.
#include <functional>
#include <string>

using ErrorReporter = std::function<void(const std::string& systemText)>;

// Whether the value exists. Only reads, so a user without administrator rights can ask.
bool ReadStartupAtBoot(const ErrorReporter& report);
// The program's own full path from its module, in double quotes: what the Run value holds.
std::string RunCommand();
// Writes `command` (on) or deletes the value (off). Every failing step reports the
// system's text; returns success.
bool WriteStartupAtBoot(bool on, const std::string& command, const ErrorReporter& report);
