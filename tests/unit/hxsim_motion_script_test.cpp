#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "hxsim/motion_script.h"

namespace {

using Event = MotionScript::Event;

MotionScript Parsed(const std::string& text) {
  MotionScript script;
  std::string error;
  EXPECT_TRUE(script.Parse(text, &error)) << error;
  return script;
}

TEST(MotionScriptTest, ReportsLineAndReasonOfBadLines) {
  struct Case {
    const char* text;
    const char* error;
  } cases[] = {
      {"0 1 2 3 4 5\n100 1 2 3 4\n", "line 2: expected 'T X Y Z RX RY', 'T unplug' or 'T plug'"},
      {"# head\n\n0 1 2 3 4 5 6\n", "line 3: expected 'T X Y Z RX RY', 'T unplug' or 'T plug'"},
      {"0 0 0 0 0 0\n500 0 0 0 0 0\n400 0 0 0 0 0\n", "line 3: time goes backwards"},
      {"500 unplug\n100 plug\n", "line 2: time goes backwards"},
      {"-5 0 0 0 0 0\n", "line 1: negative time"},
      {"abc 0 0 0 0 0\n", "line 1: bad time 'abc'"},
      {"0 0 0 0 0 0\n10 1 2 x3 4 5\n", "line 2: bad number 'x3'"},
      {"0 1 2 3 4 5junk\n", "line 1: bad number '5junk'"},
      {"0 nan 0 0 0 0\n", "line 1: bad number 'nan'"},
      {"0 inf 0 0 0 0\n", "line 1: bad number 'inf'"},
      {"0 1e999 0 0 0 0\n", "line 1: bad number '1e999'"},
      {"0 0x10 0 0 0 0\n", "line 1: bad number '0x10'"},
      {"100 unplugged\n", "line 1: expected 'T X Y Z RX RY', 'T unplug' or 'T plug'"},
      {"100 unplug now\n", "line 1: expected 'T X Y Z RX RY', 'T unplug' or 'T plug'"},
      {"0 0 0 0 0 0\r\n\r\n20 1\r\n", "line 3: expected 'T X Y Z RX RY', 'T unplug' or 'T plug'"},
  };
  for (const Case& c : cases) {
    MotionScript script;
    std::string error;
    EXPECT_FALSE(script.Parse(c.text, &error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
    // A failed parse leaves nothing half-loaded behind.
    EXPECT_FALSE(script.HasKeyframes()) << c.text;
    EXPECT_TRUE(script.EventsBetween(-1, 1e9).empty()) << c.text;
  }
}

TEST(MotionScriptTest, InterpolatesLinearlyAndHoldsBothEnds) {
  MotionScript script = Parsed(
      "# comment line\n"
      "  \t\n"
      "100  0   0   0    0    0   # trailing comment\n"
      "300 10 -20  40  100 -200\r\n"
      "300 50  50  50   50   50\n"  // same time: a jump
      "1300 60 50 50 50 150\n");
  struct Case {
    double t, x, y, z, rx, ry;
  } cases[] = {
      {0, 0, 0, 0, 0, 0},          // before the first keyframe its pose holds
      {100, 0, 0, 0, 0, 0},
      {150, 2.5, -5, 10, 25, -50},  // a quarter of the way
      {299.999, 10, -20, 40, 100, -200},
      {300, 50, 50, 50, 50, 50},   // the later of two keyframes at one time wins
      {800, 55, 50, 50, 50, 100},
      {1300, 60, 50, 50, 50, 150},
      {99999, 60, 50, 50, 50, 150},  // the last pose holds
  };
  for (const Case& c : cases) {
    SimPose p = script.PoseAt(c.t);
    EXPECT_NEAR(p.x, c.x, 1e-3) << c.t;
    EXPECT_NEAR(p.y, c.y, 1e-3) << c.t;
    EXPECT_NEAR(p.z, c.z, 1e-3) << c.t;
    EXPECT_NEAR(p.rx, c.rx, 1e-3) << c.t;
    EXPECT_NEAR(p.ry, c.ry, 1e-2) << c.t;
  }
  EXPECT_DOUBLE_EQ(script.LengthMs(), 1300);
}

TEST(MotionScriptTest, ReportsEventsCrossedBetweenTwoTimes) {
  MotionScript script = Parsed(
      "0 unplug\n"
      "0 0 0 0 0 0\n"
      "200 plug\n"
      "200 unplug\n"
      "500 0 0 0 10 0\n"
      "900 plug\n");
  struct Case {
    double after, upTo;
    std::vector<Event> events;
  } cases[] = {
      {-1, 0, {Event::Unplug}},
      {0, 199, {}},
      {0, 200, {Event::Plug, Event::Unplug}},
      {199.5, 200.5, {Event::Plug, Event::Unplug}},
      {200, 899, {}},
      {200, 900, {Event::Plug}},
      {-1, 1e6, {Event::Unplug, Event::Plug, Event::Unplug, Event::Plug}},
      {900, 1e6, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(script.EventsBetween(c.after, c.upTo), c.events) << c.after << ".." << c.upTo;
  EXPECT_DOUBLE_EQ(script.LengthMs(), 900);  // events count towards the length
  SimPose rest = Parsed("100 plug\n").PoseAt(50);
  EXPECT_EQ(rest.rx, 0);
}

TEST(MotionScriptTest, DemoLooksAroundDwellsAndGestures) {
  MotionScript demo = Parsed(MotionScript::DemoText());
  const double length = demo.LengthMs();
  ASSERT_GT(length, 5000);
  EXPECT_TRUE(demo.EventsBetween(-1, length).empty());  // the demo never unplugs

  // Sample every 10 ms and measure what a cursor and the gesture logic would see.
  double minRx = 0, maxRx = 0, minRy = 0, maxRy = 0;
  double longestStillMs = 0, stillSince = 0;
  SimPose previous = demo.PoseAt(0);
  // Per gesture direction: the duration of the excursion beyond 100 units, when seen.
  double gestureMs[4] = {0, 0, 0, 0};  // -X, +X, -Z, +Z
  double outSince[4] = {-1, -1, -1, -1};
  for (double t = 10; t <= length; t += 10) {
    SimPose p = demo.PoseAt(t);
    minRx = std::min(minRx, p.rx);
    maxRx = std::max(maxRx, p.rx);
    minRy = std::min(minRy, p.ry);
    maxRy = std::max(maxRy, p.ry);
    bool still = p.x == previous.x && p.y == previous.y && p.z == previous.z && p.rx == previous.rx &&
                 p.ry == previous.ry;
    if (!still) stillSince = t;
    longestStillMs = std::max(longestStillMs, t - stillSince);
    const bool out[4] = {p.x < -100, p.x > 100, p.z < -100, p.z > 100};
    for (int i = 0; i < 4; ++i) {
      if (out[i] && outSince[i] < 0) outSince[i] = t;
      if (!out[i] && outSince[i] >= 0) {
        gestureMs[i] = t - outSince[i];
        outSince[i] = -1;
      }
      // During a gesture the head does not turn, so the cursor stays put.
      if (out[i]) {
        EXPECT_EQ(p.rx, previous.rx) << t;
        EXPECT_EQ(p.ry, previous.ry) << t;
      }
    }
    previous = p;
  }
  EXPECT_LE(minRx, -100);
  EXPECT_GE(maxRx, 100);
  EXPECT_LE(minRy, -100);
  EXPECT_GE(maxRy, 100);
  EXPECT_GE(longestStillMs, 2000);
  for (int i = 0; i < 4; ++i) {
    EXPECT_GT(gestureMs[i], 0) << "gesture " << i << " missing";
    EXPECT_LT(gestureMs[i], 1000) << "gesture " << i << " is not quick";
  }
  // Looping starts over where it began: the end is the rest pose.
  SimPose end = demo.PoseAt(length);
  EXPECT_EQ(end.x, 0);
  EXPECT_EQ(end.rx, 0);
  EXPECT_EQ(end.ry, 0);
}

TEST(NumberParsingTest, AcceptsOnlyWholeInRangeNumbers) {
  struct Case {
    const char* text;
    bool ok;
    uint32_t value;
  } cases[] = {
      {"0", true, 0},           {"4294967295", true, 0xFFFFFFFFu}, {"0x10304", true, 0x10304},
      {"0XfF", true, 255},      {"4294967296", false, 0},          {"0x100000000", false, 0},
      {"-1", false, 0},         {"+1", false, 0},                  {"12a", false, 0},
      {"0x", false, 0},         {"", false, 0},                    {" 1", false, 0},
      {"1.0", false, 0},        {"0x1g", false, 0},
  };
  for (const Case& c : cases) {
    uint32_t value = 12345;
    EXPECT_EQ(ParseUint32(c.text, &value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
  double d = 0;
  EXPECT_TRUE(ParseFiniteDouble("-12.5e1", &d));
  EXPECT_EQ(d, -125);
  for (const char* bad : {"", "1.2.3", "--1", "1e", "nan", "-inf", "1e400", " 1", "1 "})
    EXPECT_FALSE(ParseFiniteDouble(bad, &d)) << bad;
}

}  // namespace
