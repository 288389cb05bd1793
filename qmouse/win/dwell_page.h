#pragma once
// The "Dwell" page: hover and dwell time, the dwell zone and the indicator colour.
#include "qmouse/win/settings_page.h"

class DwellPage : public SettingsPage {
 public:
  explicit DwellPage(Settings& values);
};
