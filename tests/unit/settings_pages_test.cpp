#include "qmouse/settings_pages.h"

#include <gtest/gtest.h>

#include <climits>

TEST(SettingsPages, SliderPositionsFollowTheirRuleAndClampOddValues) {
  struct Case {
    SliderRule rule;
    int32_t value, position;
  } cases[] = {
      {kTimeSlider, 50, 70},   {kTimeSlider, 20, 100},       {kTimeSlider, 100, 20},
      {kTimeSlider, 0, 100},   {kTimeSlider, 500, 20},       {kTimeSlider, INT32_MIN, 100},
      {kTimeSlider, INT32_MAX, 20}, {kZoneSlider, 25, 25},   {kZoneSlider, 100, 45},
      {kMouseSlider, -3, 10},  {kMouseSlider, 33, 33},
  };
  for (const Case& c : cases) EXPECT_EQ(SliderPosition(c.rule, c.value), c.position) << c.value;
  for (int32_t p = 20; p <= 100; ++p) EXPECT_EQ(SliderPosition(kTimeSlider, SliderValue(kTimeSlider, p)), p);
  EXPECT_EQ(SliderValue(kTimeSlider, 30), 90);
  EXPECT_EQ(SliderValue(kZoneSlider, 30), 30);
}

TEST(SettingsPages, MousePairsAndSoundRules) {
  EXPECT_EQ(MousePair(0).vertical, Setting::YAccel);
  EXPECT_EQ(MousePair(1).horizontal, Setting::XStabilizer);
  EXPECT_EQ(MousePair(kSpeedChoice).vertical, Setting::YSpeed);
  const struct {
    int32_t mode;
    bool events, sounds;
  } modes[] = {{0, false, false}, {1, false, true}, {2, true, true}, {3, false, false}, {-1, false, false}};
  for (const auto& m : modes) {
    EXPECT_EQ(SoundListsFor(m.mode).events, m.events) << m.mode;
    EXPECT_EQ(SoundListsFor(m.mode).sounds, m.sounds) << m.mode;
  }
  for (int32_t id : {-1, 16, INT32_MIN}) EXPECT_EQ(SoundChoice(id), -1) << id;
  EXPECT_EQ(SoundChoice(15), 15);
  EXPECT_FALSE(IsPlainColour(-1));
  EXPECT_TRUE(IsPlainColour(0x00FFFFFF));
}
