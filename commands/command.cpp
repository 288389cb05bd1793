#include "commands/command.h"

void Command::reset() {
  for (auto& label : powerLabels) label.clear();
  usesKeys = usesButtons = usesWheel = usesPowerCommand = 0;
  buttons.fill(0);
  for (auto& b : powerButtons) b.fill(0);
  repeatWhileOut = 0;
  keys.fill(-1);
  keyAction = 0;
  keyPulseRate = 1;
  buttonAction = 0;
  buttonPulseRate = 1;
  wheelDirection = 0;
  wheelMethod = 0;
  wheelRate = 1;
  powerCount = 0;
  powerType.fill(kPowerEmpty);
  for (auto& k : powerKeys) k.fill(-1);
  powerWheelDirection.fill(0);
  powerDelay.fill(0);
  powerDuration.fill(0);
}
