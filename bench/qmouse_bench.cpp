// qmouse as a whole under Wine: cursor passes per second and CPU against a tracker paced at
// 100 Hz with the head still, moving and engaged, the same with the settings sheet open on its
// live Gesture page, and against an unpaced tracker; and the latency from a pose change at the
// simulator to the cursor's move and, engaged, to the key at the game's window. Wine does not
// report another process's CPU times, so each measured stretch is framed by "begin NAME" /
// "end NAME" lines, and tools/bench reads the CPU of the qmouse process from the host between
// them. Lag is measured at random phase beside its floor (bench/lag.h).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>
#include <cstdlib>
#include <string>

#include "bench/engage.h"
#include "bench/lag.h"
#include "hxsim/sim_device.h"
#include "hxsim/win/sim_client.h"
#include "commands/key_table.h"
#include "profiles/profile.h"
#include "resources/profiles/resource.h"
#include "resources/qmouse/resource.h"
#include "tests/e2e/probe.h"
#include "tests/e2e/program.h"

namespace {

// Total of one request's reads in a `log` reply ("...,IOCTL_GET_FLOAD_POSITION*302,..."): the
// cursor passes read the fractional record, the engaged passes the whole one (as does the
// Gesture page's own reader, which is not a pass).
long Reads(const std::string& log, const std::string& name) {
  long total = 0;
  for (size_t p = log.find(name); p != std::string::npos; p = log.find(name, p + 1)) {
    const size_t end = p + name.size();
    total += end < log.size() && log[end] == '*' ? std::atol(log.c_str() + end + 1) : 1;
  }
  return total;
}

struct Run {
  SimProcess sim;
  Program qmouse;

  bool Start(int rateHz, const char* motion = "--demo") {
    SimProcess::Options options;
    options.rateHz = rateHz;
    options.motion = motion;
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

void Stretch(Run& run, const char* name, int seconds, const char* request = "IOCTL_GET_FLOAD_POSITION") {
  run.sim.Control("log");
  std::printf("begin %s\n", name);
  std::fflush(stdout);
  const DWORD t0 = GetTickCount();
  Sleep(seconds * 1000);
  const double wall = (GetTickCount() - t0) / 1000.0;
  std::printf("end %s\n", name);
  std::fflush(stdout);
  const long reads = Reads(run.sim.Control("log"), request);
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
// A top-level dialog of qmouse's holding control `id`.
HWND DialogWith(Run& run, int id) {
  for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", nullptr));) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == run.qmouse.Id() && GetDlgItem(w, id)) return w;
  }
  return nullptr;
}

bool OpenGesturePage(Run& run) {
  HWND main = DialogWith(run, IDC_SPLASH_PICTURE);  // the indicators are dialogs too
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

// Head reading past the dead zone to the key at the game's window, while engaged: the pose
// is set at the simulator and the probe window notes when W arrives.
void MeasureKeyLatency(int turns, DWORD budgetMs) {
  CreateDirectoryA("C:\\Program Files", nullptr);
  CreateDirectoryA("C:\\Program Files\\Quellan Mouse", nullptr);
  const std::string file = "C:\\Program Files\\Quellan Mouse\\Latency.cpf";
  Profile walk;
  walk.operatingMode = 1;
  walk.Map(6)->usesKeys = 1;  // "Look left"
  walk.Map(6)->keyAction = 1;  // Hold
  for (int k = 0; k <= 100; ++k)
    if (KeyIndexToVirtualKey(k) == 'W') walk.Map(6)->keys = {k, -1, -1, -1};
  if (!walk.Save(file)) return;
  Run run;
  if (!run.Start(100, "--still")) return;
  SetCursorPos(1200, 1000);  // dwell clicks nothing of ours while not engaged
  PostMessageA(DialogWith(run, IDC_SPLASH_PICTURE), WM_COMMAND, ID_TRAY_GAMEOPTIONS, 0);
  HWND manager = nullptr;
  for (int i = 0; i < 100 && !manager; ++i, Sleep(50)) manager = DialogWith(run, IDC_MANAGER_ENGAGE);
  Probe game({100, 100, 500, 400});
  if (!manager) {
    std::printf("engaged-key-latency: no profile manager\n");
    DeleteFileA(file.c_str());
    return;
  }
  if (!SelectAndEngage(manager, "Latency")) {
    std::printf("engaged-key-latency: the profile could not be engaged\n");
    DeleteFileA(file.c_str());
    return;
  }
  Stretch(run, "engaged-100Hz", 20, "IOCTL_GET_FLOAD_POSITION");  // engaged passes read the fractional record too
  // The first engaged pass hid the panel, which may have moved the foreground; now the game
  // takes the keyboard, as a player's click into it does.
  if (!game.TakeKeyboard()) std::printf("engaged-key-latency: the game window did not get the keyboard\n");
  // Answers the probe's messages as they come, so that the figure is not the probe's pumping.
  auto waitEvents = [&](size_t count) {
    const DWORD start = GetTickCount();
    while (game.Events().size() < count) {
      if (GetTickCount() - start > 2000) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
      MSG m;
      while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    }
    return true;
  };
  FloorProbe probe;
  RandomPhase phase(10);
  LagChain chain;
  const int out = SimDevice::IntegerAxis(-1200);
  int tried = 0;
  for (const DWORD start = GetTickCount(); tried < turns && GetTickCount() - start < budgetMs; ++tried) {
    game.Clear();
    run.sim.Control("pose 0 0 0 50 0");  // back inside the dead zone: W up
    if (tried) waitEvents(1);
    // Under Wine the foreground may fall to the desktop between turns; a player would click
    // back into the game.
    if (GetForegroundWindow() != game.hwnd() && !game.TakeKeyboard())
      std::printf("engaged-key-latency: the game window did not get the keyboard\n");
    phase.Wait();
    game.Clear();
    const double t0 = NowMs();
    run.sim.Control("pose 0 0 0 -1200 0");  // past the dead zone: W down
    const double answered = NowMs();
    if (waitEvents(1)) chain.Add(t0, answered, probe.ArrivalAfter(t0, out), NowMs() - t0);
  }
  Program::Click(manager, IDC_MANAGER_ENGAGE);
  DeleteFileA(file.c_str());
  chain.Print("engaged key", tried);
}

// A pose change at the simulator to the cursor's new position, over `changes` changes that
// swing the head a little left and right of the rest pose. Each change waits for the cursor
// to settle, then a random part of a period, so that changes fall anywhere between readings.
void MeasureCursorLatency(int changes, DWORD budgetMs) {
  Run run;
  if (!run.Start(100, "--still")) return;
  auto cursor = [] {
    POINT p = {};
    GetCursorPos(&p);
    return p;
  };
  auto settle = [&] {
    POINT last = cursor();
    for (DWORD still = GetTickCount(), start = still; GetTickCount() - still < 60 && GetTickCount() - start < 2000;) {
      Sleep(2);
      const POINT now = cursor();
      if (now.x != last.x || now.y != last.y) last = now, still = GetTickCount();
    }
  };
  SetCursorPos(640, 512);
  FloorProbe probe;
  RandomPhase phase(10);
  LagChain chain;
  int tried = 0;
  for (const DWORD start = GetTickCount(); tried < changes && GetTickCount() - start < budgetMs; ++tried) {
    settle();
    phase.Wait();
    const POINT before = cursor();
    const double rx = tried % 2 ? 0 : -60;
    const double t0 = NowMs();
    run.sim.Control(tried % 2 ? "pose 0 0 0 0 0" : "pose 0 0 0 -60 0");
    const double answered = NowMs();
    POINT now = before;
    while (now.x == before.x && now.y == before.y && NowMs() - t0 < 1000) now = cursor();
    const double moved = NowMs() - t0;
    if (now.x != before.x || now.y != before.y)
      chain.Add(t0, answered, probe.ArrivalAfter(t0, SimDevice::IntegerAxis(rx)), moved);
  }
  chain.Print("cursor", tried);
}

}  // namespace

// Sections by name ("cpu", "lag"); none given: all of them.
int main(int argc, char** argv) {
  auto wanted = [&](const std::string& section) {
    for (int i = 1; i < argc; ++i)
      if (section == argv[i]) return true;
    return argc < 2;
  };
  if (wanted("cpu")) {
    {
      Run run;
      if (!run.Start(100, "--still")) return 1;
      SetCursorPos(1200, 1000);  // dwell clicks land on nothing of ours
      Stretch(run, "idle-100Hz", 20);
    }
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
  }
  if (wanted("lag")) {
    MeasureCursorLatency(500, 90000);
    MeasureKeyLatency(200, 60000);
  }
  return 0;
}
