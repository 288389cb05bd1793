#pragma once
// A dropped game shortcut resolved through the shell's link object: the game's path, the
// folder it starts in and its arguments. The profile editor and the profile manager share it.
#include <windows.h>
#include <shellapi.h>

#include <string>

struct ShortcutTarget {
  std::string path, directory, arguments;
};

// Fills `target` from the shortcut `file`, with `owner` as the owner of any window the shell
// shows while resolving. A failing step is shown in a message box captioned with the program's
// title and ends the resolution with false, `target` as it was; so does a field too long to be
// read whole. `recastTraces`: the manager traces each conversion of a result, the editor does
// not. The calling thread must have initialised COM.
bool ResolveShortcut(const std::string& file, HWND owner, ShortcutTarget& target, bool recastTraces);

// What a dropped file, or one chosen otherwise, stands for as a game: a program file (.exe) is
// the game itself, started in its own folder without arguments; anything else is resolved as a
// shortcut (above). False when it gives no game; the reason has been shown.
bool ResolveDroppedFile(const std::string& file, HWND owner, ShortcutTarget& target, bool recastTraces);

// The first file of a drop by its whole name, however long; "" when the drop names none.
std::string FirstDroppedFile(HDROP drop);

// The program's title (its string 57344), for the messages of the shared profile windows that
// carry it rather than "Hxprofiler".
std::string ProgramTitle();
