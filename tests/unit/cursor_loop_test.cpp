// The cursor thread's passes against a fake desktop and the in-process simulated tracker.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "hxsim/in_memory_port.h"
#include "qmouse/cursor_loop.h"
#include "commands/key_table.h"
#include "profiles/profile.h"
#include "tests/unit/qmouse_fakes.h"

namespace {

class CursorLoopTest : public testing::Test, protected EmitterWorld {
 protected:
  HxPositionDouble Reading(double rx, double ry, double x = 0, double z = 0) { return {x, 0, z, rx, ry}; }
  CursorLoop loop{app, desktop, host, Tools()};
};

TEST_F(CursorLoopTest, StartCentresAndMeasures) {
  desktop.desktop = {0, 0, 1279, 1023};
  loop.Start();
  EXPECT_EQ(desktop.cursor, (Point{639, 511}));
  EXPECT_EQ(loop.Last(), (Point{639, 511}));
  EXPECT_EQ(loop.Measures().w16, 79);
  EXPECT_EQ(loop.Measures().w53, 24);
  EXPECT_EQ(loop.Measures().h40, 25);
  EXPECT_EQ(loop.Measures().h12, 85);
}

TEST_F(CursorLoopTest, HeldHeadMovesNothingThenMovesByTheChange) {
  loop.Start();
  for (double rx : {0.0, 50.0, 100.0}) loop.NormalPass(Reading(rx, 0));  // splash: held
  EXPECT_EQ(desktop.cursor, (Point{640, 512}));
  EXPECT_EQ(desktop.sets, 1);  // only the centring
  app.holdCursor = 0;
  loop.NormalPass(Reading(100, 0));  // first sample primes
  EXPECT_EQ(desktop.sets, 1) << "a pass that does not move does not set";
  loop.NormalPass(Reading(104, 0));
  EXPECT_EQ(desktop.cursor, (Point{644, 512}));
  loop.NormalPass(Reading(112, 4));
  EXPECT_EQ(desktop.cursor, (Point{668, 508}));
}

TEST_F(CursorLoopTest, HoldEndingDuringThePassWaitsForARealReading) {
  loop.Start();
  desktop.midPass = [this] { app.holdCursor = 0; };  // the splash ends on the UI thread
  loop.NormalPass(Reading(100, 40));
  desktop.midPass = nullptr;
  EXPECT_EQ(desktop.cursor, (Point{640, 512}));
  loop.NormalPass(Reading(100, 40));  // primes on the head's real pose
  EXPECT_EQ(desktop.cursor, (Point{640, 512}));
  loop.NormalPass(Reading(104, 40));
  EXPECT_EQ(desktop.cursor, (Point{644, 512}));
}

TEST_F(CursorLoopTest, KeyboardIsSearchedEveryFewPassesAndFollowedOnceFound) {
  host.panel = 100;
  host.panelRect = {1100, 100, 1220, 340};
  loop.Start();
  for (int i = 0; i < 8; ++i) loop.NormalPass(Reading(0, 0));
  EXPECT_EQ(desktop.searches, 1);
  desktop.keyboard = 55;  // the user opens the on-screen keyboard
  desktop.rects[55] = {200, 600, 800, 900};
  for (int i = 0; i < 8; ++i) loop.NormalPass(Reading(0, 0));
  EXPECT_EQ(desktop.searches, 2);
  ASSERT_FALSE(host.panelMoves.empty()) << "the panel goes beside the keyboard once it is found";
  EXPECT_EQ(host.panelMoves.back(), (Point{800, 660}));  // right of it, bottoms level
  for (int i = 0; i < 20; ++i) loop.NormalPass(Reading(0, 0));
  EXPECT_EQ(desktop.searches, 2) << "a known keyboard is followed, not searched for";
  desktop.keyboard = 0;  // closed
  desktop.rects.erase(55);
  for (int i = 0; i < 9; ++i) loop.NormalPass(Reading(0, 0));
  EXPECT_EQ(desktop.searches, 3);
}

TEST_F(CursorLoopTest, WindowUnderTheCursorIsAskedOnlyOverOurWindows) {
  host.panel = 100;
  host.panelRect = {0, 0, 120, 240};
  loop.Start();
  loop.NormalPass(Reading(0, 0));
  EXPECT_EQ(desktop.windowAtCalls, 0);
  desktop.cursor = {119, 239};  // the panel's last pixel
  loop.NormalPass(Reading(0, 0));
  EXPECT_EQ(desktop.windowAtCalls, 1);
  desktop.cursor = {120, 100};  // just right of it
  loop.NormalPass(Reading(0, 0));
  EXPECT_EQ(desktop.windowAtCalls, 1);
  host.sheet = 200;  // the settings sheet may be anywhere: always asked
  loop.NormalPass(Reading(0, 0));
  EXPECT_EQ(desktop.windowAtCalls, 2);
  host.sheet = 0;
  host.panelRect = {};  // the panel's place unknown: asked
  loop.NormalPass(Reading(0, 0));
  EXPECT_EQ(desktop.windowAtCalls, 3);
  host.panelRect = {0, 0, 120, 240};
  desktop.cursor = {600, 600};
  loop.NormalPass(Reading(0, 0));
  EXPECT_EQ(desktop.windowAtCalls, 3);
  // In another mode a rest on any window of ours clicks left: it is asked everywhere.
  app.settings.Set(Setting::DwellCommand, kRightClick);
  loop.NormalPass(Reading(0, 0));
  EXPECT_EQ(desktop.windowAtCalls, 4);
}

TEST_F(CursorLoopTest, PhysicalMouseHoldsHeadControl) {
  loop.Start();
  app.holdCursor = 0;
  loop.NormalPass(Reading(0, 0));
  desktop.cursor = {10, 10};  // the user moves the mouse
  loop.NormalPass(Reading(50, 0));
  EXPECT_EQ(app.holdCursor.load(), 1);
  EXPECT_EQ(host.timerRestarts, 1);
  EXPECT_EQ(indicators.Count("hide H") + indicators.Count("hide V"), 2);
  EXPECT_EQ(desktop.cursor, (Point{10, 10}));
  EXPECT_EQ(loop.Last(), (Point{10, 10}));
  loop.NormalPass(Reading(80, 0));  // still held, mouse still: nothing restarts the timer
  EXPECT_EQ(host.timerRestarts, 1);
  app.holdCursor = 0;  // the timer ran out: the whole change during the hold counts
  loop.NormalPass(Reading(84, 0));
  EXPECT_EQ(desktop.cursor, (Point{10 + 5 * 84, 10}));
}

TEST_F(CursorLoopTest, ClippedMoveIsNotMistakenForTheMouse) {
  loop.Start();
  app.holdCursor = 0;
  loop.NormalPass(Reading(0, 0));
  loop.NormalPass(Reading(400, 0));  // 2000 px right: the system stops it at the edge
  EXPECT_EQ(desktop.cursor, (Point{1279, 512}));
  EXPECT_EQ(loop.Last(), (Point{1279, 512}));
  loop.NormalPass(Reading(400, 0));
  EXPECT_EQ(host.timerRestarts, 0);
  EXPECT_EQ(app.holdCursor.load(), 0);
}

// Where a set puts the cursor is known: a pass reads the cursor once, for the physical mouse,
// and asks for the clip rectangle only at its edge or when the cursor is not where it was put.
TEST_F(CursorLoopTest, MovingPassReadsTheCursorOnceAndAsksNothingElse) {
  loop.Start();
  app.holdCursor = 0;
  loop.NormalPass(Reading(0, 0));
  const int reads = desktop.reads, clipReads = desktop.clipReads;
  for (double rx : {4.0, 8.0, 400.0}) loop.NormalPass(Reading(rx, 0));  // the last to the screen's edge
  EXPECT_EQ(loop.Last(), (Point{1279, 512}));
  EXPECT_EQ(desktop.sets, 4);  // the centring, then one a pass
  EXPECT_EQ(desktop.reads - reads, 3);
  EXPECT_EQ(desktop.clipReads - clipReads, 0);
}

// A game confines the cursor (ClipCursor) while the head moves it: the system keeps it in the
// rectangle, the loop knows where it is, and none of it is taken for the user's hand.
TEST_F(CursorLoopTest, ClipRectangleOfAGameConfinesTheHeadAndIsNoMouse) {
  desktop.clip = {0, 0, 700, 1024};
  loop.Start();
  app.holdCursor = 0;
  loop.NormalPass(Reading(0, 0));
  loop.NormalPass(Reading(40, 0));  // 200 px right: the edge at 699
  EXPECT_EQ(desktop.cursor, (Point{699, 512}));
  EXPECT_EQ(loop.Last(), (Point{699, 512}));
  // Narrowed while the head rests: the system moves the cursor into it.
  desktop.clip = {0, 0, 600, 1024};
  desktop.cursor = ClampInto(desktop.clip, desktop.cursor);
  loop.NormalPass(Reading(40, 0));
  EXPECT_EQ(loop.Last(), (Point{599, 512}));
  loop.NormalPass(Reading(20, 0));  // 100 px left
  EXPECT_EQ(loop.Last(), (Point{499, 512}));
  // Narrowed around the cursor, which stays: the next move lands short of where the loop
  // expected, and the pass after learns why.
  desktop.clip = {0, 0, 550, 1024};
  loop.NormalPass(Reading(40, 0));  // 100 px right
  EXPECT_EQ(desktop.cursor, (Point{549, 512}));
  loop.NormalPass(Reading(40, 0));
  EXPECT_EQ(loop.Last(), (Point{549, 512}));
  EXPECT_EQ(host.timerRestarts, 0) << "no hand on the mouse";
  EXPECT_EQ(app.holdCursor.load(), 0);
  // Let go: at the edge it knew, the loop asks again and the head moves on.
  desktop.clip = {};
  loop.NormalPass(Reading(48, 0));  // +8: 24 px right
  EXPECT_EQ(desktop.cursor, (Point{573, 512}));
  EXPECT_EQ(loop.Last(), (Point{573, 512}));
  // A hand on the mouse is still one, clip rectangle or not.
  desktop.cursor = {300, 300};
  loop.NormalPass(Reading(48, 0));
  EXPECT_EQ(host.timerRestarts, 1);
  EXPECT_EQ(app.holdCursor.load(), 1);
}

TEST_F(CursorLoopTest, MouseMoveAfterMainWindowIsGoneStopsTheLoop) {
  loop.Start();
  host.windowAlive = false;
  desktop.cursor = {1, 1};
  loop.NormalPass(Reading(0, 0));
  EXPECT_EQ(app.stopEmitter.load(), 1);
}

TEST_F(CursorLoopTest, TaskbarEdgeAndDisplayChanges) {
  struct Case {
    Rect work;
    int32_t edge;
  } cases[] = {
      {{0, 30, 1280, 1024}, kTaskbarTop},
      {{0, 0, 1250, 1024}, kTaskbarRight},
      {{40, 0, 1280, 1024}, kTaskbarLeft},
      {{0, 0, 1280, 1024}, kTaskbarLeft},  // no taskbar: the edge stays as it was
      {{0, 0, 1280, 990}, kTaskbarBottom},
  };
  loop.Start();
  for (const Case& c : cases) {
    desktop.work = c.work;
    loop.NormalPass(Reading(0, 0));
    EXPECT_EQ(app.taskbarEdge.load(), c.edge);
  }
  desktop.desktop = {0, 0, 800, 600};
  loop.NormalPass(Reading(0, 0));
  EXPECT_EQ(loop.Measures().w16, 50);
  EXPECT_EQ(loop.Measures().h12, 50);
  EXPECT_EQ(desktop.cursor, (Point{640, 512})) << "a display change re-centres nothing";
}

TEST_F(CursorLoopTest, ForegroundTrackedOnlyAwayFromThePanel) {
  loop.Start();
  loop.NormalPass(Reading(0, 0));
  EXPECT_EQ(app.lastForeground.load(), 0u) << "no panel yet";
  host.panel = 500;
  desktop.parents[501] = 500;
  desktop.under = 9;
  desktop.foreground = 42;
  loop.NormalPass(Reading(0, 0));
  EXPECT_EQ(app.lastForeground.load(), 42u);
  EXPECT_EQ(host.panelForeground, 42u);
  desktop.under = 501;  // over a panel button
  desktop.foreground = 500;
  loop.NormalPass(Reading(0, 0));
  EXPECT_EQ(app.lastForeground.load(), 42u);
}

TEST_F(CursorLoopTest, GesturesChangeTheModeOrClick) {
  loop.Start();
  app.holdCursor = 0;
  app.settings.Set(Setting::Gestures, 1);
  app.settings.Set(Setting::LeftCommand, 2);   // Right Click
  app.settings.Set(Setting::RightType, 1);     // perform
  app.settings.Set(Setting::RightCommand, 7);  // Scroll
  app.settings.Set(Setting::ForwardCommand, 0);
  app.settings.Set(Setting::BackCommand, 9);   // no such mode
  app.settings.Set(Setting::SoundMode, 1);
  app.settings.Set(Setting::GlobalSound, 4);
  app.panelHidden = 1;

  loop.NormalPass({-1001, 0, 0, 0, 0});  // left
  EXPECT_EQ(app.settings.Get(Setting::DwellCommand), kRightClick);
  EXPECT_EQ(app.markedClickMode.load(), kRightClick);
  EXPECT_EQ(host.dwellActions, (std::vector<int32_t>{kRightClick}));
  EXPECT_EQ(sounds.played, (std::vector<int32_t>{4}));
  EXPECT_EQ(host.panelShows, 0) << "only No Click brings a hidden panel back";

  loop.NormalPass({1001, 0, 0, 0, 0});  // right: a middle click, no scroll mode
  EXPECT_EQ(input.Joined(), "Mdown Mup");
  EXPECT_EQ(app.scrollMode.load(), 0);

  loop.NormalPass({0, 0, -1001, 0, 0});  // forward: No Click
  EXPECT_EQ(app.settings.Get(Setting::DwellCommand), kNoClick);
  EXPECT_EQ(host.panelShows, 1);
  EXPECT_EQ(app.panelHidden.load(), 0);

  loop.NormalPass({0, 0, 1001, 0, 0});  // back: index 9 changes nothing but refreshes
  EXPECT_EQ(app.settings.Get(Setting::DwellCommand), kNoClick);
  EXPECT_EQ(host.dwellActions.back(), kNoClick);

  app.trayMenuOpen = 1;  // no gestures while the tray menu is open
  loop.NormalPass({0, 0, 0, 0, 0});
  loop.NormalPass({-1001, 0, 0, 0, 0});
  EXPECT_EQ(app.settings.Get(Setting::DwellCommand), kNoClick);
}

// Stops the loop once the engine has sent a key, so an engaged Run can end in a test.
class StoppingSink : public RecordingSink {
 public:
  explicit StoppingSink(AppState& app) : app_(app) {}
  void Key(int vk, int code, bool down, Via via) override {
    RecordingSink::Key(vk, code, down, via);
    app_.stopEmitter = 1;
  }

 private:
  AppState& app_;
};

TEST_F(CursorLoopTest, EngagedPassFeedsTheEngineCentredReadings) {
  Profile profile;
  profile.operatingMode = kCommandMode;
  profile.deadZone[0] = 100;
  profile.Map(0)->usesKeys = 1;
  profile.Map(0)->keys = {KeyCodeToKeyIndex(0x1E), -1, -1, -1};  // A
  StoppingSink sink(app);
  Engine engaged(sink, [] {});
  CursorLoop engagedLoop(app, desktop, host, {indicators, input, sounds, [&]() -> Engine& { return engaged; }});
  SimDevice device;
  device.SetPose({-500.0, 0, 0, 0, 0});
  CHxMouse link(std::make_unique<InMemoryPort>(device));
  engagedLoop.Start();
  app.Engage(profile);
  EXPECT_EQ(engagedLoop.Run(link), 0);
  EXPECT_EQ(sink.Joined(), "K65/30down K65/30up");
  EXPECT_EQ(engaged.MapValue(0), -500);
  EXPECT_EQ(engaged.Mode(), kCommandMode);
  EXPECT_EQ(host.panelHides, 1);
  EXPECT_EQ(indicators.Count("hide H"), 1);
  EXPECT_EQ(desktop.sets, 1) << "an engaged pass moves no cursor";
}

// The cursor thread's one engine serves engagement after engagement, each from a fresh
// state: the first mouselook move of the next one follows the head from the centre, not
// from where the last one left it.
TEST_F(CursorLoopTest, EachEngagementOfTheSharedEngineStartsFresh) {
  Profile profile;
  profile.operatingMode = kMouselook;
  profile.axis[kAxisMouselook][0] = {175, 8, 7};  // X: non-panning divisor 3
  struct StopAtMoveSink : RecordingSink {
    explicit StopAtMoveSink(AppState& app) : app_(app) {}
    void Move(int dx, int dy) override {
      RecordingSink::Move(dx, dy);
      app_.stopEmitter = 1;
    }
    AppState& app_;
  } sink(app);
  Engine shared(sink, [] {});
  CursorLoop engagedLoop(app, desktop, host, {indicators, input, sounds, [&]() -> Engine& { return shared; }});
  SimDevice device;
  CHxMouse link(std::make_unique<InMemoryPort>(device));
  engagedLoop.Start();
  for (double rx : {900.0, 30.0}) {
    device.SetPose({0, 0, 0, rx, 0});
    sink.Clear();
    app.stopEmitter = 0;
    app.Engage(profile);
    EXPECT_EQ(engagedLoop.Run(link), 0);
    app.engaged = 0;
  }
  EXPECT_EQ(sink.Joined(), "move10,0 move10,0");
}

// Plays the UI thread: a few sleeps into the engine's output, it raises one of the flags
// that end engaged output and unplugs the tracker, so that Run ends after the engine returns.
class FlagRaisingSink : public RecordingSink {
 public:
  std::function<void()> raise;
  void Sleep(int ms) override {
    RecordingSink::Sleep(ms);
    if (sleeps == 3) raise();
  }
};

TEST_F(CursorLoopTest, EngagedOutputEndsOnDisengageUnplugOrExit) {
  Profile profile;
  profile.operatingMode = kCommandMode;
  profile.deadZone[0] = 100;
  Command& c = *profile.Map(0);
  c.usesPowerCommand = 1;
  c.powerCount = 2;
  c.powerType[0] = c.powerType[1] = kPowerWheelTick;
  c.powerDelay[0] = c.powerDelay[1] = 100;  // 2 s of passes
  for (auto [flag, value] : {std::pair{&app.engaged, 0}, {&app.stopEmitter, 1}, {&app.quitting, 1}}) {
    SimDevice device;
    device.SetPose({-500.0, 0, 0, 0, 0});
    CHxMouse link(std::make_unique<InMemoryPort>(device));
    FlagRaisingSink sink;
    sink.raise = [&, flag = flag, value = value] {
      *flag = value;
      device.Unplug();
    };
    Engine engine(sink, [] {});
    CursorLoop engagedLoop(app, desktop, host, {indicators, input, sounds, [&]() -> Engine& { return engine; }});
    app.stopEmitter = app.quitting = 0;
    app.Engage(profile);
    engagedLoop.Run(link);
    EXPECT_EQ(sink.sleeps, 3) << "the engine returned as soon as the flag was up";
  }
}

// The windows load, clear and re-engage profiles while the cursor thread renders a turned
// head: the engine reads only the copy it was handed (a freed map would be a sanitizer
// report here), each new engagement lets go of the last one's keys, and disengaging
// leaves nothing held.
TEST_F(CursorLoopTest, EngineReadsItsOwnCopyWhileTheWindowsChangeProfiles) {
  Profile holdW, holdS;
  for (auto [p, key] : {std::pair{&holdW, 0x11}, {&holdS, 0x1F}}) {  // W, S by key code
    p->operatingMode = kCommandMode;
    p->deadZone[0] = 100;
    p->Map(0)->usesKeys = 1;
    p->Map(0)->keyAction = kHold;
    p->Map(0)->keys = {KeyCodeToKeyIndex(key), -1, -1, -1};
  }
  const Profile saved = CurrentProfile();
  SimDevice device;
  device.SetPose({-500.0, 0, 0, 0, 0});
  CHxMouse link(std::make_unique<InMemoryPort>(device));
  struct CountingSink : RecordingSink {
    std::atomic<int> downs{0};
    void Key(int vk, int code, bool down, Via via) override {
      RecordingSink::Key(vk, code, down, via);
      if (down) ++downs;
    }
  } sink;
  Engine engine(sink, [] {});
  CursorLoop engagedLoop(app, desktop, host, {indicators, input, sounds, [&]() -> Engine& { return engine; }});
  app.Engage(holdW);
  std::thread cursor([&] { engagedLoop.Run(link); });
  // The cursor thread is rendering before the windows start changing profiles under it.
  for (int waited = 0; sink.downs.load() == 0 && waited < 5000; ++waited)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  for (int i = 0; i < 300; ++i) {
    const Profile& next = i % 2 ? holdW : holdS;
    CurrentProfile() = next;  // a listing or a drop loads over the current profile
    if (i % 3 == 0) CurrentProfile().Clear();
    std::this_thread::sleep_for(std::chrono::microseconds(300));  // a few passes in between
    if (i % 5 == 0) app.engaged = 0;
    app.Engage(next);  // Launch and Engage
  }
  app.engaged = 0;
  app.stopEmitter = 1;  // leaving the loop ends engaged output like a disengaged pass does
  cursor.join();
  CurrentProfile() = saved;
  int downs = 0, ups = 0;
  for (const std::string& e : sink.events) (e.find("down") != std::string::npos ? downs : ups)++;
  EXPECT_GT(downs, 0) << "the engine never rendered";
  EXPECT_EQ(downs, ups) << sink.Joined().substr(0, 200);
  EXPECT_FALSE(sink.KeyDown(0x57));
  EXPECT_FALSE(sink.KeyDown(0x53));
}

TEST_F(CursorLoopTest, RunEndsOnStopOrOnAFailedRead) {
  SimDevice device;
  {
    CHxMouse link(std::make_unique<InMemoryPort>(device));
    app.stopEmitter = 1;
    app.emitterRunning = 1;
    EXPECT_EQ(loop.Run(link), 0);
    EXPECT_EQ(app.emitterRunning.load(), 1) << "the stopper owns the flag";
  }
  app.stopEmitter = 0;
  ASSERT_TRUE(device.SetFailing("IOCTL_GET_FLOAD_POSITION", true));
  CHxMouse link(std::make_unique<InMemoryPort>(device));
  device.TakeLog();
  EXPECT_EQ(loop.Run(link), -1);
  EXPECT_EQ(app.stopEmitter.load(), 1);
  EXPECT_EQ(app.emitterRunning.load(), 0) << "an arrival must be able to start a new thread";
  EXPECT_EQ(device.TakeLog(), "2:IOCTL_GET_FLOAD_POSITION,close");
}

// A dwell drag keeps its button down between two dwells; the cursor thread's end, stopped or
// on a failed read, lets go of it, so no program's end leaves the button held.
TEST_F(CursorLoopTest, EndingLetsGoOfADraggedButton) {
  const struct {
    std::atomic<int32_t>* drag;
    bool readFails;
    const char* events;
  } cases[] = {{&app.dragLeft, false, "Lup"}, {&app.dragRight, false, "Rup"}, {&app.dragLeft, true, "Lup"},
               {nullptr, false, ""}};
  for (const auto& c : cases) {
    SimDevice device;
    if (c.readFails) ASSERT_TRUE(device.SetFailing("IOCTL_GET_FLOAD_POSITION", true));
    CHxMouse link(std::make_unique<InMemoryPort>(device));
    input.Clear();
    if (c.drag) *c.drag = 1;  // pressed by the dwell before
    app.stopEmitter = c.readFails ? 0 : 1;
    loop.Run(link);
    EXPECT_EQ(input.Joined(), c.events);
    EXPECT_EQ(app.dragLeft.load() + app.dragRight.load(), 0);
  }
}

TEST_F(CursorLoopTest, NoTrackerEndsAtOnce) {
  SimDevice device;
  device.Unplug();
  CHxMouse link(std::make_unique<InMemoryPort>(device));
  app.emitterRunning = 1;
  EXPECT_EQ(loop.Run(link), -1);
  EXPECT_EQ(app.emitterRunning.load(), 0);
}

}  // namespace
