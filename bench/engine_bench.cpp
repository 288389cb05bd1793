// Engine::Render in command mode with ten maps active, into a sink that only counts: the
// cost of the engine itself per reading, and its allocations once it is running.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/alloc_counter.h"
#include "commands/engine.h"

namespace {

class CountingSink : public InputSink {
 public:
  long events = 0;
  void Button(MouseButton, bool, Via) override { ++events; }
  void Key(int, int, bool, Via) override { ++events; }
  void Wheel(int, Via) override { ++events; }
  void Move(int, int) override { ++events; }
  bool KeyDown(int) override { return false; }
  void Sleep(int) override {}
};

void BM_RenderCommandMode(benchmark::State& state) {
  CountingSink sink;
  Engine engine(sink, [] {});
  std::unique_ptr<Command> maps[kMapCount];
  EngineProfile profile;
  for (int m = 0; m < kMapCount; ++m) {
    maps[m] = std::make_unique<Command>();
    profile.maps[m] = maps[m].get();
    profile.deadZone[m] = 100;
  }
  // Ten maps with keys, buttons and wheel in every action, so each kind of unit works.
  for (int m = 0; m < 10; ++m) {
    Command& c = *maps[m];
    c.usesKeys = 1;
    c.keyAction = m % 4;
    c.keyPulseRate = 60;
    c.keys = {10 + m, 20 + m, -1, -1};
    c.usesButtons = m % 2;
    c.buttonAction = (m / 2) % 4;
    c.buttons[m % 3] = 1;
    c.usesWheel = m % 3 == 0;
    c.wheelMethod = 1;
    c.wheelRate = 5;
  }
  engine.SetHotKeys(0x70, 0, 0x71, 0x72, 0x73);
  engine.SetMode(kCommandMode);
  engine.Prepare(profile);
  int64_t i = 0;
  for (int warm = 0; warm < 1000; ++warm) engine.Render(-300, 300, -300, 300, -300);
  const long before = AllocationCount();
  for (auto _ : state) {
    // The head swings out and back, so latches set and clear.
    const int32_t v = (i / 20) % 2 ? 400 : -400;
    engine.Render(v, -v, v, -v, v);
    ++i;
  }
  state.counters["allocs/call"] = benchmark::Counter(double(AllocationCount() - before) / double(i));
  state.counters["events/call"] = benchmark::Counter(double(sink.events) / double(i + 1000));
}
BENCHMARK(BM_RenderCommandMode);

}  // namespace

BENCHMARK_MAIN();
