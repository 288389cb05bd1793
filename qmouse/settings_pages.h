#pragma once
// Rules of the settings pages that need no window: where a slider shows a value and which
// value a position stands for, the Mouse page's pairs, and what a sound mode lets the user
// reach. Odd stored values (hand-edited registry) get a harmless display here; the pages
// never write a value back unless the user changes it.
#include <cstdint>

#include "qmouse/settings.h"

struct SliderRule {
  int32_t minPosition, maxPosition;
  bool reversed;  // position = 120 - value, so that the faster end is on the right
};

constexpr SliderRule kMouseSlider = {10, 40, false};
constexpr SliderRule kTimeSlider = {20, 100, true};
constexpr SliderRule kZoneSlider = {15, 45, false};

// The position that shows `value`; a value outside the range shows at the nearest end.
int32_t SliderPosition(const SliderRule& rule, int32_t value);
// The value a (ranged) position stands for.
int32_t SliderValue(const SliderRule& rule, int32_t position);

// The Mouse page's list, unsorted: "Acceleration", "Smoothing", "Speed".
struct AxisPair {
  Setting horizontal, vertical;
};
constexpr int kMousePairCount = 3;
constexpr int kSpeedChoice = 2;
AxisPair MousePair(int choice);  // choice 0..2

constexpr int kSoundCount = 16;  // ids 0 (no sound) to 15
struct SoundListAccess {
  bool events, sounds;
};
// Which lists a sound mode enables; a mode outside 0..2 enables neither.
SoundListAccess SoundListsFor(int32_t mode);
// The sound list's index for a stored id: -1 (no selection) for anything but 0..15.
int SoundChoice(int32_t id);

// A colour the swatch can show: 0x00BBGGRR. Negative or flagged values are not colours.
inline bool IsPlainColour(int32_t value) { return (static_cast<uint32_t>(value) & 0xFF000000u) == 0; }
