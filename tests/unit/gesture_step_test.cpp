// The gesture latches: fire once on crossing, re-arm only back within the point.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qmouse/gesture_step.h"

namespace {

std::string Fired(const GestureFired& f) {
  std::string s;
  if (f.left) s += "L";
  if (f.right) s += "R";
  if (f.forward) s += "F";
  if (f.back) s += "B";
  return s;
}

TEST(GestureStep, SequencesOnBothAxes) {
  const GesturePoints points = {10, 20, 5, 8};  // X: below -100 / above 200; Z: below -50 / above 80
  struct Step {
    double x, z;
    const char* fired;
  };
  std::vector<Step> steps = {
      {0, 0, ""},        {-100, 0, ""},     // the point itself is within
      {-100.5, 0, "L"},  {-300, 0, ""},     // held beyond: not again
      {-150, 0, ""},     {-99, 0, ""},      // back within: re-armed
      {-101, 0, "L"},    {201, 0, "R"},     // straight across to the right
      {250, -51, "F"},   {250, -60, ""},
      {0, 81, "B"},      {0, 200, ""},      {0, 80, ""}, {0, 81, "B"},
  };
  GestureLatches latches;
  for (size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "step " << i << " x " << steps[i].x << " z " << steps[i].z);
    EXPECT_EQ(Fired(GestureStep(steps[i].x, steps[i].z, points, latches)), steps[i].fired);
  }
}

TEST(GestureStep, LatchesSurviveInSharedMemory) {
  // The latches live outside the thread: a restarted thread must not fire a held gesture.
  GestureLatches latches;
  const GesturePoints points = {100, 100, 100, 100};
  EXPECT_TRUE(GestureStep(-1001, 0, points, latches).left);
  EXPECT_EQ(latches.left.load(), 1);
  EXPECT_FALSE(GestureStep(-1001, 0, points, latches).Any());
}

TEST(GestureStep, ZeroAndHugePoints) {
  GestureLatches latches;
  EXPECT_EQ(Fired(GestureStep(0, 0, {0, 0, 0, 0}, latches)), "");  // 0 is within [0, 0]
  EXPECT_EQ(Fired(GestureStep(0.1, -0.1, {0, 0, 0, 0}, latches)), "RF");
  GestureLatches other;
  const int32_t big = 2147483647;
  EXPECT_EQ(Fired(GestureStep(-2e10, 2e10, {big, big, big, big}, other)), "");  // 10 x point does not overflow
}

}  // namespace
