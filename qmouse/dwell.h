#pragma once
// Dwell clicking: counts readings with the cursor inside a small square, shows a progress
// indicator after the hover time, and clicks when it is full.
#include <cstdint>

#include "qmouse/app_state.h"
#include "qmouse/click_emitter.h"
#include "qmouse/desktop.h"
#include "qmouse/dwell_seams.h"

struct ScreenMeasures;
class EmitterHost;

// Where an indicator goes for a dwell at `last`: the vertical one beside the on-screen
// keyboard when the cursor is on the keyboard and there is room, else the horizontal one
// near the cursor, away from the middle of the screen.
struct IndicatorPlace {
  Indicator which;
  Rect bounds;
};
struct KeyboardInfo {
  WindowId window = 0;  // 0 when there is no on-screen keyboard
  Rect rect;
};
IndicatorPlace PlaceIndicator(Point last, WindowId under, const KeyboardInfo& keyboard, const Rect& work,
                              const ScreenMeasures& m, bool panelHidden, bool panelLeftOfKeyboard);

class Dwell {
 public:
  Dwell(AppState& app, Desktop& desktop, EmitterHost& host, DwellIndicators& indicators, ClickEmitter& clicker)
      : app_(app), desktop_(desktop), host_(host), indicators_(indicators), clicker_(clicker) {}

  // One step per normal pass, after the cursor has moved. `under` is the window under the
  // cursor; the caller may leave it 0 while none of the program's windows and no on-screen
  // keyboard exist, since then nothing here asks for it.
  void Step(Point last, WindowId under, const KeyboardInfo& keyboard, const ScreenMeasures& m,
            bool panelLeftOfKeyboard);
  // The physical mouse moved: the count starts again and the indicators go.
  void OnPhysicalMouse();

  bool Armed() const { return armed_; }
  bool Shown() const { return shown_; }

 private:
  bool ChooseCommand(WindowId under, int32_t& command);

  AppState& app_;
  Desktop& desktop_;
  EmitterHost& host_;
  DwellIndicators& indicators_;
  ClickEmitter& clicker_;

  bool armed_ = true;
  bool shown_ = false;
  bool fire_ = false;
  Indicator inUse_ = Indicator::Horizontal;
  Rect lastClickZone_ = {0, 0, 0, 0};
};
