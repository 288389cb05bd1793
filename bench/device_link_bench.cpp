// How much the device link adds to a position read: GetPosition through CHxMouse against an
// unpaced simulator, beside raw pipe round trips carrying the same messages. Also counts
// heap allocations per read, which must stay at zero on this path.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "bench/alloc_counter.h"

#include "device/hx_mouse.h"
#include "device/ioctl.h"
#include "device/sim_wire.h"
#include "hxsim/win/sim_client.h"



namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kRound = std::chrono::milliseconds(1500);

struct Result {
  long calls = 0;
  double seconds = 0;
  long allocations = 0;
};

Result ThroughLink() {
  HxMouseLink<LinkVariant::Qmouse> link;
  Result r;
  if (!link.IsOpen()) return r;
  HxPosition p;
  long before = AllocationCount();
  auto start = Clock::now();
  while (Clock::now() - start < kRound) {
    for (int i = 0; i < 100; ++i) r.calls += link.GetPosition(p) ? 1 : 0;
  }
  r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  r.allocations = AllocationCount() - before;
  return r;
}

Result RawPipe(const std::string& pipe) {
  Result r;
  std::string path = "\\\\.\\pipe\\" + pipe;
  KernelHandle h(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  DWORD mode = PIPE_READMODE_MESSAGE;
  if (!h || !SetNamedPipeHandleState(h.Get(), &mode, nullptr, nullptr)) return r;
  auto roundTrip = [&](uint32_t code, uint32_t size) {
    simwire::Request request = {code, size};
    unsigned char reply[simwire::kMaxReply];
    DWORD n = 0;
    return TransactNamedPipe(h.Get(), &request, sizeof request, reply, sizeof reply, &n, nullptr) != 0;
  };
  if (!roundTrip(simwire::kHello, 0)) return r;
  auto start = Clock::now();
  while (Clock::now() - start < kRound) {
    for (int i = 0; i < 100; ++i) r.calls += roundTrip(hx::IOCTL_GET_POSITION, sizeof(HxPosition)) ? 1 : 0;
  }
  r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return r;
}

// CPU of this process while it reads positions from a simulator paced like the tracker:
// what the link alone costs a cursor thread, the floor under qmouse's own figure.
double PacedLinkCpuPercent(int seconds) {
  HxMouseLink<LinkVariant::Qmouse> link;
  if (!link.IsOpen()) return -1;
  HxPosition p;
  if (!link.GetPosition(p)) return -1;
  auto cpu = [] {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ticks = [](FILETIME f) { return (ULONGLONG{f.dwHighDateTime} << 32) | f.dwLowDateTime; };
    return (ticks(kernel) + ticks(user)) / 1e7;
  };
  const double cpu0 = cpu();
  auto start = Clock::now();
  while (Clock::now() - start < std::chrono::seconds(seconds))
    if (!link.GetPosition(p)) return -1;
  const double wall = std::chrono::duration<double>(Clock::now() - start).count();
  return 100 * (cpu() - cpu0) / wall;
}

}  // namespace

int main() {
  SimProcess sim;
  SimProcess::Options options;
  options.rateHz = 0;
  if (!sim.Start(options)) {
    std::fprintf(stderr, "device_link_bench: could not start hxsim\n");
    return 1;
  }
  _putenv(("HXSIM_PIPE=" + sim.PipeName()).c_str());

  // Alternate the two so that drift on the machine hits both alike.
  Result link, raw;
  for (int round = 0; round < 2; ++round) {
    Result a = RawPipe(sim.PipeName()), b = ThroughLink();
    raw.calls += a.calls, raw.seconds += a.seconds;
    link.calls += b.calls, link.seconds += b.seconds, link.allocations += b.allocations;
  }
  sim.Quit();

  SimProcess paced;
  if (!paced.Start(SimProcess::Options{})) {
    std::fprintf(stderr, "device_link_bench: could not start hxsim\n");
    return 1;
  }
  _putenv(("HXSIM_PIPE=" + paced.PipeName()).c_str());
  const double pacedCpu = PacedLinkCpuPercent(10);
  paced.Quit();

  if (link.calls == 0 || raw.calls == 0) {
    std::fprintf(stderr, "device_link_bench: no reads succeeded\n");
    return 1;
  }
  double linkRate = link.calls / link.seconds, rawRate = raw.calls / raw.seconds;
  std::printf("GetPosition through CHxMouse: %.0f calls/s (%ld calls)\n", linkRate, link.calls);
  std::printf("raw pipe round trips:         %.0f calls/s (%ld calls)\n", rawRate, raw.calls);
  std::printf("ratio link/raw:               %.3f\n", linkRate / rawRate);
  std::printf("heap allocations per call:    %.4f (%ld in all)\n", double(link.allocations) / link.calls,
              link.allocations);
  std::printf("reading at 100 Hz:            %.2f%% of one core (this process, 10 s)\n", pacedCpu);
  return 0;
}
