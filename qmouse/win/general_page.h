#pragma once
// The "Options" page: start at boot, repeat clicks, calibration and the centre point.
#include "qmouse/win/settings_page.h"

class General : public SettingsPage {
 public:
  explicit General(Settings& values);
};
