#pragma once
// The "Sounds" page: no sound, one for all, or one per event.
#include "qmouse/win/settings_page.h"

class SoundsPage : public SettingsPage {
 public:
  explicit SoundsPage(Settings& values);

 protected:
  BOOL OnInitDialog() override;
  void OnPageCommand(int id, int code) override;

 private:
  void EnableLists();
  void ShowSound(Setting sound);
  Setting EventSound() const;

  int event_ = 0;  // index into the event list; not a setting
};
