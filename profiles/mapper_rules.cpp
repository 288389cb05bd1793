#include "profiles/mapper_rules.h"

#include <algorithm>

#include "commands/describe.h"

namespace {

bool AnyButton(const int32_t* buttons) {
  return std::any_of(buttons, buttons + 5, [](int32_t b) { return b != 0; });
}

}  // namespace

const char* MapperTitle(int map) {
  static const char* const titles[] = {
      "Move left command settings",    "Move right command settings", "Move up command settings",
      "Move down command settings",    "Move forward command settings", "Move back command settings",
      "Look left command settings",    "Look right command settings", "Look up command settings",
      "Look down command settings"};
  if (map >= 0 && map <= 9) return titles[map];
  if (map >= 10 && map < kMapCount) return titles[map - 10];  // mixed mode repeats the moves
  return "";
}

MapperEnabling MapperEnablingFor(const MapperChecks& c) {
  const bool open = !c.power;
  return {open, open, open, open && c.keys, open && c.buttons, open && c.wheel, c.power};
}

std::string MapperOptionText(MapperOption option, const Command& m) {
  switch (option) {
    case kOptionKeys:
      return describeKeys(m.keyAction, m.keys[0], m.keys[1], m.keys[2], m.keys[3]);
    case kOptionButtons:
      return describeOptionsButtons(m.buttonAction, m.buttons[0], m.buttons[1], m.buttons[2], m.buttons[3],
                                    m.buttons[4]);
    case kOptionWheel:
      return describeWheel(m.wheelMethod, m.wheelDirection);
  }
  return std::string();
}

// The wheel text is rewritten only for a downward wheel; an upward one keeps what it showed.
bool MapperRewritesOnCheck(MapperOption option, const Command& m) {
  switch (option) {
    case kOptionKeys:
      return m.keys[0] != -1;
    case kOptionButtons:
      return AnyButton(m.buttons.data());
    case kOptionWheel:
      return m.wheelDirection > 0;
  }
  return false;
}

bool ApplyKeyResult(Command& map, const std::array<int32_t, kCommandKeys>& keys, int action, int pulseRate) {
  map.keys = keys;
  map.keyAction = action;
  map.keyPulseRate = pulseRate;
  return keys[0] != -1;
}

// Buttons 6-8 are never offered, so whatever the map holds there stays.
bool ApplyButtonResult(Command& map, const std::array<int32_t, 5>& buttons, int action, int pulseRate) {
  if (!AnyButton(buttons.data())) return false;
  std::copy(buttons.begin(), buttons.end(), map.buttons.begin());
  map.buttonAction = action;
  map.buttonPulseRate = pulseRate;
  return true;
}

bool ApplyWheelResult(Command& map, int direction, int method, int rate) {
  if (direction == -1) return false;
  map.wheelDirection = direction;
  map.wheelMethod = method;
  map.wheelRate = rate;
  return true;
}

void ApplyMapperChecks(Command& map, const MapperChecks& c) {
  map.usesPowerCommand = c.power;
  map.usesKeys = c.keys && map.keys[0] >= 0;
  map.usesButtons = c.buttons && AnyButton(map.buttons.data());
  map.usesWheel = c.wheel && map.wheelDirection != -1;
}

WheelChoice::WheelChoice(bool powerForm, int direction, int method, int rate)
    : powerForm_(powerForm), direction_(direction), method_(method), rate_(rate) {}

// Clamped before the subtraction: a rate straight from a file may be anything.
int WheelChoice::SliderPosition() const { return 101 - std::clamp<int32_t>(rate_, 1, 100); }

IndicatorSpan IndicatorAlongSlider(int thumbCentreAtLowest, int thumbCentreAtHighest, int inset) {
  return {thumbCentreAtLowest - inset, thumbCentreAtHighest - thumbCentreAtLowest + 2 * inset};
}
