#include "qmouse/settings.h"

#include "device/opentrack_pose.h"
#include "device/tracker_choice.h"

const SettingRow kSettingRows[kSettingCount] = {
    {Setting::DwellCommand, "Dwell Command", kLeftClick, false},
    {Setting::LeftCommand, "Left Command", 0, false},
    {Setting::RightCommand, "Right Command", 0, false},
    {Setting::ForwardCommand, "Forward Command", 0, false},
    {Setting::BackCommand, "Back Command", 0, false},
    {Setting::LeftPoint, "Left Point", 100, false},
    {Setting::RightPoint, "Right Point", 100, false},
    {Setting::ForwardPoint, "Forward Point", 100, false},
    {Setting::BackPoint, "Back Point", 100, false},
    {Setting::LeftType, "Left Type", 0, false},
    {Setting::RightType, "Right Type", 0, false},
    {Setting::ForwardType, "Forward Type", 0, false},
    {Setting::BackType, "Back Type", 0, false},
    {Setting::DwellZone, "Dwell Zone", 25, false},
    {Setting::DwellTime, "Dwell Time", 50, false},
    {Setting::HoverTime, "Hover Time", 50, false},
    {Setting::XSpeed, "X Speed", 10, false},
    {Setting::YSpeed, "Y Speed", 10, false},
    {Setting::XStabilizer, "X Stabilizer", 10, false},
    {Setting::YStabilizer, "Y Stabilizer", 10, false},
    {Setting::XAccel, "X Accel", 30, false},
    {Setting::YAccel, "Y Accel", 30, false},
    {Setting::SoundMode, "Sound Mode", 0, false},
    {Setting::GlobalSound, "Global Sound", 0, false},
    {Setting::LeftClickSound, "Left Click Sound", 0, false},
    {Setting::RightClickSound, "Right Click Sound", 0, false},
    {Setting::DoubleLeftClickSound, "Double Left Click Sound", 0, false},
    {Setting::DoubleRightClickSound, "Double Right Click Sound", 0, false},
    {Setting::DragLeftSound, "Drag Left Sound", 0, false},
    {Setting::DragRightSound, "Drag Right Sound", 0, false},
    {Setting::DropLeftSound, "Drop Left Sound", 0, false},
    {Setting::DropRightSound, "Drop Right Sound", 0, false},
    {Setting::ScrollSound, "Scroll Sound", 0, false},
    {Setting::MenuSound, "Menu Sound", 0, false},
    {Setting::HoverSound, "Hover Sound", 0, false},
    {Setting::ColorReference, "Color Reference", 255, false},
    {Setting::StartupAtBoot, "Startup at boot", 0, true},
    {Setting::Repeater, "Repeater", 0, true},
    {Setting::Gestures, "Gestures", 0, true},
    {Setting::LookAway, "Look Away", 0, true},
    {Setting::LookAwayDirection, "Look Away Direction", 0, false},
    {Setting::LookAwayTime, "Look Away Time", 2000, false},
    // Which head tracker answers (0 the tracker's driver, 1 opentrack over UDP); hxprofiler
    // and the control panel read these too.
    {Setting::Tracker, kTrackerValue, 0, false},
    {Setting::TrackerPort, kTrackerPortValue, kOpentrackDefaultPort, false},
    {Setting::TrackerNetwork, kTrackerNetworkValue, 0, true},
};

Setting SoundSetting(SoundEvent event) {
  // The sound page's order differs from the save order for drags and drops.
  static constexpr Setting kOrder[] = {
      Setting::GlobalSound,    Setting::LeftClickSound,  Setting::RightClickSound,
      Setting::DoubleLeftClickSound, Setting::DoubleRightClickSound, Setting::DragLeftSound,
      Setting::DropLeftSound,  Setting::DragRightSound,  Setting::DropRightSound,
      Setting::ScrollSound,    Setting::MenuSound,       Setting::HoverSound};
  static_assert(sizeof kOrder / sizeof kOrder[0] == static_cast<int>(SoundEvent::Count));
  return kOrder[static_cast<int>(event)];
}

Settings::Settings() {
  for (const SettingRow& row : kSettingRows) Set(row.id, row.defaultValue);
}

void Settings::Load(SettingsStore& store) {
  for (const SettingRow& row : kSettingRows) {
    int32_t value = store.ReadInt(kSettingsSection, row.name, row.defaultValue);
    Set(row.id, row.flag ? (value != 0 ? 1 : 0) : value);
  }
}

void Settings::Save(SettingsStore& store) const {
  for (const SettingRow& row : kSettingRows) {
    int32_t value = Get(row.id);
    (void)store.WriteInt(kSettingsSection, row.name, row.flag ? (value != 0 ? 1 : 0) : value);
  }
}

bool ApplyPageValues(Settings& target, const Settings& pages) {
  for (const SettingRow& row : kSettingRows) {
    if (row.id == Setting::DwellCommand || row.id == Setting::StartupAtBoot) continue;
    target.Set(row.id, pages.Get(row.id));
  }
  return pages.Get(Setting::StartupAtBoot) != target.Get(Setting::StartupAtBoot);
}
