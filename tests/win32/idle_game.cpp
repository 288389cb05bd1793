// A stand-in game for the Launch tests: it only stays up until the test ends it, and ends by
// itself after a minute should a test not get that far. Started with "--folder-to FILE" it
// first writes the folder it was started in to FILE, for the tests of where games start.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  const char* option = std::strstr(commandLine, "--folder-to ");
  if (option) {
    char folder[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, folder);
    const char* file = option + std::strlen("--folder-to ");
    const HANDLE out = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (out != INVALID_HANDLE_VALUE) {
      WriteFile(out, folder, length, &written, nullptr);
      CloseHandle(out);
    }
  }
  Sleep(60000);
  return 0;
}
