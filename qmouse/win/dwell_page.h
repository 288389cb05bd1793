#pragma once
// The "Dwell" page: hover and dwell time, the dwell zone and the indicator colour.
#include "qmouse/win/settings_page.h"

class DwellPage : public SettingsPage {
 public:
  explicit DwellPage(Settings& values);

 protected:
  BOOL OnInitDialog() override;
  void OnPageCommand(int id, int code) override;
  void OnSliderReleased(int id, int position) override;

 private:
  void ShowColour();
  void ChangeColour();

  COLORREF customColours_[16] = {};  // the colour dialog wants them, though they stay locked
};
