// The settings table: defaults, save order, flags, and values outside the pages' ranges.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "qmouse/settings.h"

namespace {

TEST(Settings, FirstRunDefaults) {
  MemorySettingsStore empty;
  Settings s;
  s.Set(Setting::XSpeed, 33);
  s.Load(empty);
  struct Case {
    Setting id;
    int32_t value;
  } cases[] = {
      {Setting::DwellCommand, 32785}, {Setting::DwellZone, 25},   {Setting::DwellTime, 50},
      {Setting::HoverTime, 50},       {Setting::XSpeed, 10},      {Setting::YSpeed, 10},
      {Setting::XStabilizer, 10},     {Setting::YStabilizer, 10}, {Setting::XAccel, 30},
      {Setting::YAccel, 30},          {Setting::SoundMode, 0},    {Setting::ColorReference, 255},
      {Setting::Gestures, 0},         {Setting::Repeater, 0},     {Setting::StartupAtBoot, 0},
      {Setting::Tracker, 0},          {Setting::TrackerPort, 4242}, {Setting::TrackerNetwork, 0},
      {Setting::LeftPoint, 100},      {Setting::BackPoint, 100},  {Setting::LeftCommand, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(s.Get(c.id), c.value) << kSettingRows[static_cast<int>(c.id)].name;
}

TEST(Settings, SavesEveryValueInOrder) {
  Settings s;
  MemorySettingsStore store;
  s.Save(store);
  const std::vector<std::string> expected = {
      "Dwell Command", "Left Command", "Right Command", "Forward Command", "Back Command",
      "Left Point", "Right Point", "Forward Point", "Back Point",
      "Left Type", "Right Type", "Forward Type", "Back Type",
      "Dwell Zone", "Dwell Time", "Hover Time", "X Speed", "Y Speed", "X Stabilizer", "Y Stabilizer",
      "X Accel", "Y Accel", "Sound Mode", "Global Sound", "Left Click Sound", "Right Click Sound",
      "Double Left Click Sound", "Double Right Click Sound", "Drag Left Sound", "Drag Right Sound",
      "Drop Left Sound", "Drop Right Sound", "Scroll Sound", "Menu Sound", "Hover Sound",
      "Color Reference", "Startup at boot", "Repeater", "Gestures", "Look Away", "Look Away Direction",
      "Look Away Time", "Tracker", "Tracker Port", "Accept Network Poses"};
  EXPECT_EQ(store.WriteOrder(), expected);
  // Every row names its own value: a row pointing at another id would save one value twice.
  std::set<int> ids;
  for (const SettingRow& row : kSettingRows) ids.insert(static_cast<int>(row.id));
  EXPECT_EQ(ids.size(), static_cast<size_t>(kSettingCount));
}

TEST(Settings, RoundTripFlagsAndOutOfRangeValues) {
  MemorySettingsStore store;
  ASSERT_TRUE(store.WriteInt("Settings", "Gestures", 7));
  ASSERT_TRUE(store.WriteInt("Settings", "Repeater", -1));
  ASSERT_TRUE(store.WriteInt("Settings", "Startup at boot", 0));
  ASSERT_TRUE(store.WriteInt("Settings", "Dwell Zone", 100));  // written by hand: used as is
  ASSERT_TRUE(store.WriteInt("Settings", "Dwell Time", -5));
  ASSERT_TRUE(store.WriteInt("Other", "X Speed", 40));          // another section is not ours
  Settings s;
  s.Load(store);
  EXPECT_EQ(s.Get(Setting::Gestures), 1);
  EXPECT_EQ(s.Get(Setting::Repeater), 1);
  EXPECT_EQ(s.Get(Setting::StartupAtBoot), 0);
  EXPECT_EQ(s.Get(Setting::DwellZone), 100);
  EXPECT_EQ(s.Get(Setting::DwellTime), -5);
  EXPECT_EQ(s.Get(Setting::XSpeed), 10);

  s.Set(Setting::ColorReference, 0x00FF8040);
  s.Set(Setting::DropRightSound, 15);
  MemorySettingsStore saved;
  s.Save(saved);
  Settings again;
  again.Load(saved);
  for (const SettingRow& row : kSettingRows) EXPECT_EQ(again.Get(row.id), s.Get(row.id)) << row.name;
}

TEST(Settings, SoundEventsMapToTheirValues) {
  // The page's order puts each drop after its drag.
  EXPECT_EQ(SoundSetting(SoundEvent::Global), Setting::GlobalSound);
  EXPECT_EQ(SoundSetting(SoundEvent::DragLeft), Setting::DragLeftSound);
  EXPECT_EQ(SoundSetting(SoundEvent::DropLeft), Setting::DropLeftSound);
  EXPECT_EQ(SoundSetting(SoundEvent::DragRight), Setting::DragRightSound);
  EXPECT_EQ(SoundSetting(SoundEvent::DropRight), Setting::DropRightSound);
  EXPECT_EQ(SoundSetting(SoundEvent::Hover), Setting::HoverSound);
}

}  // namespace

namespace {

TEST(Settings, ApplyFromPagesLeavesClickModeAndReportsStartup) {
  Settings live, pages;
  live.Set(Setting::DwellCommand, kScroll);
  for (const SettingRow& row : kSettingRows) pages.Set(row.id, 1000 + static_cast<int>(row.id));
  pages.Set(Setting::StartupAtBoot, 0);
  EXPECT_FALSE(ApplyPageValues(live, pages));
  EXPECT_EQ(live.Get(Setting::DwellCommand), kScroll);
  for (const SettingRow& row : kSettingRows) {
    if (row.id == Setting::DwellCommand || row.id == Setting::StartupAtBoot) continue;
    EXPECT_EQ(live.Get(row.id), pages.Get(row.id)) << row.name;
  }
  pages.Set(Setting::StartupAtBoot, 1);
  EXPECT_TRUE(ApplyPageValues(live, pages));
  EXPECT_EQ(live.Get(Setting::StartupAtBoot), 0) << "stored only after the Run key is written";
}

}  // namespace
