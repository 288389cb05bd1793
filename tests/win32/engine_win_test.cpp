// The engine's Win32 output seen by a window, and an engaged cursor thread turning a
// simulated head turn into a key press in the focused window.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "commands/key_table.h"
#include "commands/win/win32_input.h"
#include "hxsim/win/sim_client.h"
#include "profiles/profile.h"
#include "qmouse/cursor_loop.h"
#include "qmouse/win/emitter.h"
#include "tests/e2e/probe.h"
#include "tests/unit/qmouse_fakes.h"

namespace {

Probe* FocusedProbe() {
  static Probe probe({100, 100, 600, 500});
  SetForegroundWindow(probe.hwnd());
  SetFocus(probe.hwnd());
  SetCursorPos(300, 300);
  probe.Pump(100);
  probe.Clear();
  return &probe;
}

TEST(Win32Sink, EventsArriveAsTheirMessages) {
  Probe& probe = *FocusedProbe();
  Win32InputSink sink;
  const int a = KeyCodeToKeyIndex(0x1E);
  sink.Key(KeyIndexToVirtualKey(a), KeyIndexToKeyCode(a), true);
  sink.Key(KeyIndexToVirtualKey(a), KeyIndexToKeyCode(a), false, Via::Legacy);
  sink.Wheel(-120);
  sink.Wheel(120, Via::Legacy);
  sink.Button(MouseButton::X1, true);
  sink.Button(MouseButton::X1, false, Via::Legacy);
  sink.Button(MouseButton::Right, true, Via::Legacy);
  sink.Button(MouseButton::Right, false);
  ASSERT_TRUE(probe.WaitEvents(8, 3000)) << probe.Joined();
  EXPECT_EQ(probe.Joined(), "Kdown 65/30 Kup 65/30 wheel -120 wheel 120 X1 Xup1 Rdown 200,200 Rup 200,200");
  sink.Move(7, -3);
  probe.Pump(100);
  POINT p;
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 307);
  EXPECT_EQ(p.y, 297);
}

TEST(EngagedEmitter, HeadTurnPressesTheProfilesKey) {
  Probe& probe = *FocusedProbe();
  SimProcess sim;
  SimProcess::Options options;
  ASSERT_TRUE(sim.Start(options));
  _putenv(("HXSIM_PIPE=" + sim.PipeName()).c_str());

  // A profile on disk, as the profile manager would load it: look right taps D.
  Profile written;
  written.operatingMode = kCommandMode;
  written.deadZone[7] = 200;
  written.Map(7)->usesKeys = 1;
  written.Map(7)->keys = {KeyCodeToKeyIndex(0x20), -1, -1, -1};
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  const std::string file = std::string(folder) + "engaged-test.cpf";
  ASSERT_TRUE(written.Save(file));
  ASSERT_TRUE(CurrentProfile().Load(file));
  DeleteFileA(file.c_str());

  AppState app;
  app.Engage(CurrentProfile());  // the manager hands over its copy
  Win32Desktop desktop;
  FakeHost host;
  FakeIndicators indicators;
  Win32InputSink input;
  RecordingSounds sound;
  Engine engine(input, [] {});
  std::atomic<int> code{1};
  std::thread emitter([&] {
    CHxMouse link;
    CursorLoop loop(app, desktop, host, {indicators, input, sound, [&]() -> Engine& { return engine; }});
    code = loop.Run(link);
  });
  probe.Pump(300);
  EXPECT_EQ(probe.Joined(), "");
  EXPECT_EQ(sim.Control("pose 0 0 0 150 0"), "ok");  // inside the dead zone
  probe.Pump(300);
  EXPECT_EQ(probe.Joined(), "");
  EXPECT_EQ(sim.Control("pose 0 0 0 350 0"), "ok");  // look right, past it
  EXPECT_TRUE(probe.WaitEvents(2, 3000));
  EXPECT_EQ(probe.Joined(), "Kdown 68/32 Kup 68/32");
  app.stopEmitter = 1;
  emitter.join();
  EXPECT_EQ(code.load(), 0);
  EXPECT_TRUE(sim.Quit());
}

}  // namespace
