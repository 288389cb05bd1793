// The key command dialog's selection: limits by purpose, removal, the sorted result, and when
// the method radios and the pulse-rate slider are usable.
#include <gtest/gtest.h>

#include <array>

#include "commands/key_selection.h"

namespace {

using Keys = std::array<int32_t, kCommandKeys>;
const Keys kNone = {-1, -1, -1, -1};

TEST(KeySelection, ResultIsInPictureOrderWhateverTheClickOrder) {
  for (const auto& clicks : {std::array<int, 2>{39, 74}, std::array<int, 2>{74, 39}}) {  // W, Left Shift
    KeySelection s(kPurposeMotionKeys, kNone, kTap, 1);
    for (int key : clicks) EXPECT_TRUE(s.Click(key));
    EXPECT_EQ(s.Result(), (Keys{39, 74, -1, -1}));
  }
  EXPECT_EQ(KeySelection(kPurposeMotionKeys, kNone, kTap, 1).Result(), kNone);  // OK with nothing
}

TEST(KeySelection, EachPurposeRefusesTheKeyBeyondItsLimit) {
  const struct {
    int purpose, limit;
    const char* message;
  } cases[] = {
      {0, 4, "You may only select up to four keys."},
      {1, 4, "You may only select up to four keys."},
      {3, 1, "You may only select one key to be the pause key."},
      {7, 1, "You may only select one key for Hxprofiler to hold down in mouselook mode."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.purpose);
    KeySelection s(c.purpose, kNone, kTap, 1);
    for (int k = 0; k < c.limit; ++k) EXPECT_TRUE(s.Click(10 + k));
    EXPECT_FALSE(s.Click(60));
    EXPECT_FALSE(s.IsSelected(60));
    EXPECT_STREQ(s.LimitMessage(), c.message);
    EXPECT_TRUE(s.Click(10));  // removing one makes room again
    EXPECT_TRUE(s.Click(60));
    EXPECT_EQ(s.Count(), c.limit);
  }
}

TEST(KeySelection, OnlyAMotionsKeysShowTheCurrentKeysAndMethod) {
  const struct {
    int purpose, action;
    bool radios, slider;
    Keys result;
  } cases[] = {
      {kPurposeMotionKeys, kPulse, true, true, {39, 74, -1, -1}},
      {kPurposeMotionKeys, kHold, true, false, {39, 74, -1, -1}},
      {kPurposePauseKey, kPulse, false, false, kNone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.purpose);
    KeySelection s(c.purpose, {74, 39, -1, -1}, c.action, 30);
    EXPECT_EQ(s.Result(), c.result);
    EXPECT_EQ(s.Method().RadiosEnabled(), c.radios);
    EXPECT_EQ(s.Method().RateEnabled(), c.slider);
    s.Method().Choose(kPulse);
    EXPECT_EQ(s.Method().RateEnabled(), c.radios);
  }
}

}  // namespace
