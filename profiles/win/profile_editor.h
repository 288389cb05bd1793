#pragma once
// The profile editor: mode, the motion list, hot keys, axis options and the game, all on the
// working copy. The caller copies the working copy back on IDOK.
#include "winui/dialog.h"

class ProfileEditor : public winui::Dialog {
 public:
  ProfileEditor();
};
