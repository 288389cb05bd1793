#pragma once
// The Power Command editor: a map's fifty-entry list, built with Add, Insert, Replace,
// Remove and Clear from commands set up through the key, button and wheel dialogs.
#include "commands/command.h"
#include "winui/dialog.h"

class PowerCommandEditor : public winui::Dialog {
 public:
  explicit PowerCommandEditor(const Command& map);
  // After DoModal returned IDOK: the fifty slots, powerCount and repeatWhileOut into `map`.
  void CommitTo(Command& map) const;
};
