// The output engine against a recording sink: map assignment, dead zones, the output
// units with their latches and shared counters, the Power Command runner, mouselook with
// the freelook hold, and the hot keys.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "commands/engine.h"
#include "commands/key_table.h"
#include "tests/unit/recording_sink.h"

namespace {

int KeyNamed(const std::string& name) {
  for (int i = 0; i < kKeyCount; ++i)
    if (KeyIndexToName(i) == name) return i;
  return -1;
}

std::string KeyEvent(const std::string& name, bool down, bool legacy = false) {
  const int k = KeyNamed(name);
  return "K" + std::to_string(KeyIndexToVirtualKey(k)) + "/" + std::to_string(KeyIndexToKeyCode(k)) +
         (down ? "down" : "up") + (legacy ? "*" : "");
}

class EngineTest : public testing::Test {
 protected:
  EngineTest() {
    for (int m = 0; m < kMapCount; ++m) {
      commands[m] = std::make_unique<Command>();
      profile.maps[m] = commands[m].get();
      profile.deadZone[m] = 100;
    }
  }
  Command& Map(int m) { return *commands[m]; }
  void Engage(int32_t mode) {
    engine.SetMode(mode);
    engine.Prepare(profile, sink.StopRequest());
  }
  // One reading with only `axis` (0 x, 1 y, 2 z, 3 rx, 4 ry) deflected by v.
  void Read(int axis, int32_t v) {
    int32_t d[5] = {};
    d[axis] = v;
    engine.Render(d[0], d[1], d[2], d[3], d[4]);
  }
  std::string Outputs() const {  // everything but mouse motion
    std::string s;
    for (const auto& e : sink.events)
      if (e.rfind("move", 0) != 0) s += (s.empty() ? "" : " ") + e;
    return s;
  }

  RecordingSink sink;
  int recentres = 0;
  Engine engine{sink, [this] { ++recentres; }};
  EngineProfile profile;
  std::unique_ptr<Command> commands[kMapCount];
};

TEST_F(EngineTest, MapsFollowTheirAxesAndZeroIsAtRest) {
  Engage(kCommandMode);
  engine.Render(-500, 30, 40, -60, 70);
  EXPECT_EQ(engine.MapValue(0), -500);
  EXPECT_EQ(engine.MapValue(1), 0);
  EXPECT_EQ(engine.MapValue(10), -500);
  EXPECT_EQ(engine.MapValue(3), 30);
  EXPECT_EQ(engine.MapValue(13), 30);
  EXPECT_EQ(engine.MapValue(5), 40);
  EXPECT_EQ(engine.MapValue(6), -60);
  EXPECT_EQ(engine.MapValue(9), 70);
  engine.Render(0, 0, 0, 0, 0);  // exactly 0: both maps of each pair at rest
  for (int m = 0; m < kMapCount; ++m) EXPECT_EQ(engine.MapValue(m), 0) << m;
  engine.Render(1, 0, 0, 0, 0);
  EXPECT_EQ(engine.MapValue(0), 0);
  EXPECT_EQ(engine.MapValue(1), 1);
}

// The head coming back exactly to the centre lets go of what the axis's maps hold, on
// every axis and for any dead zone, a damaged negative one too.
TEST_F(EngineTest, HeadBackAtTheCentreLetsGo) {
  struct Case {
    int axis, map;
    int32_t deadZone, out;
  } cases[] = {{0, 0, 100, -500}, {0, 1, 100, 500}, {1, 3, 0, 300},    {2, 4, 100, -400},
               {3, 7, 100, 400},  {4, 8, 100, -400}, {0, 0, -5, -500}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "map " << c.map << " dead zone " << c.deadZone);
    Map(c.map).usesKeys = Map(c.map).usesButtons = 1;
    Map(c.map).keyAction = Map(c.map).buttonAction = kHold;
    Map(c.map).keys = {KeyNamed("W"), -1, -1, -1};
    Map(c.map).buttons[2] = 1;  // middle
    profile.deadZone[c.map] = c.deadZone;
    Engage(kCommandMode);
    Read(c.axis, c.out);
    Read(c.axis, c.out / 2);
    EXPECT_EQ(Outputs(), KeyEvent("W", true) + " Mdown");
    Read(c.axis, 0);
    EXPECT_EQ(Outputs(), KeyEvent("W", true) + " Mdown " + KeyEvent("W", false) + " Mup");
    Read(c.axis, 0);
    EXPECT_EQ(sink.events.size(), 4u) << "at rest nothing more: " << sink.Joined();
    *commands[c.map] = Command();
    profile.deadZone[c.map] = 100;
    sink = RecordingSink();
  }
}

TEST_F(EngineTest, ThresholdIsInsideAndOneMoreIsOutside) {
  Map(1).usesKeys = 1;
  Map(1).keys = {KeyNamed("D"), -1, -1, -1};
  Engage(kCommandMode);
  Read(0, 100);
  EXPECT_EQ(Outputs(), "");
  Read(0, 101);
  EXPECT_EQ(Outputs(), KeyEvent("D", true) + " " + KeyEvent("D", false));
}

TEST_F(EngineTest, TapIsASequenceOncePerExcursion) {
  Map(7).usesKeys = 1;
  Map(7).keys = {KeyNamed("Left Shift"), KeyNamed("W"), -1, -1};
  Engage(kCommandMode);
  for (int i = 0; i < 5; ++i) Read(3, 400);
  const std::string once = KeyEvent("Left Shift", true) + " " + KeyEvent("Left Shift", false) + " " +
                           KeyEvent("W", true) + " " + KeyEvent("W", false);
  EXPECT_EQ(Outputs(), once);
  Read(3, 50);
  Read(3, 400);
  EXPECT_EQ(Outputs(), once + " " + once);
}

TEST_F(EngineTest, ModesChooseTheMaps) {
  for (int m : {0, 10}) {
    Map(m).usesKeys = 1;
    Map(m).keys = {KeyNamed(m == 0 ? "A" : "B"), -1, -1, -1};
  }
  Engage(kMouselook);
  Read(0, -500);
  EXPECT_EQ(Outputs(), "") << "mouselook: no map at all";
  EXPECT_FALSE(sink.events.empty()) << "but mouse motion";
  sink.Clear();
  Read(0, 0);
  Engage(kMixedMode);
  Read(0, 50);
  Read(0, -500);
  EXPECT_EQ(Outputs(), KeyEvent("B", true) + " " + KeyEvent("B", false)) << "mixed: maps 10-15 only";
  sink.Clear();
  Engage(kCommandMode);
  Read(0, 50);
  Read(0, -500);
  EXPECT_EQ(Outputs(), KeyEvent("A", true) + " " + KeyEvent("A", false));
  for (const auto& e : sink.events) EXPECT_NE(e.rfind("move", 0), 0u) << "command mode moves nothing";
}

TEST_F(EngineTest, ToggleStartsWithKeyUps) {
  Map(2).usesKeys = 1;
  Map(2).keyAction = kToggle;
  Map(2).keys = {KeyNamed("C"), -1, -1, -1};
  Engage(kCommandMode);
  Read(1, -500);
  Read(1, -500);
  Read(1, 0);
  Read(1, 10);
  Read(1, -500);
  EXPECT_EQ(Outputs(), KeyEvent("C", false) + " " + KeyEvent("C", true));
}

TEST_F(EngineTest, TwoMapsHoldingLeftReleaseOnTheSecond) {
  for (int m : {0, 2}) {
    Map(m).usesButtons = 1;
    Map(m).buttonAction = kHold;
    Map(m).buttons[0] = 1;
  }
  Engage(kCommandMode);
  engine.Render(-500, -500, 0, 0, 0);
  EXPECT_EQ(Outputs(), "Ldown");
  engine.Render(10, -500, 0, 0, 0);  // map 0 back inside; map 2 still out
  EXPECT_EQ(Outputs(), "Ldown");
  engine.Render(0, 10, 0, 0, 0);
  EXPECT_EQ(Outputs(), "Ldown Lup");
}

// Disengaging lets go of everything held, once: a Hold key, a toggled-down key, a held
// button and the freelook key; afterwards the maps press afresh on their next excursion.
TEST_F(EngineTest, ReleaseAllLetsGoOfEverythingHeldOnce) {
  Map(0).usesKeys = 1;
  Map(0).keyAction = kHold;
  Map(0).keys = {KeyNamed("W"), -1, -1, -1};
  Map(2).usesKeys = 1;
  Map(2).keyAction = kToggle;
  Map(2).keys = {KeyNamed("C"), -1, -1, -1};
  Map(4).usesButtons = 1;
  Map(4).buttonAction = kHold;
  Map(4).buttons[1] = 1;  // right
  profile.freelookHold = KeyNamed("Left Alt");
  profile.mixedAxes = {EngineAxis{20, 7, 7}, EngineAxis{20, 7, 7}};
  Engage(kCommandMode);
  engine.Render(-500, -500, -500, 0, 0);  // the toggle's first excursion sends its key up
  engine.Render(-500, 10, -500, 0, 0);
  engine.Render(-500, -500, -500, 0, 0);  // and its second one down
  engine.SetMode(kMixedMode);
  engine.Render(0, 0, 0, 400, 0);  // panning: the freelook key goes down
  sink.Clear();
  engine.ReleaseAll();
  EXPECT_EQ(sink.Joined(), "Rup* " + KeyEvent("C", false, true) + " " + KeyEvent("W", false, true) + " " +
                               KeyEvent("Left Alt", false, true));
  sink.Clear();
  engine.ReleaseAll();
  EXPECT_EQ(sink.Joined(), "") << "a second release sends nothing";
  engine.SetMode(kCommandMode);
  engine.Render(10, 10, 10, 0, 0);
  engine.Render(-500, 0, 0, 0, 0);
  EXPECT_EQ(Outputs(), KeyEvent("W", true)) << "the Hold map presses again on its next excursion";
}

TEST_F(EngineTest, PulseRatesShareOneCounter) {
  Map(0).usesKeys = 1;
  Map(0).keyAction = kPulse;
  Map(0).keyPulseRate = 100;  // every second call
  Map(0).keys = {KeyNamed("A"), -1, -1, -1};
  Engage(kCommandMode);
  for (int i = 0; i < 6; ++i) Read(0, -500);
  EXPECT_EQ(sink.events.size(), 6u) << "calls 2, 4 and 6 tap: " << sink.Joined();
  sink.Clear();

  Map(0).keyPulseRate = 1;  // every 101st call
  int taps = 0;
  for (int i = 0; i < 202; ++i) {
    const size_t before = sink.events.size();
    Read(0, -500);
    if (sink.events.size() != before) ++taps;
  }
  EXPECT_EQ(taps, 2);

  // Two pulsing maps: one counter, so together they tap at the rate of one.
  Map(2).usesKeys = 1;
  Map(2).keyAction = kPulse;
  Map(2).keyPulseRate = 100;
  Map(2).keys = {KeyNamed("B"), -1, -1, -1};
  Map(0).keyPulseRate = 100;
  Engage(kCommandMode);
  sink.Clear();
  for (int i = 0; i < 4; ++i) engine.Render(-500, -500, 0, 0, 0);
  EXPECT_EQ(sink.events.size(), 8u) << sink.Joined();
}

TEST_F(EngineTest, WheelOnceAndRepeatedly) {
  Map(4).usesWheel = 1;
  Map(4).wheelMethod = 1;
  Map(4).wheelRate = 1;  // every second call
  Map(5).usesWheel = 1;
  Map(5).wheelDirection = 1;  // once, down
  Engage(kCommandMode);
  for (int i = 0; i < 6; ++i) Read(2, -500);
  EXPECT_EQ(Outputs(), "wheel120 wheel120 wheel120");
  sink.Clear();
  for (int i = 0; i < 3; ++i) Read(2, 500);
  EXPECT_EQ(Outputs(), "wheel-120");
}

TEST_F(EngineTest, PowerCommandTiming) {
  Command& c = Map(6);
  c.usesPowerCommand = 1;
  c.usesKeys = 1;  // ignored beside the Power Command
  c.powerCount = 2;
  c.powerType[0] = c.powerType[1] = kPowerKeypress;
  c.powerKeys[0] = {KeyNamed("Q"), -1, -1, -1};
  c.powerKeys[1] = {KeyNamed("E"), -1, -1, -1};
  c.powerDuration[0] = c.powerDuration[1] = 10;
  Engage(kCommandMode);
  Read(3, -500);
  // Entry 0 on pass 1, entry 1 on pass 3; the pass after the last start ends the run and
  // releases every key entry.
  EXPECT_EQ(Outputs(), KeyEvent("Q", true, true) + " " + KeyEvent("E", true, true) + " " + KeyEvent("Q", false, true) +
                           " " + KeyEvent("E", false, true));
  EXPECT_EQ(sink.sleptMs, 5 * 10) << "passes 0 to 4";
  Read(3, -500);
  EXPECT_EQ(sink.sleptMs, 50) << "once per excursion";
  Read(3, 0);
  Read(3, 10);
  Read(3, -500);
  EXPECT_EQ(sink.sleptMs, 100);
}

TEST_F(EngineTest, PowerCommandWithUnknownTypeStillEnds) {
  Command& c = Map(0);
  c.usesPowerCommand = 1;
  c.powerCount = 3;
  c.powerType = {};
  c.powerType[0] = 7;
  c.powerType[1] = kPowerWheelTick;
  c.powerType[2] = kPowerButtonClick;
  c.powerButtons[2][1] = 1;
  c.powerCount = 99;  // a damaged count: only the list's 50 slots exist
  for (int i = 3; i < kPowerEntries; ++i) c.powerType[i] = kPowerEmpty;
  Engage(kCommandMode);
  Read(0, -500);
  // The run's last pass releases every button entry again, also one released already.
  EXPECT_EQ(Outputs(), "wheel120* Rdown* Rup* Rup*");
}

TEST_F(EngineTest, MouselookPanningAndFreelookHold) {
  profile.freelookHold = 301;  // right button
  profile.mouselookAxes[0] = {20, 8, 10};  // X: zone 200, non-panning divisor 3, panning divisor 1
  profile.mouselookAxes[1] = {20, 11, 11};  // Y: everything off
  Engage(kMouselook);
  engine.Render(0, 0, 0, 90, 90);
  EXPECT_EQ(sink.Joined(), "move30,0 move30,0");
  sink.Clear();
  engine.Render(0, 0, 0, 300, 90);  // beyond the X panning point
  EXPECT_EQ(sink.Joined(), "Rdown move10,0 move10,0");
  sink.Clear();
  engine.Render(0, 0, 0, 100, 90);  // back inside
  EXPECT_EQ(sink.Joined(), "Rup move-66,0 move-66,0");
  sink.Clear();
  engine.Render(0, 0, 0, 100, 500);  // only Y beyond: X keeps its non-panning delta, Y is off
  EXPECT_EQ(sink.Joined(), "Rdown move0,0 move0,0");
  engine.ReleaseAll();
  EXPECT_EQ(sink.events.back(), "Rup*");
}

TEST_F(EngineTest, FreelookKeyAndDisabledNonPanning) {
  profile.freelookHold = KeyNamed("Left Alt");
  profile.mixedAxes[0] = {10, 11, 7};
  profile.mixedAxes[1] = {10, 11, 7};
  Engage(kMixedMode);
  engine.SetFreelookKey(KeyIndexToVirtualKey(profile.freelookHold), KeyIndexToKeyCode(profile.freelookHold));
  engine.Render(0, 0, 0, 50, 50);
  EXPECT_EQ(sink.Joined(), "move0,0 move0,0") << "sensitivity 11: nothing inside the zone";
  sink.Clear();
  engine.Render(0, 0, 0, 240, 0);  // panning divisor 4: 240 / 120
  EXPECT_EQ(sink.Joined(), KeyEvent("Left Alt", true) + " move2,0 move2,0");
  sink.Clear();
  engine.Render(0, 0, 0, 0, 100);  // both back inside the panning point: the key goes up
  EXPECT_EQ(sink.Joined(), KeyEvent("Left Alt", false) + " move0,0 move0,0");
  sink.Clear();
  engine.Render(0, 0, 0, 0, -100);
  EXPECT_EQ(sink.Joined(), "move0,0 move0,0") << "up once";
}

// Beyond the Y panning point the head's deflection itself turns the view, up or down by
// ry / (Y panning divisor x 30), while X inside its own point keeps its non-panning delta.
TEST_F(EngineTest, YPanningFollowsTheDeflection) {
  profile.mouselookAxes[0] = {20, 8, 10};  // X: zone 200, non-panning divisor 3, panning divisor 1
  profile.mouselookAxes[1] = {30, 9, 8};   // Y: zone 300, non-panning divisor 2, panning divisor 3
  struct Case {
    int32_t rx, ry;
    const char* move;
  } cases[] = {{0, 900, "move0,10"},    {0, -900, "move0,-10"},  {60, 1800, "move20,20"},
               {-60, -450, "move-20,-5"}, {600, -600, "move20,-6"}, {0, 300, "move0,150"}};
  for (const Case& c : cases) {
    Engage(kMouselook);
    engine.Render(0, 0, 0, 0, 0);
    sink.Clear();
    engine.Render(0, 0, 0, c.rx, c.ry);
    EXPECT_EQ(sink.Joined(), std::string(c.move) + " " + c.move) << c.rx << "," << c.ry;
  }
}

TEST_F(EngineTest, HotKeysSwitchRecentreAndPause) {
  const int nav = 0x70, comm = 0x71, mixed = 0x72, centre = 0x73, pause = 0x74;
  engine.SetHotKeys(pause, centre, nav, comm, mixed);
  Engage(kMouselook);
  sink.keyScript[comm] = {true, true, false};  // pressed, still down, up
  engine.Render(0, 0, 0, 0, 0);
  EXPECT_EQ(engine.Mode(), kCommandMode);
  sink.keyScript[mixed] = {true, false};
  engine.Render(0, 0, 0, 0, 0);
  EXPECT_EQ(engine.Mode(), kMixedMode);
  sink.keyScript[nav] = {true, false};
  engine.Render(0, 0, 0, 0, 0);
  EXPECT_EQ(engine.Mode(), kMouselook);

  sink.keyScript[centre] = {true, true};  // held: re-centres on every reading
  engine.Render(0, 0, 0, 0, 0);
  engine.Render(0, 0, 0, 0, 0);
  engine.Render(0, 0, 0, 0, 0);
  EXPECT_EQ(recentres, 2);

  // Press and release; inside the pause, press and release again to resume.
  sink.keyScript[pause] = {true, true, false, false, false, true, false};
  const int slept = sink.sleptMs;
  engine.Render(0, 0, 0, 0, 0);
  EXPECT_FALSE(engine.Paused());
  EXPECT_GE(sink.sleptMs - slept, 3) << "waited inside the pause";
  EXPECT_TRUE(sink.keyScript[pause].empty());
}

// A mode hot key lets go of everything the old mode holds before the new mode renders:
// Hold and Toggle keys, held buttons and the freelook key or button.
TEST_F(EngineTest, ModeHotKeysLetGoOfWhatTheOldModeHolds) {
  const int nav = 0x70, comm = 0x71, mixed = 0x72;
  Map(6).usesKeys = 1;  // Look left holds W
  Map(6).keyAction = kHold;
  Map(6).keys = {KeyNamed("W"), -1, -1, -1};
  Map(2).usesKeys = Map(2).usesButtons = 1;  // Move up toggles C and holds the left button
  Map(2).keyAction = kToggle;
  Map(2).buttonAction = kHold;
  Map(2).keys = {KeyNamed("C"), -1, -1, -1};
  Map(2).buttons[0] = 1;
  Map(12).usesKeys = 1;  // mixed Move up holds E
  Map(12).keyAction = kHold;
  Map(12).keys = {KeyNamed("E"), -1, -1, -1};
  struct Case {
    int32_t from;
    int32_t freelook;
    int hotKey;
    int32_t to;
    std::string released;
  } cases[] = {
      {kCommandMode, -1, nav, kMouselook, "Lup* " + KeyEvent("C", false, true) + " " + KeyEvent("W", false, true)},
      {kCommandMode, -1, mixed, kMixedMode, "Lup* " + KeyEvent("C", false, true) + " " + KeyEvent("W", false, true)},
      {kMouselook, KeyNamed("Left Alt"), comm, kCommandMode, KeyEvent("Left Alt", false, true)},
      {kMixedMode, 301, nav, kMouselook, "Rup* " + KeyEvent("E", false, true)},
      {kMixedMode, KeyNamed("Left Alt"), comm, kCommandMode,
       KeyEvent("E", false, true) + " " + KeyEvent("Left Alt", false, true)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.from << " to " << c.to);
    sink = RecordingSink();
    profile.freelookHold = c.freelook;
    engine.SetHotKeys(0, 0, nav, comm, mixed);
    Engage(c.from);
    // Move up out (the toggle's first excursion sends C up, its second down), Look left
    // out, and beyond the panning point.
    engine.Render(0, -500, 0, -2000, 0);
    engine.Render(0, 10, 0, -2000, 0);
    engine.Render(0, -500, 0, -2000, 0);
    sink.Clear();
    sink.keyScript[c.hotKey] = {true, false};
    engine.Render(0, -500, 0, -2000, 0);
    EXPECT_EQ(engine.Mode(), c.to);
    EXPECT_EQ(Outputs(), c.released);
  }
}

// Each engagement starts from a fresh engine: nothing the last one latched, counted or
// remembered (a tap already sent, the previous rotation) acts on the next.
TEST_F(EngineTest, EachEngagementStartsFresh) {
  Map(7).usesKeys = 1;  // Look right taps D
  Map(7).keys = {KeyNamed("D"), -1, -1, -1};
  Map(0).usesKeys = 1;  // Move left holds W
  Map(0).keyAction = kHold;
  Map(0).keys = {KeyNamed("W"), -1, -1, -1};
  profile.mouselookAxes[0] = {175, 8, 7};  // non-panning divisor 3
  struct Case {
    const char* what;
    int32_t mode;
    std::array<int32_t, 5> last, first;  // the last engagement's last reading, the next one's first
    std::string output;
  } cases[] = {
      {"a tap on the first excursion", kCommandMode, {0, 0, 0, 400, 0}, {0, 0, 0, 400, 0}, KeyEvent("D", true) + " " + KeyEvent("D", false)},
      {"at rest nothing", kCommandMode, {-500, 0, 0, 400, 0}, {0, 0, 0, 0, 0}, ""},
      {"no jump by the last rotation", kMouselook, {0, 0, 0, 900, 0}, {0, 0, 0, 30, 0}, "move10,0 move10,0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Engage(c.mode);
    const auto& l = c.last;
    engine.Render(l[0], l[1], l[2], l[3], l[4]);
    engine.ReleaseAll();  // disengaged
    Engage(c.mode);
    sink.Clear();
    const auto& f = c.first;
    engine.Render(f[0], f[1], f[2], f[3], f[4]);
    EXPECT_EQ(sink.Joined(), c.output);
  }
}

TEST_F(EngineTest, PowerCommandValuesBeyondTheEditorRunAsItsNearest) {
  Command& c = Map(6);
  c.usesPowerCommand = 1;
  c.powerCount = 2;
  c.powerType[0] = c.powerType[1] = kPowerKeypress;
  c.powerKeys[0] = {KeyNamed("Q"), -1, -1, -1};
  c.powerKeys[1] = {KeyNamed("E"), -1, -1, -1};
  Engage(kCommandMode);
  auto run = [&](int32_t value) {
    c.powerDelay[1] = c.powerDuration[0] = value;
    sink = RecordingSink();
    sink.stopAfterSleeps = 1000;  // far beyond the longest run the editor can make
    Read(3, 10);
    Read(3, -500);
    return sink.Joined() + " in " + std::to_string(sink.sleeps) + " passes";
  };
  for (auto [fromFile, editor] : {std::pair{INT_MAX, 100}, {101, 100}, {INT_MIN, 0}, {-1, 0}})
    EXPECT_EQ(run(fromFile), run(editor)) << fromFile;
}

TEST_F(EngineTest, EveryWaitEndsWhenOutputStops) {
  const int comm = 0x71, pause = 0x74;
  engine.SetHotKeys(pause, 0, 0, comm, 0);
  Command& c = Map(6);
  c.usesPowerCommand = 1;
  c.powerCount = 2;
  c.powerType[0] = c.powerType[1] = kPowerKeypress;
  c.powerKeys[0] = {KeyNamed("Q"), -1, -1, -1};
  c.powerKeys[1] = {KeyNamed("E"), -1, -1, -1};
  c.powerDuration[0] = c.powerDelay[1] = 100;
  struct Case {
    const char* wait;
    std::map<int, std::deque<bool>> keys;
    int32_t rx;
    std::string events;  // a Power Command lets go of what it started
  } cases[] = {{"power command", {}, -500, KeyEvent("Q", true, true) + " " + KeyEvent("Q", false, true)},
               {"hot key release", {{comm, std::deque<bool>(1000, true)}}, 0, ""},
               {"pause", {{pause, {true, false}}}, 0, ""}};
  for (const Case& w : cases) {
    sink = RecordingSink();
    sink.keyScript = w.keys;
    sink.stopAfterSleeps = 3;
    Engage(kCommandMode);
    Read(3, w.rx);
    EXPECT_EQ(sink.sleeps, 3) << w.wait;
    EXPECT_EQ(Outputs(), w.events) << w.wait;
    Read(3, 10);
  }
}

TEST_F(EngineTest, KeysTheEngineHoldsAreNoHotKeyPresses) {
  Map(0).usesKeys = 1;
  Map(0).keyAction = kHold;
  Map(0).keys = {KeyNamed("W"), -1, -1, -1};
  profile.freelookHold = 301;  // right button, held while panning
  const int w = KeyIndexToVirtualKey(KeyNamed("W")), rightButton = 0x02;
  struct Case {
    int32_t mode, pause, command, navigation;
  } cases[] = {{kCommandMode, 0, w, 0}, {kCommandMode, w, 0, 0}, {kMouselook, rightButton, 0, 0},
               {kMouselook, 0, 0, rightButton}};
  for (const Case& k : cases) {
    sink.stopAfterSleeps = 100;
    engine.SetHotKeys(k.pause, 0, k.navigation, k.command, 0);
    Engage(k.mode);
    engine.Render(-500, 0, 0, 2000, 0);  // map 0 out and beyond the panning point
    EXPECT_EQ(sink.sleeps, 0) << "no wait for a release only we could send";
    EXPECT_EQ(engine.Mode(), k.mode);
    EXPECT_FALSE(engine.Paused());
    engine.Render(10, 0, 0, 0, 0);
    sink = RecordingSink();
  }
}

TEST_F(EngineTest, AxisValuesFromAFileCannotOverflow) {
  struct Case {
    EngineAxis x;
    int32_t rx;
    const char* motion;
  } cases[] = {{{175, INT_MIN, 7}, 400, "move0,0"},   {{175, INT_MAX, 7}, 400, "move0,0"},
               {{175, 7, INT_MIN}, 2000, "move0,0"},  {{175, 7, INT_MAX}, 2000, "move0,0"},
               {{INT_MIN, 7, 7}, 400, "move3,0"},     {{INT_MAX, 7, 7}, 400, "move100,0"}};
  for (const Case& k : cases) {
    profile.mouselookAxes[0] = k.x;
    Engage(kMouselook);
    engine.Render(0, 0, 0, 0, 0);
    sink.Clear();
    engine.Render(0, 0, 0, k.rx, 0);
    EXPECT_EQ(sink.events.back(), k.motion) << k.x.panningPoint << " " << k.x.nonPanningSensitivity;
  }
}

TEST_F(EngineTest, FreelookHoldComesWhollyFromThePreparedProfile) {
  struct Case {
    int32_t before, after;
    std::string held;
  } cases[] = {{301, -7, ""},
               {301, 305, ""},
               {KeyNamed("Left Alt"), KeyNamed("W"), KeyEvent("W", true)},
               {300, 302, "Mdown"}};
  for (const Case& k : cases) {
    profile.freelookHold = k.before;
    Engage(kMouselook);
    engine.Render(0, 0, 0, 2000, 0);
    engine.Render(0, 0, 0, 0, 0);
    profile.freelookHold = k.after;
    Engage(kMouselook);
    sink.Clear();
    engine.Render(0, 0, 0, 2000, 0);
    EXPECT_EQ(Outputs(), k.held) << k.before << " then " << k.after;
  }
}

}  // namespace
