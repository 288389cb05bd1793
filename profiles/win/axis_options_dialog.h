#pragma once
// The axis options of one rotation axis in the current mode, and the freelook hold.
#include <cstdint>

#include "profiles/profile.h"
#include "winui/dialog.h"

class AxisOptionsDialog : public winui::Dialog {
 public:
  // The hold is the working copy's, changed there at once whatever closes the dialog.
  explicit AxisOptionsDialog(const AxisOptions& options);
  // Meaningful after DoModal returned IDOK.
  AxisOptions Options() const { return options_; }

 protected:
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void ShowHold();
  void EnableHold();
  void OnSliderReleased(int id, int position);
  void ReadSensitivities();
  void SetHold();

  AxisOptions options_;
};
