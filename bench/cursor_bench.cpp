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
  WindowId ParentOf(WindowId) override { return 0; }
  bool IsOurs(WindowId) override { return false; }
  WindowId FindTopLevel(const char*) override { return 0; }
  bool WindowRect(WindowId, Rect& r) override {
    r = {20, 20, 140, 260};
    return true;
  }
  Point cursor;
};

class QuietHost : public EmitterHost {
 public:
  bool RestartMouseTimer() override { return true; }
  WindowId Panel() override { return 3; }
  bool PanelRect(Rect& r) override {
    r = {20, 20, 140, 260};
    return true;
  }
  void SetPanelLastForeground(WindowId) override {}
  WindowId SettingsSheet() override { return 0; }
  WindowId ConfirmBoxWindow() override { return 0; }
  void ShowPanel() override {}
  void MovePanel(Point) override {}
  void SetDwellAction(int32_t) override {}
  void HidePanel() override {}
  void LookedAway() override {}
};

// Indicators that only compute, as the real ones do before they paint.
class SilentIndicators : public DwellIndicators {
 public:
  void Show(Indicator, const Rect&, int32_t) override {}
  void Hide(Indicator) override {}
  int32_t Progress(Indicator, int32_t elapsed, int32_t dwellTime) override {
    return 58 - ProgressFill(58, elapsed, dwellTime);
  }
};

class NoInput : public InputSink {
 public:
  void Button(MouseButton, bool, Via) override {}
  void Key(int, int, bool, Via) override {}
  void Wheel(int, Via) override {}
  void Move(int, int) override {}
  bool KeyDown(int) override { return false; }
  void Sleep(int) override {}
};

class NoSound : public SoundPlayer {
 public:
  void Play(int32_t) override {}
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

// A head that holds still for a dwell, then moves on: every phase of the dwell in turn.
void BM_DwellStep(benchmark::State& state) {
  AppState app;
  app.holdCursor = 0;
  StillDesktop desktop;
  QuietHost host;
  SilentIndicators indicators;
  NoInput input;
  NoSound sound;
  ClickEmitter clicker(app, input, sound);
  Dwell dwell(app, desktop, host, indicators, clicker);
  const ScreenMeasures m = ScreenMeasures::Of({0, 0, 1280, 1024}, {0, 0, 1280, 994});
  const KeyboardInfo none;
  int64_t i = 0;
  const long before = AllocationCount();
  for (auto _ : state) {
    const int32_t spot = static_cast<int32_t>((i / 100) % 8) * 100 + 200;  // 100 readings per place
    dwell.Step({spot, 400}, 0, none, m, false);
    ++i;
  }
  state.counters["allocs/pass"] = benchmark::Counter(double(AllocationCount() - before) / double(i));
}
BENCHMARK(BM_DwellStep);

void BM_NormalPass(benchmark::State& state) {
  AppState app;
  app.holdCursor = 0;
  app.settings.Set(Setting::Gestures, 1);
  StillDesktop desktop;
  QuietHost host;
  SilentIndicators indicators;
  NoInput input;
  NoSound sound;
  Engine engine(input, [] {});
  CursorLoop loop(app, desktop, host, {indicators, input, sound, [&]() -> Engine& { return engine; }});
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
