// The cursor thread's per-reading work: the cursor and gesture steps, and a whole normal
// pass against a desktop that answers at once. Heap allocations are counted: the pass must
// not allocate.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench/alloc_counter.h"

#include "qmouse/cursor_loop.h"



namespace {

class StillDesktop : public Desktop {
 public:
  Rect DesktopRect() override { return {0, 0, 1280, 1024}; }
  Rect WorkArea() override { return {0, 0, 1280, 994}; }
  Point CursorPos() override { return cursor; }
  void SetCursorPos(Point p) override { cursor = p; }
  WindowId Foreground() override { return 1; }
  WindowId WindowAt(Point) override { return 2; }
  bool IsWithin(WindowId w, WindowId a) override { return w == a; }
  Point cursor;
};

class QuietHost : public EmitterHost {
 public:
  bool RestartMouseTimer() override { return true; }
  void HideIndicators() override {}
  WindowId Panel() override { return 3; }
  void SetPanelLastForeground(WindowId) override {}
};

// A head sweeping back and forth, so every branch of the shaping gets its turn.
double Sweep(int64_t i, double amplitude) { return amplitude * ((i % 64) < 32 ? (i % 32) : 32 - (i % 32)) / 32.0; }

void BM_CursorAndGestureStep(benchmark::State& state) {
  const CursorSettings settings = {10, 10, 10, 10, 30, 30};
  const GesturePoints points = {10, 10, 10, 10};
  CursorMemory memory;
  GestureLatches latches;
  Point p = {640, 512};
  int64_t i = 0;
  const long before = AllocationCount();
  for (auto _ : state) {
    const double rx = Sweep(i, 40), x = Sweep(i + 7, 300) - 150;
    p = CursorStep({640, 512}, rx, -rx, settings, memory);
    GestureFired fired = GestureStep(x, -x, points, latches);
    benchmark::DoNotOptimize(p);
    benchmark::DoNotOptimize(fired);
    ++i;
  }
  state.counters["allocs/pass"] = benchmark::Counter(double(AllocationCount() - before) / double(i));
}
BENCHMARK(BM_CursorAndGestureStep);

void BM_NormalPass(benchmark::State& state) {
  AppState app;
  app.holdCursor = 0;
  app.settings.Set(Setting::Gestures, 1);
  StillDesktop desktop;
  QuietHost host;
  CursorLoop loop(app, desktop, host);
  loop.Start();
  int64_t i = 0;
  const long before = AllocationCount();
  for (auto _ : state) {
    const double rx = Sweep(i, 40);
    loop.NormalPass({Sweep(i + 7, 300) - 150, 0, 0, rx, -rx});
    ++i;
  }
  state.counters["allocs/pass"] = benchmark::Counter(double(AllocationCount() - before) / double(i));
}
BENCHMARK(BM_NormalPass);

}  // namespace

BENCHMARK_MAIN();
