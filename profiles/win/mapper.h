#pragma once
// The command options dialog of one motion: which of keys, buttons, wheel and Power Command
// it uses, each set through its own dialog (written into the map at once), and its dead
// zone, against a live view of the head's deflection read by `MapperEmitter`.
#include <cstdint>

#include "commands/command.h"
#include "profiles/mapper_rules.h"
#include "winui/dialog.h"

class Mapper : public winui::Dialog {
 public:
  Mapper(Command& map, int mapIndex, int itemIndex, const MapperChecks& checks, int32_t deadZone);
  // Meaningful after DoModal returned IDOK.
  MapperChecks Checks() const;
  int32_t DeadZone() const;
};
