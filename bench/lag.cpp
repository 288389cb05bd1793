#include "bench/lag.h"

#include <algorithm>
#include <cstdio>

#include "device/hx_mouse.h"
#include "device/win/monotonic_clock.h"

double NowMs() { return MonotonicMs(); }

void RandomPhase::Wait() {
  const double until = NowMs() + std::uniform_real_distribution<double>(0, period_)(random_);
  // Sleep for the whole milliseconds, then spin for the rest: under a millisecond.
  for (double left; (left = until - NowMs()) > 0;)
    if (left >= 2) Sleep(static_cast<DWORD>(left - 1));
}

FloorProbe::FloorProbe() {
  thread_ = std::thread([this] {
    CHxMouse link;
    HxPosition p;
    while (!stop_.load() && link.GetPosition(p)) {
      const double now = NowMs();
      std::lock_guard<std::mutex> lock(mutex_);
      arrivals_.push_back({now, p.RX});
      ++readings_;
    }
  });
}

FloorProbe::~FloorProbe() {
  stop_ = true;
  thread_.join();
}

double FloorProbe::ArrivalAfter(double sinceMs, int rx, DWORD timeoutMs) {
  const double deadline = NowMs() + timeoutMs;
  for (size_t seen = 0;;) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      // Readings before `sinceMs` are dropped: they cannot carry the change.
      for (; seen < arrivals_.size(); ++seen)
        if (arrivals_[seen].ms >= sinceMs && arrivals_[seen].rx == rx) return arrivals_[seen].ms - sinceMs;
      if (!arrivals_.empty() && arrivals_.back().ms < sinceMs) {
        arrivals_.clear();
        seen = 0;
      }
    }
    if (NowMs() > deadline) return -1;
    Sleep(1);
  }
}

void LagChain::Add(double t0, double answered, double floorMs, double outputMs) {
  control.push_back(answered - t0);
  output.push_back(outputMs);
  if (floorMs >= 0) floor.push_back(floorMs);
}

namespace {
struct Figures {
  double median = 0, p99 = 0;
};
Figures FiguresOf(std::vector<double> ms) {
  if (ms.empty()) return {};
  std::sort(ms.begin(), ms.end());
  return {ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 99 / 100)]};
}
}  // namespace

void LagChain::Print(const std::string& name, int tried) const {
  std::printf("%s: %zu of %d changes at random phase (reading period 10 ms)\n", name.c_str(), output.size(), tried);
  std::printf("  %s\n", Summary("control pipe answer", control).c_str());
  std::printf("  %s\n", Summary("floor: pose to reading at the probe", floor).c_str());
  std::printf("  %s\n", Summary("pose to " + name, output).c_str());
  if (!floor.empty() && !output.empty()) {
    const Figures f = FiguresOf(floor), o = FiguresOf(output);
    std::printf("  beyond the floor: median %+.2f ms, 99th percentile %+.2f ms\n", o.median - f.median, o.p99 - f.p99);
  }
  std::fflush(stdout);
}

std::string Summary(const std::string& name, const std::vector<double>& ms) {
  char line[160];
  if (ms.empty()) {
    std::snprintf(line, sizeof line, "%s: no samples", name.c_str());
  } else {
    const Figures f = FiguresOf(ms);
    std::snprintf(line, sizeof line, "%s: %zu samples, median %.2f ms, 99th percentile %.2f ms", name.c_str(),
                  ms.size(), f.median, f.p99);
  }
  return line;
}
