#pragma once
// A dropped game shortcut resolved through the shell's link object: the game's path, the
// folder it starts in and its arguments. The profile editor and the profile manager share it.
#include <windows.h>

#include <string>

struct ShortcutTarget {
  std::string path, directory, arguments;
};

// Fills `target` from the shortcut `file`, with `owner` as the owner of any window the shell
// shows while resolving. A failing step is shown in a message box captioned with the program's
// title and ends the resolution; whatever was already read stays in `target`. `recastTraces`:
// the manager traces each conversion of a result, the editor does not. The calling thread must
// have initialised COM.
bool ResolveShortcut(const std::string& file, HWND owner, ShortcutTarget& target, bool recastTraces);

// The program's title (its string 57344), for the messages of the shared profile windows that
// carry it rather than "Hxprofiler".
std::string ProgramTitle();
