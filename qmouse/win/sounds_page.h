#pragma once
// The "Sounds" page: no sound, one for all, or one per event.
#include "qmouse/win/settings_page.h"

class SoundsPage : public SettingsPage {
 public:
  explicit SoundsPage(Settings& values);
};
