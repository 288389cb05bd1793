#include "qmouse/dwell.h"

#include <climits>
#include <cmath>

#include "qmouse/cursor_loop.h"

int32_t ProgressFill(int32_t size, int32_t elapsed, int32_t dwellTime) {
  if (size <= 0) return 0;
  if (dwellTime <= -1) return size;  // a nonsense dwell time must not divide by zero: full at once
  const int64_t step = static_cast<int64_t>(size) / (static_cast<int64_t>(dwellTime) + 1);
  const double fill = std::trunc((static_cast<double>(step) + 1.5) * elapsed + 0.5);
  if (fill <= 0) return 0;
  return fill >= size ? size : static_cast<int32_t>(fill);
}

namespace {

bool StrictlyInside(Point p, const Rect& r) {
  return p.x > r.left && p.x < r.right && p.y > r.top && p.y < r.bottom;
}

// The open square of half-width `zone` around `centre`; in 64 bits so that no setting overflows.
Rect Zone(Point centre, int32_t zone) {
  auto clamp = [](int64_t v) {
    return static_cast<int32_t>(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v);
  };
  return {clamp(int64_t{centre.x} - zone), clamp(int64_t{centre.y} - zone), clamp(int64_t{centre.x} + zone),
          clamp(int64_t{centre.y} + zone)};
}

}  // namespace

IndicatorPlace PlaceIndicator(Point last, WindowId under, const KeyboardInfo& keyboard, const Rect& work,
                              const ScreenMeasures& m, bool panelHidden, bool panelLeftOfKeyboard) {
  const Rect& k = keyboard.rect;
  if (keyboard.window && under == keyboard.window && work.right - k.right > m.w53 && k.left - work.left > m.w53 &&
      work.bottom - k.bottom > m.h40 && k.top - work.top > m.h40) {
    const bool right = panelHidden ? work.right - k.right >= k.left - work.left : panelLeftOfKeyboard;
    const int32_t left = right ? k.right : k.left - m.w53;
    return {Indicator::Vertical, {left, k.top, left + m.w53, k.top + m.h12}};
  }
  // Both vertical offsets use the horizontal measure, as the indicator always has. The
  // middle is the cursor's monitor's, measured from its own corner.
  const int32_t x = last.x - m.monitor.left > (work.right - m.monitor.left) / 2 ? last.x - m.w16 : last.x;
  const int32_t y = last.y - m.monitor.top > (work.bottom - m.monitor.top) / 2 ? last.y - m.w16 : last.y + m.w16;
  return {Indicator::Horizontal, {x, y, x + m.w16, y + m.h40}};
}

// Over the program's own windows a dwell clicks with the left button whatever the click
// mode, so the user can always operate them; a drag or a scroll under way still ends with
// the mode's click, so a game's shortcut can be dropped on them. False when this pass
// clicks nothing.
bool Dwell::ChooseCommand(WindowId under, int32_t& command) {
  const int32_t mode = app_.settings.Get(Setting::DwellCommand);
  if (app_.dragLeft.load() || app_.dragRight.load() || app_.scrollMode.load()) {
    command = mode;
    return mode != kNoClick;
  }
  const WindowId panel = host_.Panel();
  if (app_.forceLeft.load()) {
    command = kLeftClick;
  } else if (panel && under && desktop_.IsWithin(under, panel)) {
    const bool button = desktop_.ParentOf(under) == panel;
    command = !button && mode == kLeftDrag ? kLeftDrag : kLeftClick;
  } else if ((under && desktop_.IsOurs(under)) || app_.confirmOpen.load()) {
    command = kLeftClick;
  } else {
    command = mode;
  }
  return command != kNoClick;
}

void Dwell::Step(Point last, WindowId under, const KeyboardInfo& keyboard, const ScreenMeasures& m,
                 bool panelLeftOfKeyboard) {
  int32_t command = kNoClick;
  if (!ChooseCommand(under, command)) return;
  Rect zone = Zone(app_.dwellAnchor, app_.settings.Get(Setting::DwellZone));
  if (app_.holdCursor.load()) return;

  int32_t& count = app_.dwellCount;
  if (StrictlyInside(last, zone) && armed_) {
    if (count < INT32_MAX) ++count;
    const int32_t hover = app_.settings.Get(Setting::HoverTime);
    if (count > hover) {
      if (!shown_) {
        shown_ = true;
        if (!app_.scrollMode.load()) zone = Zone(last, app_.settings.Get(Setting::DwellZone));
        const IndicatorPlace place = PlaceIndicator(last, under, keyboard,
                                                    m.workArea, m, app_.panelHidden.load() != 0, panelLeftOfKeyboard);
        inUse_ = place.which;
        indicators_.Show(place.which, place.bounds, app_.settings.Get(Setting::ColorReference));
      }
      const int64_t elapsed = int64_t{count} - hover;
      const int32_t remaining = indicators_.Progress(
          inUse_, static_cast<int32_t>(elapsed > INT32_MAX ? INT32_MAX : elapsed), app_.settings.Get(Setting::DwellTime));
      fire_ = remaining <= 1;
      if (fire_) {
        lastClickZone_ = zone;
        count = 0;
        indicators_.Hide(inUse_);
        shown_ = false;
        fire_ = false;
        armed_ = false;
        if (command == kScroll) app_.scrollMode = app_.scrollMode.load() ? 0 : 1;
        clicker_.Emit(command);
      }
    }
  } else {
    count = 0;
    if (shown_ && !app_.engaged.load()) {
      indicators_.Hide(inUse_);
      armed_ = true;
      shown_ = false;
      fire_ = false;
    }
  }

  if (count == 0) {
    // After a click the cursor must leave the click's place before the next dwell there.
    if (!armed_) armed_ = app_.settings.Get(Setting::Repeater) != 0 || !StrictlyInside(last, lastClickZone_);
    if (!app_.scrollMode.load()) app_.dwellAnchor = last;
  }
}

void Dwell::OnPhysicalMouse() {
  app_.dwellCount = 0;
  indicators_.Hide(Indicator::Horizontal);
  indicators_.Hide(Indicator::Vertical);
  fire_ = false;
}
