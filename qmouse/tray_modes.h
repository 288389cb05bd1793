#pragma once
// The click mode around the tray menu. While the menu is open the mode is Left Click, so a
// dwell can choose an item; a command then applies the mode chosen in the menu, or puts back
// the one saved when the menu opened. A dismissed menu leaves Left Click.
#include <cstdint>

#include "qmouse/app_state.h"

class TrayModes {
 public:
  explicit TrayModes(AppState& app) : app_(app), pending_(app.settings.Get(Setting::DwellCommand)) {}

  // After the settings were loaded: the pending mode is the loaded click mode.
  void Reload() { pending_ = app_.settings.Get(Setting::DwellCommand); }
  // Not while scrolling or engaged, and not twice.
  bool CanOpen() const;
  void Opened();
  void Closed();
  // A click-mode command: it becomes the pending and marked mode.
  void Choose(int32_t mode);
  // The common tail of every command: the pending mode becomes the click mode.
  int32_t Tail();

 private:
  AppState& app_;
  int32_t saved_ = kLeftClick;
  int32_t pending_;
};

// Panel radio order differs from the click-mode numbering: Scroll sits fourth on the panel.
int32_t PanelIndexOf(int32_t clickMode);  // -1 for an unknown mode
int32_t ClickModeOfPanelIndex(int32_t index);
