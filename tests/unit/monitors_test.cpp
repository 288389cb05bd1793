// Several monitors: which one a point or a window is on, the cursor kept off the gaps, the
// panel kept on a work area, and the measures that follow the cursor's monitor and its scale.
#include <gtest/gtest.h>

#include "qmouse/cursor_loop.h"
#include "qmouse/monitors.h"
#include "tests/unit/qmouse_fakes.h"

namespace {

// A 1280x1024 primary with its taskbar, a smaller monitor on its right, top edges level,
// and one on its left, lower down, at 150 %.
const Monitor kPrimary = {{0, 0, 1280, 1024}, {0, 0, 1280, 994}, 96};
const Monitor kRight = {{1280, 0, 2304, 768}, {1280, 0, 2304, 768}, 96};
const Monitor kLeft = {{-1920, 300, 0, 1380}, {-1920, 300, 0, 1340}, 144};
const std::vector<Monitor> kThree = {kPrimary, kRight, kLeft};

TEST(Monitors, PointsGoToTheMonitorTheyAreOnOrTheNearest) {
  struct Case {
    Point p;
    int index;
    Point onto;
  } cases[] = {
      {{640, 512}, 0, {640, 512}},
      {{1280, 0}, 1, {1280, 0}},        // the left edge belongs to the monitor on the right
      {{1279, 1023}, 0, {1279, 1023}},
      {{1500, 900}, 1, {1500, 767}},    // in the gap under the smaller monitor, nearer to it
      {{1300, 1000}, 0, {1279, 1000}},  // in the gap, nearer to the primary's edge
      {{2400, 100}, 1, {2303, 100}},    // past the right end
      {{-100, 100}, 0, {0, 100}},       // above the left monitor, nearer the primary
      {{-100, 290}, 2, {-100, 300}},    // just above the left monitor
      {{-5000, 5000}, 2, {-1920, 1379}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.p.x << "," << c.p.y);
    EXPECT_EQ(MonitorIndexAt(kThree, c.p), c.index);
    EXPECT_EQ(OntoMonitors(kThree, c.p), c.onto);
  }
  EXPECT_EQ(MonitorIndexAt({}, {1, 1}), -1);
  EXPECT_EQ(OntoMonitors({}, {-7, 9}), (Point{-7, 9})) << "nothing to clamp to: left alone";
}

TEST(Monitors, WindowsBelongWhereMostOfThemIsAndAreKeptOnAWorkArea) {
  struct Case {
    Rect window;
    int index;
    bool onWorkArea;
    Point place;
  } cases[] = {
      {{1500, 100, 1620, 300}, 1, true, {1500, 100}},
      {{1200, 100, 1320, 300}, 0, false, {1160, 100}},   // straddling, mostly on the primary
      {{1250, 100, 1370, 300}, 1, false, {1280, 100}},   // straddling, mostly on the right
      {{1500, 700, 1620, 900}, 1, false, {1500, 568}},   // hanging into the gap
      {{300, 900, 420, 1100}, 0, false, {300, 794}},     // over the taskbar
      {{-300, 1300, -180, 1500}, 2, false, {-300, 1140}},
      {{3000, 100, 3120, 300}, 1, false, {2184, 100}},   // its monitor was taken away
      {{100, -900, 220, -700}, 0, false, {100, 0}},
      {{0, 0, 1400, 200}, 0, false, {0, 0}},             // wider than any work area: left edge on it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.window.left << "," << c.window.top);
    EXPECT_EQ(MonitorIndexOf(kThree, c.window), c.index);
    EXPECT_EQ(OnSomeWorkArea(kThree, c.window), c.onWorkArea);
    const Point p = OntoWorkArea(kThree, c.window);
    EXPECT_EQ(p, c.place);
    const Rect moved = {p.x, p.y, p.x + c.window.Width(), p.y + c.window.Height()};
    if (c.window.Width() <= 1024) EXPECT_TRUE(OnSomeWorkArea(kThree, moved));
  }
}

TEST(Monitors, LengthsFollowTheScaleBetweenOneAndTwoTimes) {
  struct Case {
    int32_t length, dpi, scaled;
  } cases[] = {
      {80, 96, 80}, {80, 120, 100}, {80, 144, 120}, {80, 192, 160}, {25, 144, 38},
      {80, 288, 160},  // 300 %: no more than twice
      {80, 0, 80},     {80, -5, 80}, {80, 72, 80},  // nonsense or below 100 %: as at 96
      {0, 144, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ScaleForDpi(c.length, c.dpi), c.scaled) << c.length << " at " << c.dpi;
}

TEST(Monitors, MeasuresOfAMonitorAreThoseOfTheDesktopOnOneAt96Dpi) {
  const ScreenMeasures one = ScreenMeasures::Of(kPrimary.bounds, kPrimary.work);
  const ScreenMeasures same = ScreenMeasures::Of(kPrimary);
  EXPECT_EQ(same.w16, one.w16);
  EXPECT_EQ(same.w53, one.w53);
  EXPECT_EQ(same.h40, one.h40);
  EXPECT_EQ(same.h12, one.h12);
  EXPECT_EQ(same.workArea, one.workArea);
  Monitor scaled = kPrimary;
  scaled.dpi = 144;
  const ScreenMeasures big = ScreenMeasures::Of(scaled);
  EXPECT_EQ(big.w16, 120);  // 80 at 96
  EXPECT_EQ(big.h40, 38);   // 25.6 -> 25 at 96
  EXPECT_EQ(big.w53, 36);
  EXPECT_EQ(big.h12, 128);
  const ScreenMeasures right = ScreenMeasures::Of(kRight);
  EXPECT_EQ(right.w16, 64);
  EXPECT_EQ(right.h40, 19);
  EXPECT_EQ(right.monitor, kRight.bounds);
}

TEST(Monitors, IndicatorBesideTheCursorStaysOnItsMonitor) {
  for (const Monitor& m : kThree) {
    const ScreenMeasures measures = ScreenMeasures::Of(m);
    const Rect& b = m.bounds;
    for (Point p : {Point{b.left, b.top}, Point{b.right - 1, b.top}, Point{b.left, m.work.bottom - 1},
                    Point{b.right - 1, m.work.bottom - 1}, Point{b.left + b.Width() / 2, b.top + b.Height() / 2}}) {
      SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
      const IndicatorPlace place = PlaceIndicator(p, 0, {}, m.work, measures, false, false);
      EXPECT_EQ(place.which, Indicator::Horizontal);
      EXPECT_GE(place.bounds.left, b.left);
      EXPECT_LE(place.bounds.right, b.right);
      EXPECT_GE(place.bounds.top, b.top);
      EXPECT_LE(place.bounds.bottom, b.bottom);
      EXPECT_LE(std::abs(place.bounds.left - p.x), measures.w16) << "beside the cursor";
    }
  }
}

TEST(Monitors, ConfirmBoxCentredOnItsMonitor) {
  EXPECT_EQ(ConfirmBoxPlace(kPrimary, 300, 100, false, {}), (Point{490, 447}));
  EXPECT_EQ(ConfirmBoxPlace(kRight, 300, 100, false, {}), (Point{1642, 334}));
  EXPECT_EQ(ConfirmBoxPlace(kLeft, 300, 100, false, {}), (Point{-1110, 770}));
}

class SeveralMonitorsLoop : public testing::Test, protected EmitterWorld {
 protected:
  SeveralMonitorsLoop() { desktop.monitors = {kPrimary, kRight}; }
  HxPositionDouble Reading(double rx, double ry) { return {0, 0, 0, rx, ry}; }
  CursorLoop loop{app, desktop, host, Tools()};
};

TEST_F(SeveralMonitorsLoop, CursorCrossesOverAndBackAndTheMeasuresFollow) {
  loop.Start();
  EXPECT_EQ(desktop.cursor, (Point{640, 512})) << "the splash holds it in the primary's middle";
  EXPECT_EQ(loop.Measures().w16, 80);
  app.holdCursor = 0;
  loop.NormalPass(Reading(0, 0));
  loop.NormalPass(Reading(180, 0));  // 900 right: onto the monitor on the right
  EXPECT_EQ(desktop.cursor, (Point{1540, 512}));
  EXPECT_EQ(loop.Measures().w16, 64);
  EXPECT_EQ(loop.Measures().workArea, kRight.work);
  loop.NormalPass(Reading(180, -60));  // 300 down: under the smaller monitor, kept on it
  EXPECT_EQ(desktop.cursor, (Point{1540, 767}));
  EXPECT_EQ(host.timerRestarts, 0) << "the kept move is not taken for the mouse";
  const int sets = desktop.sets;
  loop.NormalPass(Reading(180, -60));
  EXPECT_EQ(desktop.sets, sets) << "a pass held at the edge sets nothing";
  loop.NormalPass(Reading(0, -60));  // 900 back left
  EXPECT_EQ(desktop.cursor, (Point{640, 767}));
  EXPECT_EQ(loop.Measures().w16, 80);
}

TEST_F(SeveralMonitorsLoop, SplashCentresOnTheMonitorUnderTheCursor) {
  desktop.cursor = {2000, 100};
  loop.Start();
  EXPECT_EQ(desktop.cursor, (Point{1792, 384}));
  EXPECT_EQ(loop.Measures().w16, 64);
}

TEST_F(SeveralMonitorsLoop, IndicatorOfADwellOnTheOtherMonitorIsBesideTheCursor) {
  app.settings.Set(Setting::DwellCommand, kLeftClick);
  desktop.cursor = {2200, 700};
  loop.Start();  // the middle of the right monitor, 1792,384
  app.holdCursor = 0;
  loop.NormalPass(Reading(0, 0));
  loop.NormalPass(Reading(80, -60));  // 400 right, 300 down
  ASSERT_EQ(desktop.cursor, (Point{2192, 684}));
  for (int i = 0; i < 60 && indicators.Count("show H") == 0; ++i) loop.NormalPass(Reading(80, -60));
  ASSERT_EQ(indicators.Count("show H"), 1);
  // Past the middle of the right monitor on both axes: up and to the left of the cursor,
  // sized for that monitor (1024 / 16 by 768 / 40).
  EXPECT_EQ(indicators.lastBounds, (Rect{2192 - 64, 684 - 64, 2192, 684 - 64 + 19}));
}

TEST_F(SeveralMonitorsLoop, PanelStaysOnItsMonitorAndComesBackWhenItGoes) {
  host.panel = 100;
  host.panelRect = {1500, 100, 1620, 300};
  loop.Start();
  app.holdCursor = 0;
  loop.NormalPass(Reading(0, 0));
  loop.NormalPass(Reading(10, 10));
  EXPECT_TRUE(host.panelMoves.empty()) << "the cursor is on the primary; the panel stays where it was put";
  desktop.monitors = {kPrimary};  // the right monitor is unplugged
  loop.NormalPass(Reading(10, 10));
  ASSERT_FALSE(host.panelMoves.empty());
  EXPECT_TRUE(OnSomeWorkArea(desktop.monitors, host.panelRect));
  host.panelMoves.clear();
  loop.NormalPass(Reading(10, 10));
  EXPECT_TRUE(host.panelMoves.empty()) << "once on a work area it stays";
}

TEST(PanelPlacementMonitors, CursorOnAnotherMonitorDoesNotCarryThePanelOff) {
  AppState app;
  FakeDesktop desktop;
  FakeHost host;
  host.panel = 100;
  PanelPlacement placement{app, desktop, host};
  host.panelRect = {1250, 100, 1370, 300};  // pulled past the right monitor's left edge
  placement.Run({}, kThree, {-1500, 1200});  // the cursor far away on the left monitor
  ASSERT_EQ(host.panelMoves.size(), 1u);
  EXPECT_EQ(host.panelMoves[0], (Point{1280, 568}));  // its own left edge, the cursor's height kept on its work area
  EXPECT_TRUE(OnSomeWorkArea(kThree, host.panelRect));
}

}  // namespace
