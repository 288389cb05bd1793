#pragma once
// The "Options" page: start at boot, repeat clicks, calibration, the centre point, which head
// tracker answers, and the look away that leaves a game or ends Pause.
#include "qmouse/win/confirm_box.h"
#include "qmouse/win/settings_page.h"

class General : public SettingsPage {
 public:
  explicit General(Settings& values);
  // The box the questions use; by default the page's own. The main window hands over the
  // one the dwell step recognises, so that dwell answers it with left clicks.
  void UseConfirmBox(ConfirmBox& box) { confirm_ = &box; }
  // Shows the page values again in the check boxes (while the page is open).
  void ShowValues();

 protected:
  BOOL OnInitDialog() override;
  void OnPageCommand(int id, int code) override;

 private:
  void OnCalibration();
  void OnCenter();
  void ShowTracker();
  void OnTrackerChanged(int id);
  int Ask(const char* text, ConfirmBox::Mode mode = ConfirmBox::kOkCancel);

  bool showing_ = false;  // the page itself is writing the port field
  ConfirmBox ownConfirm_;
  ConfirmBox* confirm_ = &ownConfirm_;
};
