#pragma once
// The "Mouse" page: speed, smoothing and acceleration per axis.
#include "qmouse/win/settings_page.h"

class MousePage : public SettingsPage {
 public:
  explicit MousePage(Settings& values);

 protected:
  BOOL OnInitDialog() override;
  void OnPageCommand(int id, int code) override;
  void OnSliderReleased(int id, int position) override;

 private:
  void ShowPair();
  void ShowValue(int textId, Setting value);

  int choice_ = 0;  // the pair the list shows; not a setting
};
