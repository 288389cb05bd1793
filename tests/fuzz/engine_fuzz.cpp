// The output engine on arbitrary profiles, hot keys and readings. The sink's key state
// follows what the engine injects, as the system's does, and the stop request comes up
// after a bounded number of sleeps in each Render: a Render that goes on sleeping after it
// makes the sink throw, which ends the run as a crash. Sanitizers watch the arithmetic.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "commands/engine.h"
#include "commands/key_table.h"
#include "tests/unit/recording_sink.h"

namespace {

// Mostly values near the editor's (key indices, buttons 300-304, small rates), some anything.
int32_t Value(FuzzedDataProvider& in) {
  return in.ConsumeBool() ? in.ConsumeIntegralInRange<int32_t>(-2, 305) : in.ConsumeIntegral<int32_t>();
}

void FillCommand(FuzzedDataProvider& in, Command& c) {
  for (int32_t* f : {&c.usesKeys, &c.usesButtons, &c.usesWheel, &c.usesPowerCommand, &c.keyAction, &c.keyPulseRate,
                     &c.buttonAction, &c.buttonPulseRate, &c.wheelDirection, &c.wheelMethod, &c.wheelRate,
                     &c.powerCount})
    *f = Value(in);
  for (int32_t& k : c.keys) k = Value(in);
  for (int32_t& b : c.buttons) b = Value(in);
  // A few entries; the rest stay empty, as a count past them may find them.
  for (int e = 0, entries = in.ConsumeIntegralInRange(0, 4); e < entries; ++e) {
    for (int32_t* f : {&c.powerType[e], &c.powerWheelDirection[e], &c.powerDelay[e], &c.powerDuration[e]})
      *f = Value(in);
    for (int32_t& k : c.powerKeys[e]) k = Value(in);
    for (int32_t& b : c.powerButtons[e]) b = Value(in);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The profile and the session each read their own half, so that a short input still renders.
  FuzzedDataProvider setup(data, size / 2), in(data + size / 2, size - size / 2);
  std::vector<Command> commands(kMapCount);
  EngineProfile profile;
  for (int m = 0; m < kMapCount; ++m) {
    if (setup.ConsumeBool()) FillCommand(setup, commands[m]);
    profile.maps[m] = &commands[m];
    profile.deadZone[m] = Value(setup);
  }
  for (auto* axes : {&profile.mouselookAxes, &profile.mixedAxes})
    for (EngineAxis& a : *axes) a = {Value(setup), Value(setup), Value(setup)};
  profile.freelookHold = Value(setup);

  RecordingSink sink;
  Engine engine(sink, [] {});
  int hotKeys[5];
  for (int& k : hotKeys) k = KeyIndexToVirtualKey(Value(setup));
  engine.SetHotKeys(hotKeys[0], hotKeys[1], hotKeys[2], hotKeys[3], hotKeys[4]);
  for (int readings = 0; readings < 64 && in.remaining_bytes() > 0; ++readings) {
    if (readings == 0 || in.ConsumeIntegralInRange(0, 15) == 0) {  // engage again, maybe in another mode
      engine.SetMode(Value(in));
      engine.Prepare(profile, sink.StopRequest());
    }
    // Someone presses a hot key now and then.
    if (in.ConsumeBool()) {
      auto& script = sink.keyScript[hotKeys[in.ConsumeIntegralInRange(0, 4)]];
      for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n) script.push_back(in.ConsumeBool());
    }
    sink.stopAfterSleeps = sink.sleeps + in.ConsumeIntegralInRange(0, 400);
    int32_t d[5];
    for (int32_t& v : d) v = in.ConsumeBool() ? in.ConsumeIntegralInRange(-2000, 63535) : in.ConsumeIntegral<int32_t>();
    engine.Render(d[0], d[1], d[2], d[3], d[4]);
    sink.Clear();
  }
  engine.ReleaseAll();
  return 0;
}
