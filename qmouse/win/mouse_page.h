#pragma once
// The "Mouse" page: speed, smoothing and acceleration per axis.
#include "qmouse/win/settings_page.h"

class MousePage : public SettingsPage {
 public:
  explicit MousePage(Settings& values);
};
