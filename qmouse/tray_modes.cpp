#include "qmouse/tray_modes.h"

namespace {
constexpr int32_t kPanelOrder[] = {kNoClick, kLeftClick, kRightClick, kScroll,
                                   kDoubleLeftClick, kDoubleRightClick, kLeftDrag, kRightDrag};
}

bool TrayModes::CanOpen() const {
  return !app_.trayMenuOpen.load() && !app_.scrollMode.load() && !app_.engaged.load();
}

void TrayModes::Opened() {
  app_.trayMenuOpen = 1;
  saved_ = app_.settings.Get(Setting::DwellCommand);
  app_.settings.Set(Setting::DwellCommand, kLeftClick);
}

void TrayModes::Closed() {
  app_.trayMenuOpen = 0;
  pending_ = saved_;
}

void TrayModes::Choose(int32_t mode) {
  pending_ = mode;
  app_.markedClickMode = mode;
}

int32_t TrayModes::Tail() {
  app_.settings.Set(Setting::DwellCommand, pending_);
  app_.markedClickMode = pending_;
  return pending_;
}

int32_t PanelIndexOf(int32_t clickMode) {
  for (int32_t i = 0; i < 8; ++i)
    if (kPanelOrder[i] == clickMode) return i;
  return -1;
}

int32_t ClickModeOfPanelIndex(int32_t index) { return index >= 0 && index < 8 ? kPanelOrder[index] : kNoClick; }
