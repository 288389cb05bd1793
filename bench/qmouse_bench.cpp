// qmouse as a whole under Wine: cursor passes per second against a tracker paced at 100 Hz
// and against an unpaced one. Wine does not report another process's CPU times, so each
// measured stretch is framed by "begin NAME" / "end NAME" lines, and tools/bench reads the
// CPU of the qmouse process from the host between them.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "hxsim/win/sim_client.h"
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

void Measure(const char* name, int rateHz, int seconds) {
  Run run;
  if (!run.Start(rateHz)) {
    std::fprintf(stderr, "qmouse_bench: could not start hxsim or qmouse (QMOUSE_EXE, HXSIM_EXE)\n");
    std::exit(1);
  }
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

}  // namespace

int main() {
  Measure("paced-100Hz", 100, 20);
  Measure("unpaced", 0, 5);
  return 0;
}
