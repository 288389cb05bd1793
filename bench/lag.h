#pragma once
// Lag as a user sees it: pose changes written to the simulator at a random phase against
// the tracker's period, and beside each program's figure the floor, the time until a
// reading that carries the change arrives at a probe reading the simulator as the programs
// do. Shared by the benchmarks of every program and tracker source.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

// Now, in milliseconds of the performance counter.
double NowMs();

// Waits a random time of up to one tracker period (`periodMs`), so that the next pose
// change falls anywhere between two readings, not just after one.
class RandomPhase {
 public:
  explicit RandomPhase(double periodMs) : period_(periodMs) {}
  void Wait();

 private:
  double period_;
  std::mt19937 random_{20261208};
};

// Reads the simulator on a link of its own, as the programs do, and notes when each reading
// arrives and what rotation it carries.
class FloorProbe {
 public:
  FloorProbe();  // starts reading at once; the link is found as the programs find it
  ~FloorProbe();  // stops the reads and joins the thread (a read ends within one period)
  FloorProbe(const FloorProbe&) = delete;
  FloorProbe& operator=(const FloorProbe&) = delete;

  bool Reading() const { return readings_.load() > 0; }
  // Milliseconds from `sinceMs` until the first reading whose RX word is `rx` arrived
  // (SimDevice::IntegerAxis gives the word of a pose); waits for it up to `timeoutMs`.
  // Negative when none came.
  double ArrivalAfter(double sinceMs, int rx, DWORD timeoutMs = 1000);

 private:
  struct Arrival {
    double ms;
    int rx;
  };
  std::atomic<bool> stop_{false};
  std::atomic<long> readings_{0};
  std::mutex mutex_;
  std::vector<Arrival> arrivals_;
  std::thread thread_;
};

// The chain of pose changes, each in milliseconds from the moment it was written: the
// control pipe's answer, the reading that carries it at the floor probe, and the program's
// output (cursor move, key at the game's window).
struct LagChain {
  std::vector<double> control, floor, output;
  // `floorMs` negative: the probe saw no reading carrying the change.
  void Add(double t0, double answered, double floorMs, double outputMs);
  // "NAME: n of TRIED changes ..." and one line for each step, then how far the output's
  // median and 99th percentile lie beyond the floor's. The program's link and the probe's
  // are paced each on its own schedule, so only the distributions compare, not the changes
  // one by one.
  void Print(const std::string& name, int tried) const;
};

// "NAME: N samples, median M ms, 99th percentile P ms" (or "NAME: no samples").
std::string Summary(const std::string& name, const std::vector<double>& ms);
