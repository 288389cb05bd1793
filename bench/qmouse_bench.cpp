// qmouse as a whole under Wine: cursor passes per second against a tracker paced at 100 Hz,
// the same with the settings sheet open on its live Gesture page, and against an unpaced
// tracker. Wine does not report another process's CPU times, so each
// measured stretch is framed by "begin NAME" / "end NAME" lines, and tools/bench reads the
// CPU of the qmouse process from the host between them.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "hxsim/win/sim_client.h"
#include "resources/qmouse/resource.h"
#include "tests/e2e/program.h"

namespace {

// Total of the fractional position reads in a `log` reply ("...,IOCTL_GET_FLOAD_POSITION*302,...").
long PositionReads(const std::string& log) {
  const std::string name = "IOCTL_GET_FLOAD_POSITION";
  long total = 0;
  for (size_t p = log.find(name); p != std::string::npos; p = log.find(name, p + 1)) {
    size_t end = p + name.size();
    total += end < log.size() && log[end] == '*' ? std::atol(log.c_str() + end + 1) : 1;
  }
  return total;
}

struct Run {
  SimProcess sim;
  Program qmouse;

  bool Start(int rateHz) {
    SimProcess::Options options;
    options.rateHz = rateHz;
    options.motion = "--demo";
    if (!sim.Start(options)) return false;
    _putenv(("HXSIM_PIPE=" + sim.PipeName()).c_str());
    const char* exe = std::getenv("QMOUSE_EXE");
    if (!exe) return false;
    if (!qmouse.Start(WindowsPath(exe))) return false;
    Sleep(4000);  // past the splash: head control is live
    return true;
  }
  ~Run() {
    qmouse.Kill();
    sim.Quit();
  }
};

void Stretch(Run& run, const char* name, int seconds) {
  run.sim.Control("log");
  std::printf("begin %s\n", name);
  std::fflush(stdout);
  const DWORD t0 = GetTickCount();
  Sleep(seconds * 1000);
  const double wall = (GetTickCount() - t0) / 1000.0;
  std::printf("end %s\n", name);
  std::fflush(stdout);
  const long reads = PositionReads(run.sim.Control("log"));
  std::printf("%s: %.1f passes/s over %.1f s (%.0f us per pass, wall)\n", name, reads / wall, wall,
              reads ? 1e6 * wall / reads : 0.0);
  std::fflush(stdout);
}

Run& Started(Run& run, int rateHz) {
  if (!run.Start(rateHz)) {
    std::fprintf(stderr, "qmouse_bench: could not start hxsim or qmouse (QMOUSE_EXE, HXSIM_EXE)\n");
    std::exit(1);
  }
  return run;
}

// Opens the settings sheet on the Gesture page with recognition ticked, so that the page's
// own tracker reader moves its bar with the demo's head.
bool OpenGesturePage(Run& run) {
  HWND main = nullptr;  // the dialog with the splash picture; the indicators are dialogs too
  for (HWND w = nullptr; !main && (w = FindWindowExA(nullptr, w, "#32770", nullptr));) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == run.qmouse.Id() && GetDlgItem(w, IDC_SPLASH_PICTURE)) main = w;
  }
  HWND sheet = nullptr;
  for (int i = 0; i < 100 && !sheet; ++i, Sleep(50)) {
    if (i == 0) PostMessageA(main, WM_COMMAND, ID_TRAY_OPTIONS, 0);
    sheet = FindWindowA("#32770", "Quellan Mouse Settings");
  }
  if (!sheet || !SendMessageA(sheet, PSM_SETCURSEL, 3, 0)) return false;
  HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  HWND tick = GetDlgItem(page, IDC_GESTURE_ENABLE);
  if (!tick) return false;
  if (SendMessageA(tick, BM_GETCHECK, 0, 0) != BST_CHECKED) SendMessageA(tick, BM_CLICK, 0, 0);
  return SendMessageA(tick, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

}  // namespace

int main() {
  {
    Run run;
    Stretch(Started(run, 100), "paced-100Hz", 20);
    if (OpenGesturePage(run))
      Stretch(run, "paced-100Hz-gesture-page", 20);
    else
      std::printf("paced-100Hz-gesture-page: the settings sheet's Gesture page did not open\n");
  }
  {
    Run run;
    Stretch(Started(run, 0), "unpaced", 5);
  }
  return 0;
}
