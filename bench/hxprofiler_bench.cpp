// hxprofiler under Wine at 100 Hz, engaged with a ten-map command profile: its CPU beside
// qmouse's, both engaged in the same run (read from the host between the begin / end lines,
// see tools/bench), and the time from a pose past the dead zone to the key at a probe, at
// random phase beside its floor.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/engage.h"
#include "bench/lag.h"
#include "commands/key_table.h"
#include "hxsim/sim_device.h"
#include "hxsim/win/sim_client.h"
#include "profiles/profile.h"
#include "resources/hxprofiler/resource.h"
#include "resources/qmouse/resource.h"
#include "tests/e2e/probe.h"
#include "tests/e2e/program.h"

namespace {

constexpr char kFolder[] = "C:\\Program Files\\Quellan Mouse";

int KeyIndexOf(int virtualKey) {
  for (int k = 0; k <= 100; ++k)
    if (KeyIndexToVirtualKey(k) == virtualKey) return k;
  return -1;
}

// The splash's dialog stays qmouse's main window after it hides, so only managers must show.
HWND DialogWith(const Program& program, int id, bool visible = true) {
  for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "#32770", nullptr));) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == program.Id() && GetDlgItem(w, id) && (!visible || IsWindowVisible(w))) return w;
  }
  return nullptr;
}

// Ten maps, each holding a key of its own; "Look left" (map 6) holds W.
bool WriteProfile(const std::string& file) {
  CreateDirectoryA("C:\\Program Files", nullptr);
  CreateDirectoryA(kFolder, nullptr);
  Profile bench;
  bench.operatingMode = 1;
  const char keys[] = "QERTYUWIOP";
  for (int m = 0; m < 10; ++m) {
    Command& c = *bench.Map(m);
    c.usesKeys = 1;
    c.keyAction = 1;  // Hold
    c.keys = {KeyIndexOf(keys[m]), -1, -1, -1};
  }
  return bench.Save(file);
}

bool Pose(SimProcess& sim, double rx) {
  char line[96];
  std::snprintf(line, sizeof line, "pose 0 0 0 %g 0", rx);
  return sim.Control(line) == "ok";
}

// Dispatches what has arrived, waking as soon as anything does: the figures are not
// rounded up to a polling step.
void PumpOnce() {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

}  // namespace

int main() {
  // Copied at once: _putenv below may move the environment these point into.
  const char* hxprofilerEnv = std::getenv("HXPROFILER_EXE");
  const char* qmouseEnv = std::getenv("QMOUSE_EXE");
  const std::string hxprofilerExe = hxprofilerEnv ? hxprofilerEnv : "", qmouseExe = qmouseEnv ? qmouseEnv : "";
  const std::string file = std::string(kFolder) + "\\Bench.cpf";
  SimProcess sim;
  SimProcess::Options options;
  options.rateHz = 100;
  if (hxprofilerExe.empty() || qmouseExe.empty() || !WriteProfile(file) || !sim.Start(options)) {
    std::fprintf(stderr, "hxprofiler_bench: no profile, hxsim or programs (HXPROFILER_EXE, QMOUSE_EXE, HXSIM_EXE)\n");
    return 1;
  }
  _putenv(("HXSIM_PIPE=" + sim.PipeName()).c_str());
  Probe game({100, 100, 500, 400});

  Program qmouse, hxprofiler;
  HWND qmouseManager = nullptr, hxprofilerWindow = nullptr;
  bool ready = qmouse.Start(WindowsPath(qmouseExe));
  if (ready) {
    Sleep(4000);  // past the splash: head control is live
    PostMessageA(DialogWith(qmouse, IDC_SPLASH_PICTURE, false), WM_COMMAND, ID_TRAY_GAMEOPTIONS, 0);
    ready = WaitFor([&] { return (qmouseManager = DialogWith(qmouse, IDC_MANAGER_ENGAGE)) != nullptr; }, 5000) &&
            SelectAndEngage(qmouseManager, "Bench");
  }
  ready = ready && hxprofiler.Start(WindowsPath(hxprofilerExe)) &&
          WaitFor([&] { return (hxprofilerWindow = DialogWith(hxprofiler, IDC_JOYSTICK)) != nullptr; }, 5000) &&
          SelectAndEngage(hxprofilerWindow, "Bench");
  if (!ready) {
    std::printf("hxprofiler-bench: could not engage both programs (qmouse's manager %s, hxprofiler's window %s)\n",
                qmouseManager ? WindowText(GetDlgItem(qmouseManager, IDC_MANAGER_ENGAGE)).c_str() : "missing",
                hxprofilerWindow ? WindowText(GetDlgItem(hxprofilerWindow, IDC_MANAGER_ENGAGE)).c_str() : "missing");
    qmouse.Kill();
    hxprofiler.Kill();
    DeleteFileA(file.c_str());
    return 1;
  }
  std::fflush(stdout);
  std::printf("begin engaged-100Hz-ten-maps\n");
  std::fflush(stdout);
  Sleep(10000);
  std::printf("end engaged-100Hz-ten-maps\n");
  std::fflush(stdout);

  // qmouse lets go so that only hxprofiler's keys reach the probe.
  Program::Click(qmouseManager, IDC_MANAGER_ENGAGE);
  game.TakeKeyboard();
  // Every wait is bounded, the whole measurement too: on a busy machine it prints what it
  // has when its time is up. `event` is "Kdown" or "Kup".
  auto waitKey = [&](const std::string& event, DWORD timeoutMs) {
    const std::string wanted = event + " " + std::to_string('W');
    const double start = NowMs();
    for (;;) {
      for (const std::string& e : game.Events())
        if (e.rfind(wanted, 0) == 0) return true;
      if (NowMs() - start > timeoutMs) return false;
      PumpOnce();
    }
  };
  FloorProbe probe;
  RandomPhase phase(10);
  LagChain chain;
  const int out = SimDevice::IntegerAxis(-1200);
  int tried = 0;
  for (const DWORD start = GetTickCount(); tried < 200 && GetTickCount() - start < 60000; ++tried) {
    game.Clear();
    Pose(sim, 50);  // back inside the dead zone: W goes up
    if (tried) waitKey("Kup", 1000);
    game.Clear();
    phase.Wait();
    const double t0 = NowMs();
    Pose(sim, -1200);
    const double answered = NowMs();
    if (waitKey("Kdown", 1000)) chain.Add(t0, answered, probe.ArrivalAfter(t0, out), NowMs() - t0);
  }
  chain.Print("hxprofiler key", tried);
  Program::Click(hxprofilerWindow, IDC_MANAGER_ENGAGE);
  qmouse.Kill();
  hxprofiler.Kill();
  sim.Quit();
  DeleteFileA(file.c_str());
  return 0;
}
