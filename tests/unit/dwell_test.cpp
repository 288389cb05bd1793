// Dwell clicking, the click emitter, indicator and panel placement, and gestures that act.
#include <gtest/gtest.h>

#include "qmouse/cursor_loop.h"
#include "qmouse/dwell.h"
#include "qmouse/tray_modes.h"
#include "tests/unit/qmouse_fakes.h"

namespace {

class DwellTest : public testing::Test, protected EmitterWorld {
 protected:
  DwellTest() {
    app.holdCursor = 0;
    measures = ScreenMeasures::Of({0, 0, 1280, 1024}, {0, 0, 1280, 994});
  }
  // Passes with the cursor at `p`; returns the pass (1-based) of the first click, or 0.
  int Hold(Point p, int passes) {
    int first = 0;
    for (int i = 1; i <= passes; ++i) {
      const size_t before = input.events.size();
      dwell.Step(p, desktop.under, keyboard, measures, false);
      if (input.events.size() != before && first == 0) first = i;
    }
    return first;
  }
  // A dwell with state and input of its own, for one case of a table, with one setting set.
  struct Fresh {
    Fresh(DwellTest& t, Setting setting, int32_t value)
        : emitter{app, in, t.sounds}, dwell{app, t.desktop, t.host, t.indicators, emitter} {
      app.holdCursor = 0;
      app.settings.Set(setting, value);
    }
    AppState app;
    RecordingInput in;
    ClickEmitter emitter;
    Dwell dwell;
  };
  ClickEmitter clicker{app, input, sounds};
  Dwell dwell{app, desktop, host, indicators, clicker};
  KeyboardInfo keyboard;
  ScreenMeasures measures;
};

TEST_F(DwellTest, IndicatorAfterHoverThenClickTwentyThreeReadingsOn) {
  dwell.Step({500, 500}, 0, keyboard, measures, false);  // the anchor comes to the cursor
  for (int i = 1; i <= 50; ++i) dwell.Step({500, 500}, 0, keyboard, measures, false);
  EXPECT_TRUE(indicators.events.empty()) << "nothing shows during the hover time";
  dwell.Step({500, 500}, 0, keyboard, measures, false);  // 51st reading inside the zone
  ASSERT_EQ(indicators.events.size(), 1u);
  EXPECT_EQ(indicators.events[0], "show H");
  EXPECT_EQ(Hold({500, 500}, 21), 0) << "e = 2 .. 22 still fills";
  EXPECT_EQ(Hold({500, 500}, 1), 1) << "e = 23 clicks";
  EXPECT_EQ(input.Joined(), "Ldown Lup");
  EXPECT_EQ(indicators.events.back(), "hide H");
}

// The click comes when at most one pixel of the 58-pixel bar is left: with dwell times of
// 58 and more the bar passes through 57 and clicks there, a reading before it would be full.
TEST_F(DwellTest, ClicksWithOnePixelOfTheBarLeft) {
  struct Case {
    int32_t dwellTime, readingsAfterShow;
  } cases[] = {{0, 1}, {28, 17}, {50, 23}, {58, 38}, {200, 38}};
  for (const Case& c : cases) {
    Fresh f(*this, Setting::DwellTime, c.dwellTime);
    f.dwell.Step({500, 500}, 0, keyboard, measures, false);  // the anchor comes to the cursor
    int clickedAfterShow = 0;
    for (int i = 1; i <= 300 && f.in.events.empty(); ++i) {
      f.dwell.Step({500, 500}, 0, keyboard, measures, false);
      clickedAfterShow = i - f.app.settings.Get(Setting::HoverTime);
    }
    EXPECT_EQ(f.in.Joined(), "Ldown Lup") << c.dwellTime;
    EXPECT_EQ(clickedAfterShow, c.readingsAfterShow) << c.dwellTime;
  }
}

TEST_F(DwellTest, OneClickPerStayUnlessRepeaterOn) {
  Hold({500, 500}, 80);
  EXPECT_EQ(input.events.size(), 2u);
  Hold({500, 500}, 300);
  EXPECT_EQ(input.events.size(), 2u) << "holding still after a click does not click again";
  Hold({520, 500}, 300);  // still inside the last click's zone (half-width 25)
  EXPECT_EQ(input.events.size(), 2u);
  Hold({600, 500}, 1);  // out of the zone ...
  Hold({600, 500}, 80);  // ... and a new dwell there
  EXPECT_EQ(input.events.size(), 4u);

  app.settings.Set(Setting::Repeater, 1);
  input.events.clear();
  Hold({600, 500}, 3 * 73 + 1);  // one pass re-arms, then a click every 73 readings
  EXPECT_EQ(input.events.size(), 6u);
}

TEST_F(DwellTest, MovingOutOfTheZoneStartsAgainAndHides) {
  Hold({500, 500}, 60);
  EXPECT_EQ(indicators.Count("show H"), 1);
  Hold({530, 500}, 1);  // beyond the half-width 25
  EXPECT_EQ(indicators.Count("hide H"), 1);
  EXPECT_EQ(app.dwellCount, 0);
  EXPECT_EQ(Hold({530, 500}, 72), 0);
  EXPECT_EQ(Hold({530, 500}, 1), 1);
}

TEST_F(DwellTest, OwnWindowsGetALeftClickWhateverTheMode) {
  host.panel = 100;
  desktop.parents[101] = 100;  // a panel button
  host.sheet = 200;
  desktop.parents[201] = 200;
  desktop.parents[202] = 201;  // a control on a page of the sheet
  host.confirm = 300;
  desktop.parents[301] = 300;
  // The manager's list, a message box of ours, the key picture and a drop-down list: none
  // known to the cursor thread, all of this program.
  desktop.ours = {100, 101, 200, 201, 202, 300, 301, 400, 401, 500, 600};
  struct Case {
    int32_t mode;
    WindowId under;
    const char* events;
    int32_t drag = 0;  // a drag under way, started elsewhere
  } cases[] = {
      {kNoClick, 101, "Ldown Lup"},        {kRightClick, 101, "Ldown Lup"},  {kDoubleLeftClick, 101, "Ldown Lup"},
      {kNoClick, 202, "Ldown Lup"},        {kRightClick, 202, "Ldown Lup"},  {kDoubleLeftClick, 301, "Ldown Lup"},
      {kNoClick, 200, "Ldown Lup"},        // the sheet's own surface too
      {kNoClick, 401, "Ldown Lup"},        {kRightClick, 400, "Ldown Lup"},  {kDoubleLeftClick, 500, "Ldown Lup"},
      {kDoubleRightClick, 600, "Ldown Lup"}, {kScroll, 401, "Ldown Lup"},    {kRightDrag, 500, "Ldown Lup"},
      {kRightClick, 999, "Rdown Rup"},     {kNoClick, 999, ""},              {kDoubleLeftClick, 999, "Ldown Lup Ldown Lup"},
      {kLeftDrag, 100, "Ldown"},           // the panel's own surface: the drag starts there
      {kLeftDrag, 101, "Ldown Lup"},       // a panel button is still clicked
      {kLeftDrag, 401, "Lup", 1},          // a drag from another program drops on ours
      {kRightDrag, 500, "Rup", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " under " << c.under);
    Fresh f(*this, Setting::DwellCommand, c.mode);
    f.app.dragLeft = c.drag == 1;
    f.app.dragRight = c.drag == 2;
    desktop.under = c.under;
    for (int i = 0; i < 80; ++i) f.dwell.Step({400, 400}, desktop.under, keyboard, measures, false);
    EXPECT_EQ(f.in.Joined(), c.events);
  }
}

TEST_F(DwellTest, ForceLeftAndConfirmOpenAlsoClickLeft) {
  app.settings.Set(Setting::DwellCommand, kNoClick);
  app.forceLeft = 1;
  Hold({400, 400}, 80);
  EXPECT_EQ(input.Joined(), "Ldown Lup");
  app.forceLeft = 0;
  app.confirmOpen = 1;
  Hold({700, 400}, 80);
  EXPECT_EQ(input.Joined(), "Ldown Lup Ldown Lup");
}

TEST_F(DwellTest, ScrollTogglesOnlyFromDwellAndKeepsTheAnchor) {
  app.settings.Set(Setting::DwellCommand, kScroll);
  Hold({400, 400}, 80);
  EXPECT_EQ(app.scrollMode.load(), 1);
  EXPECT_EQ(input.Joined(), "Mdown Mup");
  // In scroll mode the anchor stays: a dwell elsewhere never starts.
  Hold({700, 700}, 200);
  EXPECT_EQ(input.events.size(), 2u);
  Hold({400, 400}, 80);
  EXPECT_EQ(app.scrollMode.load(), 0);
  EXPECT_EQ(input.events.size(), 4u);
  clicker.Emit(kScroll);  // a gesture's Scroll
  EXPECT_EQ(app.scrollMode.load(), 0);
}

TEST_F(DwellTest, PhysicalMouseResetsTheCountButNotTheArming) {
  Hold({500, 500}, 60);
  dwell.OnPhysicalMouse();
  EXPECT_EQ(app.dwellCount, 0);
  EXPECT_EQ(indicators.Count("hide H"), 1);
  EXPECT_EQ(indicators.Count("hide V"), 1);
  EXPECT_TRUE(dwell.Shown()) << "the indicator choice stays";
  EXPECT_TRUE(dwell.Armed());
}

TEST_F(DwellTest, HoldCursorPausesTheDwell) {
  app.holdCursor = 1;
  Hold({500, 500}, 200);
  EXPECT_TRUE(input.events.empty());
  EXPECT_EQ(app.dwellCount, 0);
}

TEST_F(DwellTest, NonsenseSettingsNeverCrashOrHang) {
  struct Case {
    int32_t dwellTime, hoverTime, zone;
    bool clicks;
  } cases[] = {
      {-1, 50, 25, true},  // full at once instead of dividing by zero
      {-100, -5, 25, true}, {0, 0, 25, true},
      {2147483647, 50, 25, true},  // the 1.5 per reading still fills it
      {50, 50, -10, false},  // an empty zone never holds the cursor
      {50, 50, 2147483647, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dwellTime << " " << c.hoverTime << " " << c.zone);
    AppState fresh;
    fresh.holdCursor = 0;
    fresh.settings.Set(Setting::DwellTime, c.dwellTime);
    fresh.settings.Set(Setting::HoverTime, c.hoverTime);
    fresh.settings.Set(Setting::DwellZone, c.zone);
    RecordingInput in;
    ClickEmitter emitter{fresh, in, sounds};
    Dwell d{fresh, desktop, host, indicators, emitter};
    for (int i = 0; i < 200; ++i) d.Step({500, 500}, 0, keyboard, measures, false);
    EXPECT_EQ(!in.events.empty(), c.clicks);
  }
}

TEST(ProgressFill, Arithmetic) {
  struct Case {
    int32_t size, elapsed, dwellTime, fill;
  } cases[] = {
      {58, 1, 50, 3},   {58, 22, 50, 55}, {58, 23, 50, 58},  // the worked example
      {100, 10, 20, 55},                                    // step 4: trunc(5.5 x 10 + 0.5)
      {58, 5, -1, 58},  {58, 5, -7, 58},                    // nonsense dwell time: full
      {58, 0, 50, 0},   {58, 2147483647, 50, 58}, {0, 5, 50, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ProgressFill(c.size, c.elapsed, c.dwellTime), c.fill) << c.size << " " << c.elapsed << " " << c.dwellTime;
}

TEST(PlaceIndicator, SidesAndPlaces) {
  const ScreenMeasures m = ScreenMeasures::Of({0, 0, 1280, 1024}, {0, 0, 1280, 994});  // w16 80, w53 24, h40 25, h12 85
  const Rect work = m.workArea;
  KeyboardInfo none;
  KeyboardInfo kbd{50, {300, 400, 900, 700}};
  struct Case {
    Point last;
    WindowId under;
    const KeyboardInfo* keyboard;
    bool panelHidden, panelLeft;
    Indicator which;
    Rect bounds;
  } cases[] = {
      {{100, 100}, 0, &none, false, false, Indicator::Horizontal, {100, 180, 180, 205}},
      {{1000, 900}, 0, &none, false, false, Indicator::Horizontal, {920, 820, 1000, 845}},
      {{640, 497}, 0, &none, false, false, Indicator::Horizontal, {640, 577, 720, 602}},  // the middle is not past it
      {{500, 500}, 50, &kbd, true, false, Indicator::Vertical, {900, 400, 924, 485}},    // more room right
      {{500, 500}, 50, &kbd, false, false, Indicator::Vertical, {276, 400, 300, 485}},   // panel right of it
      {{500, 500}, 50, &kbd, false, true, Indicator::Vertical, {900, 400, 924, 485}},    // panel left of it
      {{500, 500}, 51, &kbd, true, false, Indicator::Horizontal, {500, 420, 580, 445}},  // not on the keyboard
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.last.x << "," << c.last.y << " under " << c.under);
    IndicatorPlace p = PlaceIndicator(c.last, c.under, *c.keyboard, work, m, c.panelHidden, c.panelLeft);
    EXPECT_EQ(p.which, c.which);
    EXPECT_EQ(p.bounds, c.bounds);
  }
  KeyboardInfo wide{50, {10, 400, 1270, 700}};  // no room on either side
  EXPECT_EQ(PlaceIndicator({500, 500}, 50, wide, work, m, true, false).which, Indicator::Horizontal);
}

TEST(ClickEmitter, EventsAndSounds) {
  struct Case {
    int32_t command, soundMode;
    const char* events;
    std::vector<int32_t> sounds;
  } cases[] = {
      {kLeftClick, 2, "Ldown Lup", {2}},
      {kRightClick, 2, "Rdown Rup", {3}},
      {kDoubleLeftClick, 2, "Ldown Lup Ldown Lup", {4}},
      {kDoubleRightClick, 2, "Rdown Rup Rdown Rup", {5}},
      {kScroll, 2, "Mdown Mup", {10}},
      {kLeftClick, 1, "Ldown Lup", {1}},  // one sound for all
      {kLeftClick, 0, "Ldown Lup", {}},
      {kNoClick, 2, "", {}},
      {kNoClick, 1, "", {1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.command << " mode " << c.soundMode);
    AppState app;
    app.settings.Set(Setting::SoundMode, c.soundMode);
    // Sound ids by event, distinct so the test sees which one played.
    const SoundEvent events[] = {SoundEvent::Global, SoundEvent::LeftClick, SoundEvent::RightClick,
                                 SoundEvent::DoubleLeft, SoundEvent::DoubleRight, SoundEvent::DragLeft,
                                 SoundEvent::DropLeft, SoundEvent::DragRight, SoundEvent::DropRight,
                                 SoundEvent::Scroll};
    for (int i = 0; i < 10; ++i) app.settings.Set(SoundSetting(events[i]), i + 1);
    RecordingInput in;
    RecordingSounds sounds;
    ClickEmitter(app, in, sounds).Emit(c.command);
    EXPECT_EQ(in.Joined(), c.events);
    EXPECT_EQ(sounds.played, c.sounds);
  }
}

TEST(ClickEmitter, DragsPressThenRelease) {
  AppState app;
  app.settings.Set(Setting::SoundMode, 2);
  app.settings.Set(Setting::DragRightSound, 8);
  app.settings.Set(Setting::DropRightSound, 9);
  RecordingInput in;
  RecordingSounds sounds;
  ClickEmitter e(app, in, sounds);
  e.Emit(kRightDrag);
  EXPECT_EQ(app.dragRight.load(), 1);
  e.Emit(kRightDrag);
  EXPECT_EQ(app.dragRight.load(), 0);
  e.Emit(kLeftDrag);
  EXPECT_EQ(app.dragLeft.load(), 1);
  EXPECT_EQ(in.Joined(), "Rdown Rup Ldown");
  EXPECT_EQ(sounds.played, (std::vector<int32_t>{8, 9, 0}));
}

class PanelPlacementTest : public testing::Test {
 protected:
  PanelPlacementTest() {
    host.panel = 100;
  }
  void Panel(Rect r) { host.panelRect = r; }
  AppState app;
  FakeDesktop desktop;
  FakeHost host;
  PanelPlacement placement{app, desktop, host};
  const std::vector<Monitor> work = {{{0, 0, 1280, 1024}, {0, 0, 1280, 994}, 96}};
};

TEST_F(PanelPlacementTest, BesideTheKeyboardOnTheRoomierSide) {
  struct Case {
    Rect keyboard, panel;
    std::vector<Point> moves;
    bool left;
  } cases[] = {
      // More room on the right; less room below than above: bottoms aligned.
      {{100, 600, 700, 900}, {0, 0, 120, 200}, {{700, 700}}, false},
      // More room below than above: tops aligned.
      {{100, 300, 700, 500}, {0, 0, 120, 200}, {{700, 300}}, false},
      // More room on the left.
      {{700, 300, 1200, 500}, {0, 0, 120, 200}, {{580, 300}}, true},
      // No side has room for the panel.
      {{100, 600, 1200, 900}, {500, 100, 620, 300}, {}, false},
      // Keyboard taller than the work area: no side move.
      {{100, -10, 700, 900}, {900, 100, 1020, 300}, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.keyboard.left << "," << c.keyboard.top);
    PanelPlacement p{app, desktop, host};
    host.panelMoves.clear();
    Panel(c.panel);
    p.Run({50, c.keyboard}, work, {640, 500});
    EXPECT_EQ(host.panelMoves, c.moves);
    EXPECT_EQ(p.PanelLeftOfKeyboard(), c.left);
  }
}

TEST_F(PanelPlacementTest, KeptOnTheWorkArea) {
  struct Case {
    Rect panel;
    std::vector<Point> moves;
  } cases[] = {
      {{-20, 300, 100, 500}, {{0, 400}}},        // past the left edge: x 0, cursor's y
      {{300, -30, 420, 170}, {{640, 0}}},        // dragged past the top: cursor's x, y 0
      {{-5, -5, 115, 195}, {{0, 0}}},
      {{1200, 300, 1320, 500}, {{1160, 400}}},   // past the right edge
      {{300, 900, 420, 1100}, {{640, 794}}},     // past the bottom
      {{1200, 900, 1320, 1100}, {{1160, 794}}},  // both
      {{1160, 900, 1280, 1100}, {{1160, 794}}},  // at the right edge and past the bottom
      {{300, 300, 420, 500}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.panel.left << "," << c.panel.top);
    host.panelMoves.clear();
    Panel(c.panel);
    placement.Run({}, work, {640, 400});
    EXPECT_EQ(host.panelMoves, c.moves);
  }
}

TEST_F(PanelPlacementTest, HiddenPanelReturnsWhenTheKeyboardLeavesTheWorkArea) {
  Panel({300, 300, 420, 500});
  app.panelHidden = 1;
  placement.Run({50, {100, 600, 700, 900}}, work, {0, 0});
  EXPECT_EQ(host.panelShows, 0);
  placement.Run({50, {100, 600, 700, 1010}}, work, {0, 0});
  EXPECT_EQ(host.panelShows, 1);
  EXPECT_EQ(app.panelHidden.load(), 0);
  host.panel = 0;  // no panel yet: nothing at all
  host.panelMoves.clear();
  placement.Run({50, {100, 600, 700, 900}}, work, {0, 0});
  EXPECT_TRUE(host.panelMoves.empty());
}

}  // namespace

namespace {

TEST(TrayModes, PendingModeTail) {
  AppState app;
  app.settings.Set(Setting::DwellCommand, kNoClick);
  app.markedClickMode = kNoClick;
  TrayModes tray(app);
  ASSERT_TRUE(tray.CanOpen());
  tray.Opened();
  EXPECT_EQ(app.settings.Get(Setting::DwellCommand), kLeftClick) << "dwell can pick items";
  EXPECT_FALSE(tray.CanOpen());
  tray.Closed();
  EXPECT_EQ(tray.Tail(), kNoClick) << "a command other than a mode restores the saved mode";
  EXPECT_EQ(app.settings.Get(Setting::DwellCommand), kNoClick);

  tray.Opened();
  tray.Closed();
  tray.Choose(kDoubleRightClick);
  EXPECT_EQ(tray.Tail(), kDoubleRightClick);
  EXPECT_EQ(app.markedClickMode.load(), kDoubleRightClick);

  tray.Opened();
  tray.Closed();  // dismissed: no command, so no tail
  EXPECT_EQ(app.settings.Get(Setting::DwellCommand), kLeftClick);

  app.scrollMode = 1;
  EXPECT_FALSE(tray.CanOpen());
  app.scrollMode = 0;
  app.engaged = 1;
  EXPECT_FALSE(tray.CanOpen());
}

TEST(TrayModes, PanelOrder) {
  const int32_t modes[] = {kNoClick, kLeftClick, kRightClick, kDoubleLeftClick, kDoubleRightClick,
                           kLeftDrag, kRightDrag, kScroll};
  const int32_t index[] = {0, 1, 2, 4, 5, 6, 7, 3};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(PanelIndexOf(modes[i]), index[i]);
    EXPECT_EQ(ClickModeOfPanelIndex(index[i]), modes[i]);
  }
  EXPECT_EQ(PanelIndexOf(12345), -1);
}

TEST(ConfirmBoxPlace, BesideThePanelOrCentred) {
  const Rect work = {0, 0, 1280, 994};
  struct Case {
    bool shown;
    Rect panel;
    Point place;
  } cases[] = {
      {false, {}, {640 - 150, 497 - 50}},
      {true, {100, 100, 220, 300}, {100, 300}},      // room right and below
      {true, {1100, 700, 1220, 900}, {920, 600}},    // room left and above
  };
  for (const Case& c : cases) EXPECT_EQ(ConfirmBoxPlace({{0, 0, 1280, 1024}, work, 96}, 300, 100, c.shown, c.panel), c.place);
}

}  // namespace
