// The head-only way out: a look far past the screen's edge, held, leaves a game or a pause;
// the turns of play never do.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "hxsim/in_memory_port.h"
#include "qmouse/cursor_loop.h"
#include "qmouse/look_away.h"
#include "tests/unit/qmouse_fakes.h"

namespace {

// Readings every 10 ms, as the tracker paces them; returns the time (ms after the first
// reading) of the first firing, or -1, and counts the firings.
struct Held {
  int64_t firstMs = -1;
  int firings = 0;
};
Held Hold(LookAway& look, const Settings& s, double rx, double ry, int64_t fromMs, int64_t forMs) {
  Held held;
  for (int64_t t = 0; t <= forMs; t += 10) {
    if (!look.Step(s, rx, ry, fromMs + t)) continue;
    if (held.firstMs < 0) held.firstMs = t;
    ++held.firings;
  }
  return held;
}

// Settings with the look away on, that way, held that long.
struct On : Settings {
  On(int32_t direction, int32_t ms) {
    Set(Setting::LookAway, 1);
    Set(Setting::LookAwayDirection, direction);
    Set(Setting::LookAwayTime, ms);
  }
};

TEST(LookAway, EachDirectionFiresOnceAfterItsTime) {
  const double far = kLookAwayDeflection + 1;
  struct Case {
    int32_t direction, ms;
    double rx, ry;
    int64_t firesAt;  // -1: never
  } cases[] = {
      {kLookDown, 2000, 0, -far, 2000},  {kLookUp, 2000, 0, far, 2000},
      {kLookLeft, 1000, -far, 0, 1000},  {kLookRight, 5000, far, 0, 5000},
      {kLookDown, 2000, 0, far, -1},     // up is not down
      {kLookLeft, 2000, far, 0, -1},     {kLookRight, 2000, 0, far, -1},
      {kLookUp, 2000, -far, -far, -1},
      {kLookDown, 0, 0, -far, 1000},     // odd times are held to 1 to 5 seconds
      {kLookDown, 999999, 0, -far, 5000},
      {kLookDown, -5, 0, -far, 1000},
      {7, 2000, 0, -far, 2000},          // an odd direction is down
      {kLookDown, 2000, 0, -kLookAwayDeflection, -1},  // exactly at the limit is not past it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "direction " << c.direction << " ms " << c.ms << " at " << c.rx << "," << c.ry);
    LookAway look;
    const Held held = Hold(look, On(c.direction, c.ms), c.rx, c.ry, 5000, 8000);
    EXPECT_EQ(held.firstMs, c.firesAt);
    EXPECT_EQ(held.firings, c.firesAt < 0 ? 0 : 1) << "once per look away";
  }
}

TEST(LookAway, OffByDefaultAndAgainOnlyAfterComingBack) {
  LookAway look;
  Settings defaults;
  EXPECT_EQ(defaults.Get(Setting::LookAway), 0);
  EXPECT_EQ(defaults.Get(Setting::LookAwayDirection), kLookDown);
  EXPECT_EQ(defaults.Get(Setting::LookAwayTime), 2000);
  EXPECT_EQ(Hold(look, defaults, 0, -9000, 0, 10000).firings, 0);

  const On s(kLookDown, 2000);
  EXPECT_EQ(Hold(look, s, 0, -3000, 0, 1500).firings, 0);
  EXPECT_EQ(Hold(look, s, 0, 0, 1510, 0).firings, 0);  // back before the time: starts again
  EXPECT_EQ(Hold(look, s, 0, -3000, 1520, 1990).firings, 0);
  EXPECT_EQ(Hold(look, s, 0, -3000, 3520, 3000).firings, 1);
  EXPECT_EQ(Hold(look, s, 0, 0, 7000, 0).firings, 0);
  EXPECT_EQ(Hold(look, s, 0, -3000, 7010, 2000).firings, 1);
  // A reading that is not a number is no look away, and ends one.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(Hold(look, s, nan, nan, 10000, 3000).firings, 0);
}

// The game road's turns, and a head held at the largest dead zone a profile can set, never
// trigger it, whichever way it looks and for however long.
TEST(LookAway, PlayNeverReachesIt) {
  const double turns[][2] = {{-1200, 0}, {50, 0}, {-1300, 0}, {-1288, 0}, {1300, 0},  {0, -1300},
                             {0, 1300},  {-2000, 0}, {2000, 0}, {0, -2000}, {0, 2000}, {-2000, -2000}};
  for (int32_t direction : {kLookDown, kLookUp, kLookLeft, kLookRight}) {
    LookAway look;
    const On s(direction, 1000);
    int64_t t = 0;
    for (const auto& turn : turns) {
      EXPECT_EQ(Hold(look, s, turn[0], turn[1], t, 6000).firings, 0) << turn[0] << "," << turn[1];
      t += 6010;
    }
  }
}

// In the cursor thread: the main window is told, with a sound, while engaged or paused; a
// look away at other times does nothing.
class LookAwayLoop : public testing::Test, protected EmitterWorld {
 protected:
  int64_t now = 0;
  EmitterTools Clocked() {
    EmitterTools tools = Tools();
    tools.nowMs = [this] { return now += 10; };
    return tools;
  }
};

TEST_F(LookAwayLoop, PausedOrIdle) {
  app.settings.Set(Setting::LookAway, 1);
  CursorLoop loop(app, desktop, host, Clocked());
  loop.Start();
  app.holdCursor = 0;
  for (int i = 0; i < 300; ++i) loop.NormalPass({0, 0, 0, 0, -3000});
  EXPECT_EQ(host.lookedAway, 0) << "neither engaged nor paused: nothing to leave";
  for (int i = 0; i < 10; ++i) loop.NormalPass({0, 0, 0, 0, 0});
  app.paused = 1;
  app.holdCursor = 1;
  for (int i = 0; i < 150; ++i) loop.NormalPass({0, 0, 0, 0, -3000});
  EXPECT_EQ(host.lookedAway, 0) << "1.5 s is not yet 2";
  for (int i = 0; i < 100; ++i) loop.NormalPass({0, 0, 0, 0, -3000});
  EXPECT_EQ(host.lookedAway, 1);
  EXPECT_EQ(sounds.played, (std::vector<int32_t>{6}));
}

// Stops the loop when told, as the main window's disengaging would be seen.
class StoppingHost : public FakeHost {
 public:
  explicit StoppingHost(AppState& app) : app_(app) {}
  void LookedAway() override {
    FakeHost::LookedAway();
    app_.stopEmitter = 1;
  }

 private:
  AppState& app_;
};

TEST_F(LookAwayLoop, EngagedReadsBeyondWhatTheIntegerRecordCarries) {
  app.settings.Set(Setting::LookAway, 1);
  StoppingHost stopping(app);
  CursorLoop loop(app, desktop, stopping, Clocked());
  SimDevice device;
  device.SetPose({0, 0, 0, 0, -2600.0});  // down, past where the integer record stops at -2000
  CHxMouse link(std::make_unique<InMemoryPort>(device));
  loop.Start();
  Profile profile;
  profile.operatingMode = kCommandMode;
  app.Engage(profile);
  EXPECT_EQ(loop.Run(link), 0);
  EXPECT_EQ(stopping.lookedAway, 1);
  EXPECT_EQ(app.engaged.load(), 0) << "output ends before the main window is told";
  EXPECT_EQ(now, 2010) << "the set 2 s of readings, then at once";
  EXPECT_EQ(engine.MapValue(9), 2000) << "the engine still gets the integer record's deflection (look down)";
}

TEST(IntegerRecord, WordsOfTheFractionalRecord) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const HxPosition p = HxIntegerRecord({-0.9, 12.7, -2600, 70000, nan});
  EXPECT_EQ(p.X, 2000);
  EXPECT_EQ(p.Y, 2012);
  EXPECT_EQ(p.Z, 0);
  EXPECT_EQ(p.RX, 65535);
  EXPECT_EQ(p.RY, 0);
}

}  // namespace
