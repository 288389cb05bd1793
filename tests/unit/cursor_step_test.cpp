// The cursor step: speed, dead band, acceleration steps and the first sample.
#include <gtest/gtest.h>

#include <limits>

#include "qmouse/cursor_step.h"

namespace {

constexpr CursorSettings kDefaults = {10, 10, 10, 10, 30, 30};

// Moves from a primed memory (previous RX/RY at 0) by one change.
Point MoveBy(double drx, double dry, const CursorSettings& s = kDefaults, Point from = {500, 500}) {
  CursorMemory memory;
  CursorStep(from, 0, 0, s, memory);  // first sample: previous values only
  return CursorStep(from, drx, dry, s, memory);
}

TEST(CursorStep, WorkedExampleAndAccelerationSteps) {
  struct Case {
    double drx, dry;
    CursorSettings settings;
    Point expected;
  } cases[] = {
      {0.6, 0, kDefaults, {500, 500}},    // inside the dead band
      {4.0, 0, kDefaults, {504, 500}},    // no factor
      {8.0, 0, kDefaults, {524, 500}},    // above low (6): x3
      {12.0, 0, kDefaults, {560, 500}},   // above high (11): x5
      {-4.0, 0, kDefaults, {496, 500}},   // trunc(500 - 3.5) = 496
      {6.0, 0, kDefaults, {506, 500}},    // low itself is not above low
      {11.0, 0, kDefaults, {533, 500}},   // high itself is not above high: x3
      {0, 4.0, kDefaults, {500, 496}},    // RY up moves the cursor up
      {0, -4.0, kDefaults, {500, 504}},
      {3.9, 0, {10, 10, 40, 10, 30, 30}, {500, 500}},  // stabilizer 40: stab 4
      {4.0, 0, {10, 10, 40, 10, 30, 30}, {504, 500}},
      {2.0, 0, {20, 10, 10, 10, 30, 30}, {504, 500}},  // speed 20 doubles
      {2.0, 0, {29, 10, 10, 10, 30, 30}, {504, 500}},  // speed 29 / 10 is still 2
      {5.0, 0, {10, 10, 10, 10, 40, 30}, {515, 500}},  // accel 40: low 4, so 5 is tripled
      {10.0, 0, {10, 10, 10, 10, 40, 30}, {550, 500}}, // accel 40: high 9
      {10.0, 0, {10, 10, 10, 10, 10, 30}, {510, 500}}, // accel 10: low 10, high 15
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "drx " << c.drx << " dry " << c.dry << " stab " << c.settings.xStabilizer
                                    << " speed " << c.settings.xSpeed << " accel " << c.settings.xAccel);
    EXPECT_EQ(MoveBy(c.drx, c.dry, c.settings), c.expected);
  }
}

TEST(CursorStep, IdenticalReadingsNeverDrift) {
  CursorMemory memory;
  Point p = {321, 123};
  for (int i = 0; i < 1000; ++i) p = CursorStep(p, 17.25, -3.5, kDefaults, memory);
  EXPECT_EQ(p, (Point{321, 123}));
}

TEST(CursorStep, FirstSampleOnlyPrimes) {
  CursorMemory memory;
  EXPECT_EQ(CursorStep({10, 10}, 300, -200, kDefaults, memory), (Point{10, 10}));
  EXPECT_EQ(memory.firstSample.load(), 0);
  memory.firstSample = 1;  // raised again: the next reading primes again, however far away
  EXPECT_EQ(CursorStep({10, 10}, -900, 900, kDefaults, memory), (Point{10, 10}));
}

TEST(CursorStep, DeadBandDiscardsInsteadOfAccumulating) {
  CursorMemory memory;
  Point p = {100, 100};
  p = CursorStep(p, 0, 0, kDefaults, memory);
  for (int i = 1; i <= 10; ++i) p = CursorStep(p, 0.5 * i, 0, kDefaults, memory);  // +0.5 each
  EXPECT_EQ(p, (Point{100, 100}));
}

TEST(CursorStep, HoldThenReleaseMovesByTheWholeChange) {
  CursorMemory memory;
  Point p = CursorStep({500, 500}, 10, 0, kDefaults, memory);
  // While held, the step is not called; the head turns by 4 in all.
  p = CursorStep(p, 14, 0, kDefaults, memory);
  EXPECT_EQ(p, (Point{504, 500}));
}

TEST(CursorStep, AbsurdSettingsAndReadingsStayInRange) {
  const CursorSettings huge = {2147483647, -2147483647 - 1, 0, 0, -2147483647 - 1, 2147483647};
  CursorMemory memory;
  Point p = CursorStep({0, 0}, 0, 0, huge, memory);
  p = CursorStep(p, 1e6, 1e6, huge, memory);  // far beyond any screen, both ways
  EXPECT_EQ(p.x, 1 << 30);
  EXPECT_EQ(p.y, 1 << 30);
  p = CursorStep({7, 7}, 1e300, 1e300, huge, memory);  // overflows to infinity: no move
  EXPECT_EQ(p, (Point{7, 7}));

  CursorMemory fresh;
  CursorStep({5, 5}, 0, 0, kDefaults, fresh);
  p = CursorStep({5, 5}, std::numeric_limits<double>::quiet_NaN(), 0, kDefaults, fresh);
  EXPECT_EQ(p, (Point{5, 5}));
}

}  // namespace
