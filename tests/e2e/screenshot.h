#pragma once
// Pictures of our windows for people to look at: what a window shows on the screen, saved as
// a 24-bit BMP. Tests write them only when HX_SHOTS names a folder (tools/screenshots).
#include <windows.h>

#include <string>

bool SaveWindowPicture(HWND window, const std::string& path);
// The folder from HX_SHOTS with a trailing backslash, or "" when pictures are not wanted.
std::string ShotsFolder();
