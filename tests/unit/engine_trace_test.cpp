// The engine's trace as each program writes it, for the same readings: qmouse's lines, and
// hxprofiler's fewer ones with its own re-centre line. This program builds the engine as a
// tracing build does, so the per-reading lines are there to compare.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/engine.h"
#include "device/trace.h"
#include "tests/unit/recording_sink.h"

namespace {

struct Rendered {
  std::vector<std::string> lines;  // of the other maps, only map 0's probing line: it reads alike
  std::string output;
  int recentres = 0;
};

// A Hold map of key, button and wheel on map 0, the freelook key, the five hot keys pressed
// once each on the release reading, then a turn past the panning point in mixed mode.
Rendered Render(const EngineTraces& traces) {
  RecordingSink sink;
  Rendered run;
  Engine engine(sink, [&run] { ++run.recentres; }, traces);
  Command hold;
  hold.usesKeys = hold.usesButtons = hold.usesWheel = 1;
  hold.keyAction = hold.buttonAction = kHold;
  hold.keys = {10, -1, -1, -1};
  hold.buttons[0] = 1;
  EngineProfile profile;
  profile.maps[0] = &hold;
  profile.deadZone.fill(100);
  profile.freelookHold = 20;
  engine.SetMode(kCommandMode);
  engine.Prepare(profile);
  const int pause = 0x70, recentre = 0x71, navigation = 0x72, command = 0x73, mixed = 0x74;  // F1-F5
  engine.SetHotKeys(pause, recentre, navigation, command, mixed);

  TraceCapture capture;
  engine.Render(-500, 0, 0, 0, 0);
  for (int vk : {navigation, command, mixed}) sink.keyScript[vk] = {true, false};
  sink.keyScript[recentre] = {true};
  sink.keyScript[pause] = {true, false, true, false};  // pause, then resume
  engine.Render(1, 0, 0, 0, 0);
  engine.Render(0, 0, 0, 5000, 0);
  for (const std::string& line : capture.Lines())
    if (line.rfind("Probing map ", 0) != 0 || line == "Probing map 0...\n") run.lines.push_back(line);
  run.output = sink.Joined();
  return run;
}

TEST(EngineTraces, EachProgramWritesItsOwnLinesForTheSameOutput) {
  const std::vector<std::string> qmouse = {
      "Rendering command output\n", "Probing map 0...\n", "Pressing keys\n", "Key Held", "Pressing mouse buttons\n",
      "Scrolling wheel\n",
      "Rendering command output\n", "Probing map 0...\n", "Releasing keys\n", "Keys releaased\n",
      "Releasing buttons\n", "Left button released\n", "Tripping scroll engine\n", "Nav Hotkey state changed\n",
      "Comm Hotkey state changed\n", "Mixed Hotkey state changed\n",
      "Creating driver object from Engine::Render( ).\n", "Pause Hotkey state changed\n",
      "Rendering mouse move\n", "Pressing key... \n", "Rendering mixed output\n"};
  const std::vector<std::string> hxprofiler = {
      "Rendering command output\n", "Probing map 0...\n", "Pressing keys\n", "Key Held",
      "Rendering command output\n", "Probing map 0...\n", "Releasing keys\n",
      "<Engine/Render()>:  Creating CHxMouse object.\n",
      "Pressing key... \n", "Rendering mixed output\n"};
  const struct {
    const char* program;
    EngineTraces traces;
    const std::vector<std::string>& lines;
  } cases[] = {{"qmouse", QmouseEngineTraces(), qmouse}, {"hxprofiler", HxprofilerEngineTraces(), hxprofiler}};

  const Rendered reference = Render(QmouseEngineTraces());
  EXPECT_NE(reference.output.find("wheel"), std::string::npos) << reference.output;
  for (const auto& c : cases) {
    const Rendered run = Render(c.traces);
    EXPECT_EQ(run.lines, c.lines) << c.program;
    // Only the words differ: the same keys, buttons, wheel, motion, modes and re-centre.
    EXPECT_EQ(run.output, reference.output) << c.program;
    EXPECT_EQ(run.recentres, 1) << c.program;
  }
}

}  // namespace
