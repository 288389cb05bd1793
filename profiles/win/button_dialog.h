#pragma once
// The mouse button dialog: buttons 1-5 (6-8 are never shown), the click method and the
// pulse speed; the buttons-only form for Power Command entries.
#include <array>
#include <cstdint>

#include "commands/command.h"
#include "winui/dialog.h"

class MouseButtonDialog : public winui::Dialog {
 public:
  MouseButtonDialog(const std::array<int32_t, kCommandButtons>& buttons, int action, int pulseRate, bool buttonsOnly);
  // Meaningful after DoModal returned IDOK.
  std::array<int32_t, kCommandButtons> Buttons() const;
  int Action() const;
  int PulseRate() const;
};
