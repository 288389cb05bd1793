#pragma once
// The mouse wheel dialog: direction, method and speed (101 - slider position); the Power
// Command form without the method.
#include <cstdint>

#include "profiles/mapper_rules.h"
#include "winui/dialog.h"

class WheelDialog : public winui::Dialog {
 public:
  WheelDialog(int direction, int method, int rate, bool powerForm);
  // Meaningful after DoModal returned IDOK (until then what was given).
  int Direction() const { return direction_; }
  int Method() const { return method_; }
  int Rate() const { return rate_; }

 protected:
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void ShowRate();

  WheelChoice choice_;
  int direction_, method_, rate_;
};
