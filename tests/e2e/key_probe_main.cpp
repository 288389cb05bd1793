// A stand-in game for whole-program tests: a window that takes the keyboard and appends every
// key and button it receives, one per line, to the file named by its argument. The first line
// is "ready" once a key of its own has arrived (or "no keyboard"). Ends on WM_CLOSE, and on its
// own after two minutes so that a failed test leaves nothing running.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/e2e/probe.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::string file = GetCommandLineA();
  // The command line is the program, then the file; either may be quoted.
  size_t at = file[0] == '"' ? file.find('"', 1) + 1 : file.find(' ');
  file = at == std::string::npos ? "" : file.substr(at);
  file.erase(0, file.find_first_not_of(' '));
  if (!file.empty() && file.front() == '"') file = file.substr(1, file.find('"', 1) - 1);
  if (file.empty()) return 2;
  FILE* out = fopen(file.c_str(), "w");
  if (!out) return 3;

  Probe probe({100, 100, 500, 400});
  fputs(probe.TakeKeyboard() ? "ready\n" : "no keyboard\n", out);
  fflush(out);
  size_t written = 0;
  const DWORD start = GetTickCount();
  while (IsWindow(probe.hwnd()) && GetTickCount() - start < 120000) {
    probe.Pump(10);
    for (; written < probe.Events().size(); ++written) fprintf(out, "%s\n", probe.Events()[written].c_str());
    fflush(out);
  }
  fclose(out);
  return 0;
}
