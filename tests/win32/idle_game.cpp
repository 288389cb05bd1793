// A stand-in game for the Launch tests: it only stays up until the test ends it, and ends by
// itself after a minute should a test not get that far.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Sleep(60000);
  return 0;
}
