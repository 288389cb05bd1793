#pragma once
// The "Gesture" page: the four gestures, their actions and required motion, with a live bar.
#include "qmouse/win/settings_page.h"

class Gesture : public SettingsPage {
 public:
  explicit Gesture(Settings& values);
};
