#pragma once
// The mouse wheel dialog: direction, method and speed (101 - slider position); the Power
// Command form without the method.
#include <cstdint>

#include "winui/dialog.h"

class WheelDialog : public winui::Dialog {
 public:
  WheelDialog(int direction, int method, int rate, bool powerForm);
  // Meaningful after DoModal returned IDOK.
  int Direction() const;
  int Method() const;
  int Rate() const;
};
