#include "qmouse/settings_pages.h"

#include <algorithm>

int32_t SliderPosition(const SliderRule& rule, int32_t value) {
  // 64-bit, so that a hand-written extreme cannot overflow 120 - value.
  const int64_t position = rule.reversed ? 120 - static_cast<int64_t>(value) : value;
  return static_cast<int32_t>(std::clamp<int64_t>(position, rule.minPosition, rule.maxPosition));
}

int32_t SliderValue(const SliderRule& rule, int32_t position) {
  position = std::clamp(position, rule.minPosition, rule.maxPosition);
  return rule.reversed ? 120 - position : position;
}

AxisPair MousePair(int choice) {
  static constexpr AxisPair kPairs[kMousePairCount] = {
      {Setting::XAccel, Setting::YAccel},
      {Setting::XStabilizer, Setting::YStabilizer},
      {Setting::XSpeed, Setting::YSpeed},
  };
  return kPairs[std::clamp(choice, 0, kMousePairCount - 1)];
}

SoundListAccess SoundListsFor(int32_t mode) {
  switch (mode) {
    case 1: return {false, true};
    case 2: return {true, true};
    default: return {false, false};
  }
}

int SoundChoice(int32_t id) { return id >= 0 && id < kSoundCount ? static_cast<int>(id) : -1; }
