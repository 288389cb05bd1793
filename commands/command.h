#pragma once
// The command of one head motion in a game profile: keys, mouse buttons, wheel, or a Power
// Command list of up to 50 scripted steps, each with an action. Its field order in the
// profile file is fixed by Serialize below.
#include <array>
#include <cstdint>
#include <string>

constexpr int kPowerEntries = 50;
constexpr int kCommandButtons = 8;
constexpr int kCommandKeys = 4;
constexpr int kMapCount = 16;

enum CommandAction : int32_t { kTap = 0, kHold = 1, kToggle = 2, kPulse = 3, kPulseByDeflection = 4 };
enum PowerType : int32_t { kPowerEmpty = -1, kPowerKeypress = 0, kPowerButtonClick = 1, kPowerWheelTick = 2 };
enum OperatingMode : int32_t { kMouselook = 0, kCommandMode = 1, kMixedMode = 2 };

class Command {
 public:
  static constexpr const char* kClassName = "Command";
  static constexpr uint16_t kSchema = 421;

  Command() { reset(); }
  // Every field back to its default, labels emptied, no Power Command entries.
  void reset();
  // A map counts as set when it sends anything.
  bool IsSet() const { return usesKeys || usesButtons || usesWheel || usesPowerCommand; }

  // Writes or reads every field, in the profile file's order. `Ar` offers Int(int32_t&) and
  // String(std::string&), each returning false once the stream has failed.
  template <typename Ar>
  bool Serialize(Ar& ar);

  std::array<std::string, kPowerEntries> powerLabels;
  int32_t usesKeys, usesButtons, usesWheel, usesPowerCommand;
  std::array<int32_t, kCommandButtons> buttons;
  std::array<std::array<int32_t, kCommandButtons>, kPowerEntries> powerButtons;
  int32_t repeatWhileOut;
  std::array<int32_t, kCommandKeys> keys;
  int32_t keyAction, keyPulseRate, buttonAction, buttonPulseRate;
  int32_t wheelDirection, wheelMethod, wheelRate;
  int32_t powerCount;
  std::array<int32_t, kPowerEntries> powerType;
  std::array<std::array<int32_t, kCommandKeys>, kPowerEntries> powerKeys;
  std::array<int32_t, kPowerEntries> powerWheelDirection, powerDelay, powerDuration;
};

template <typename Ar>
bool Command::Serialize(Ar& ar) {
  bool ok = ar.Int(usesKeys) && ar.Int(usesButtons) && ar.Int(usesWheel) && ar.Int(usesPowerCommand) &&
            ar.Int(keyAction) && ar.Int(keyPulseRate) && ar.Int(buttonAction) && ar.Int(buttonPulseRate) &&
            ar.Int(wheelDirection) && ar.Int(wheelMethod) && ar.Int(wheelRate) && ar.Int(repeatWhileOut) &&
            ar.Int(powerCount);
  for (int i = 0; ok && i < kPowerEntries; ++i) {
    for (int k = 0; ok && k < kCommandKeys; ++k) ok = ar.Int(powerKeys[i][k]) && ar.Int(powerButtons[i][k]);
    for (int b = kCommandKeys; ok && b < kCommandButtons; ++b) ok = ar.Int(powerButtons[i][b]);
    ok = ok && ar.Int(powerType[i]) && ar.Int(powerWheelDirection[i]) && ar.Int(powerDelay[i]) &&
         ar.Int(powerDuration[i]) && ar.String(powerLabels[i]);
  }
  for (int k = 0; ok && k < kCommandKeys; ++k) ok = ar.Int(keys[k]) && ar.Int(buttons[k]);
  for (int b = kCommandKeys; ok && b < kCommandButtons; ++b) ok = ar.Int(buttons[b]);
  return ok;
}
