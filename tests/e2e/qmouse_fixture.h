#pragma once
// What the whole-program tests of qmouse share: a simulated tracker, the program started
// against it with a clean registry, and helpers to watch the cursor.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <string>
#include <thread>

#include "hxsim/win/sim_client.h"
#include "resources/qmouse/resource.h"
#include "tests/e2e/program.h"


using Clock = std::chrono::steady_clock;
inline const char kSettingsKey[] = "Software\\Korvath\\Quellan Mouse\\Settings";
struct ScreenPoint {
  LONG x, y;
};
inline const ScreenPoint kCentre = {640, 512};  // of the session's 1280 x 1024 screen

// The tray icon's callback message to the main window.
inline UINT NullWindowTrayMessage() { return WM_USER + 1; }

inline POINT Cursor() {
  POINT p = {};
  GetCursorPos(&p);
  return p;
}

inline bool CursorAt(LONG x, LONG y, DWORD timeoutMs) {
  return WaitFor([&] { POINT p = Cursor(); return p.x == x && p.y == y; }, timeoutMs);
}

inline std::string CursorText() {
  POINT p = Cursor();
  return std::to_string(p.x) + "," + std::to_string(p.y);
}

class Qmouse : public testing::Test {
 protected:
  void SetUp() override {
    GetSystemMetrics(SM_CXSCREEN);  // a first window-system call, before any cursor call
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Korvath");
    SimProcess::Options options;
    options.rateHz = rateHz_;
    ASSERT_TRUE(sim_.Start(options));
    _putenv(("HXSIM_PIPE=" + sim_.PipeName()).c_str());
    const char* exe = std::getenv("QMOUSE_EXE");
    ASSERT_NE(exe, nullptr) << "QMOUSE_EXE names the program under test";
    exe_ = WindowsPath(exe);
  }
  void TearDown() override {
    if (qmouse_.Running()) qmouse_.Kill();
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Korvath");
  }
  void StartQmouse() {
    started_ = Clock::now();
    ASSERT_TRUE(qmouse_.Start(exe_));
    window_ = MainWindow();
    ASSERT_NE(window_, nullptr);
    ASSERT_EQ(qmouse_.FindDialog("already running", 0), nullptr) << "a copy from elsewhere is still running";
  }
  // The dialog that holds the splash picture. The dwell indicators are dialogs too, and
  // topmost, so "the program's first dialog" may be one of them.
  HWND MainWindow() {
    HWND found = nullptr;
    WaitFor([&] {
      found = OwnWindow("#32770", [](HWND w) { return GetDlgItem(w, IDC_SPLASH_PICTURE) != nullptr; });
      return found != nullptr;
    }, 5000);
    return found;
  }
  // A top-level window of qmouse's, of class `cls`, that `accept` takes.
  template <typename Accept>
  HWND OwnWindow(const char* cls, Accept accept) {
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, cls, nullptr));) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == qmouse_.Id() && accept(w)) return w;
    }
    return nullptr;
  }
  // The settings sheet, once it shows.
  HWND Sheet(DWORD timeoutMs) {
    HWND sheet = nullptr;
    WaitFor([&] {
      sheet = OwnWindow("#32770", [](HWND w) {
        char caption[64] = {};
        GetWindowTextA(w, caption, sizeof caption);
        return lstrcmpA(caption, "Quellan Mouse Settings") == 0 && IsWindowVisible(w);
      });
      return sheet != nullptr;
    }, timeoutMs);
    return sheet;
  }
  // Waits until head control has begun and the rest pose is primed. Head control begins
  // when the splash ends (3 s after start-up, later on a loaded machine), and the floating
  // panel is created in the same step; a few passes later the first reading has primed.
  // `fromTheSimulator` false: the cursor thread reads another source, or no tracker is there.
  void WaitForHeadControl(bool fromTheSimulator = true) {
    std::this_thread::sleep_until(started_ + std::chrono::milliseconds(3000));
    HWND panel = qmouse_.FindDialog("Quellan Mouse ", 20000);
    ASSERT_NE(panel, nullptr) << "no floating panel: head control never began";
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(panel) != FALSE; }, 5000));
    if (fromTheSimulator) ASSERT_TRUE(ReadingsTaken(2)) << "the cursor thread takes no readings";
    else Sleep(300);
  }
  // Waits until the tracker has answered `n` more position requests from now: a pass has run
  // on what was set before (the first reading of a new cursor thread primes its rest).
  bool ReadingsTaken(int n, DWORD timeoutMs = 10000) {
    sim_.Control("log");  // forget the requests before now
    int taken = 0;
    return WaitFor([&] {
      const std::string log = sim_.Control("log");
      const std::string name = "IOCTL_GET_FLOAD_POSITION";
      for (size_t at = log.find(name); at != std::string::npos; at = log.find(name, at + 1)) {
        const size_t end = at + name.size();
        taken += end < log.size() && log[end] == '*' ? std::atoi(log.c_str() + end + 1) : 1;
      }
      return taken >= n;
    }, timeoutMs);
  }
  void Pose(double rx, double ry, double x = 0, double z = 0) {
    char line[128];
    snprintf(line, sizeof line, "pose %g 0 %g %g %g", x, z, rx, ry);
    ASSERT_EQ(sim_.Control(line), "ok");
  }
  bool HasSettingsKey() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
  long Setting(const char* name) {
    DWORD value = 0, size = sizeof value, type = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_ANY, &type, &value, &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
      return -999;
    return static_cast<long>(value);
  }

  int rateHz_ = 100;  // the tracker's pace; a test may slow it in its constructor
  SimProcess sim_;
  Program qmouse_;
  std::string exe_;
  HWND window_ = nullptr;
  Clock::time_point started_;
};

