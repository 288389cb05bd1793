#pragma once
// The key command dialog: a keyboard picture of 101 push-like keys, the prompt of its
// purpose, and for motion keys the method and the pulse rate.
#include <array>
#include <cstdint>

#include "commands/command.h"
#include "commands/key_selection.h"
#include "winui/dialog.h"

class KeyCommandDialog : public winui::Dialog {
 public:
  KeyCommandDialog(int purpose, const std::array<int32_t, kCommandKeys>& keys, int action, int pulseRate);
  // What the user chose; meaningful after DoModal returned IDOK (until then what was given).
  std::array<int32_t, kCommandKeys> Keys() const { return keys_; }
  int Action() const { return action_; }
  int PulseRate() const { return pulseRate_; }

 protected:
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void ShowMethod();

  KeySelection selection_;
  std::array<int32_t, kCommandKeys> keys_;
  int action_, pulseRate_;
};
