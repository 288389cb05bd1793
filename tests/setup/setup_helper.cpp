// What the setup test cannot do from the shell: drive the running qmouse as its tray menu
// does, see whether a key or mouse button is held down, and hold a DLL loaded as the
// control panel does.
//   setup_helper command ID            posts menu command ID to the running qmouse
//   setup_helper close                 asks qmouse and hxprofiler to close, as setup does
//   setup_helper held                  exit 0 when no key or mouse button is down
//   setup_helper held-after-exit       waits (bounded) for the running qmouse to end, then
//                                      as "held", at once: before anything else can press
//   setup_helper hold DLL STOPFILE     loads DLL, writes STOPFILE.loaded, and keeps it
//                                      loaded until STOPFILE exists (at most five minutes)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "resources/qmouse/resource.h"

namespace {

bool IsQmouse(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return false;
  char path[MAX_PATH * 2] = {};
  DWORD size = sizeof path;
  const bool ok = QueryFullProcessImageNameA(process, 0, path, &size);
  CloseHandle(process);
  const std::string name = ok ? path : "";
  return name.size() >= 11 && lstrcmpiA(name.c_str() + name.size() - 11, "\\qmouse.exe") == 0;
}

// qmouse's hidden main window: the dialog that holds the splash picture.
HWND QmouseWindow() {
  for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", nullptr));) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (GetDlgItem(w, IDC_SPLASH_PICTURE) && IsQmouse(pid)) return w;
  }
  return nullptr;
}

int Held() {
  int held = 0;
  for (int vk = 1; vk < 255; ++vk) {
    if (GetAsyncKeyState(vk) & 0x8000) {
      std::printf("held: virtual key 0x%02X\n", vk);
      ++held;
    }
  }
  if (!held) std::printf("held: nothing\n");
  return held ? 1 : 0;
}

int HeldAfterExit() {
  HWND window = QmouseWindow();
  if (!window) {
    std::printf("no qmouse runs\n");
    return 2;
  }
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (!process) return 2;
  std::printf("waiting for qmouse (%lu) to end\n", pid);
  std::fflush(stdout);
  const DWORD waited = WaitForSingleObject(process, 300000);
  CloseHandle(process);
  if (waited != WAIT_OBJECT_0) {
    std::printf("qmouse did not end\n");
    return 2;
  }
  return Held();
}

int Hold(const char* dll, const std::string& stopFile) {
  HMODULE module = LoadLibraryA(dll);
  if (!module) {
    std::printf("cannot load %s: %lu\n", dll, GetLastError());
    return 2;
  }
  HANDLE marker = CreateFileA((stopFile + ".loaded").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
  for (int i = 0; i < 3000 && GetFileAttributesA(stopFile.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);
  FreeLibrary(module);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  GetSystemMetrics(SM_CXSCREEN);  // a first window-system call before the key state
  const std::string what = argc > 1 ? argv[1] : "";
  if (what == "command" && argc == 3) {
    HWND window = QmouseWindow();
    return window && PostMessageA(window, WM_COMMAND, std::strtoul(argv[2], nullptr, 10), 0) ? 0 : 1;
  }
  if (what == "close" && argc == 2) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("Korvath.QuellanMouse.CloseRequest"), 0, 0,
                               SMTO_ABORTIFHUNG, 5000, &result) ? 0 : 1;
  }
  if (what == "held" && argc == 2) return Held();
  if (what == "held-after-exit" && argc == 2) return HeldAfterExit();
  if (what == "hold" && argc == 4) return Hold(argv[2], argv[3]);
  std::fprintf(stderr, "usage: setup_helper command ID | close | held | held-after-exit | hold DLL STOPFILE\n");
  return 2;
}
