#pragma once
// The user's settings: 32-bit integers read by the cursor thread at the point of use and
// written by the UI thread, so each is an atomic. One table gives every value's registry
// name, default and save order; load and save walk it.
#include <atomic>
#include <cstdint>

#include "qmouse/settings_store.h"

enum class Setting : int {
  DwellCommand, LeftCommand, RightCommand, ForwardCommand, BackCommand,
  LeftPoint, RightPoint, ForwardPoint, BackPoint,
  LeftType, RightType, ForwardType, BackType,
  DwellZone, DwellTime, HoverTime,
  XSpeed, YSpeed, XStabilizer, YStabilizer, XAccel, YAccel,
  SoundMode, GlobalSound, LeftClickSound, RightClickSound, DoubleLeftClickSound,
  DoubleRightClickSound, DragLeftSound, DragRightSound, DropLeftSound, DropRightSound,
  ScrollSound, MenuSound, HoverSound,
  ColorReference, StartupAtBoot, Repeater, Gestures,
  LookAway, LookAwayDirection, LookAwayTime,
  Tracker, TrackerPort, TrackerNetwork,
  Count
};
constexpr int kSettingCount = static_cast<int>(Setting::Count);

struct SettingRow {
  Setting id;
  const char* name;  // registry value name under the "Settings" section
  int32_t defaultValue;
  bool flag;  // stored as 0/1, loaded as 1 when nonzero
};

// In save order.
extern const SettingRow kSettingRows[kSettingCount];
constexpr const char* kSettingsSection = "Settings";

// Click modes, as the menu, panel, settings and click emitter name them.
enum ClickMode : int32_t {
  kNoClick = 32784, kLeftClick, kRightClick, kDoubleLeftClick, kDoubleRightClick,
  kLeftDrag, kRightDrag, kScroll
};

// Sound events in the order the sound page lists them (after the global sound).
enum class SoundEvent { Global, LeftClick, RightClick, DoubleLeft, DoubleRight, DragLeft, DropLeft,
                        DragRight, DropRight, Scroll, Menu, Hover, Count };
Setting SoundSetting(SoundEvent event);

class Settings;
// Copies what the settings pages edit into `target` (every value but the click mode and
// start-at-boot). Returns whether the pages' start-at-boot differs from the target's, which
// the caller stores after updating the Run key.
bool ApplyPageValues(Settings& target, const Settings& pages);

class Settings {
 public:
  Settings();  // every value at its default

  int32_t Get(Setting id) const { return values_[static_cast<int>(id)].load(std::memory_order_relaxed); }
  void Set(Setting id, int32_t value) { values_[static_cast<int>(id)].store(value, std::memory_order_relaxed); }

  void Load(SettingsStore& store);
  // Writes every value, in table order. A failed write is not reported: the next save tries again.
  void Save(SettingsStore& store) const;

 private:
  std::atomic<int32_t> values_[kSettingCount];
};
