#pragma once
// Keeps the floating panel beside the on-screen keyboard, on the side with more room, and
// on the work area of the monitor it is on. Run by the cursor thread in every normal pass
// outside scroll and drags.
#include <vector>

#include "qmouse/app_state.h"
#include "qmouse/geometry.h"
#include "qmouse/monitors.h"

class Desktop;
class EmitterHost;
struct KeyboardInfo;

class PanelPlacement {
 public:
  PanelPlacement(AppState& app, Desktop& desktop, EmitterHost& host) : app_(app), desktop_(desktop), host_(host) {}

  // The keyboard's work area is that of the monitor it is on; the panel stays on the
  // monitor it was put on, unless it no longer exists.
  void Run(const KeyboardInfo& keyboard, const std::vector<Monitor>& monitors, Point cursor);
  // Whether the panel was last put on the keyboard's left; decides the side of the
  // vertical dwell indicator.
  bool PanelLeftOfKeyboard() const { return leftOfKeyboard_; }

 private:
  void KeepOnWorkArea(const std::vector<Monitor>& monitors, Point cursor);

  AppState& app_;
  Desktop& desktop_;
  EmitterHost& host_;
  Rect panelRect_;  // as last read
  bool leftOfKeyboard_ = false;
};

// Where the confirmation box goes: beside the panel, on the side and at the end with more
// room, or in the middle of the work area while no panel is shown; `monitor` is the one of
// the panel, or of the cursor while there is none.
Point ConfirmBoxPlace(const Monitor& monitor, int32_t width, int32_t height, bool panelShown, const Rect& panel);
