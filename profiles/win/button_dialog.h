#pragma once
// The mouse button dialog: buttons 1-5 (6-8 are never shown), the click method and the
// pulse speed; the buttons-only form for Power Command entries.
#include <array>
#include <cstdint>

#include "commands/command.h"
#include "commands/key_selection.h"
#include "winui/dialog.h"

class MouseButtonDialog : public winui::Dialog {
 public:
  MouseButtonDialog(const std::array<int32_t, kCommandButtons>& buttons, int action, int pulseRate, bool buttonsOnly);
  // Meaningful after DoModal returned IDOK (until then what was given).
  std::array<int32_t, kCommandButtons> Buttons() const { return buttons_; }
  int Action() const { return action_; }
  int PulseRate() const { return pulseRate_; }

 protected:
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void ShowRate();

  std::array<int32_t, kCommandButtons> checked_, buttons_;
  ActionChoice method_;
  int action_, pulseRate_;
};
