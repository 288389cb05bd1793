#include "qmouse/panel_placement.h"

#include "qmouse/cursor_loop.h"
#include "qmouse/dwell.h"

namespace {
int32_t Clamp(int32_t v, int32_t low, int32_t high) { return v > high ? (high < low ? low : high) : v < low ? low : v; }
}  // namespace

void PanelPlacement::Run(const KeyboardInfo& keyboard, const std::vector<Monitor>& monitors, Point cursor) {
  const WindowId panel = host_.Panel();
  if (!panel || monitors.empty()) return;
  const Rect& k = keyboard.rect;
  const int keyboardMonitor = MonitorIndexOf(monitors, k);
  const Rect work = monitors[keyboardMonitor < 0 ? 0 : keyboardMonitor].work;
  const bool due = keyboard.window && (k.left || k.top || k.right || k.bottom);
  const bool rightSide = k.left - work.left <= work.right - k.right;

  if (due && app_.panelHidden.load() &&
      (k.left < work.left || k.top < work.top || k.right > work.right || k.bottom > work.bottom)) {
    host_.ShowPanel();  // the keyboard went off the work area: the user needs the panel back
    app_.panelHidden = 0;
  }

  if (!app_.panelHidden.load()) {
    if (!host_.PanelRect(panelRect_)) return;
    const int32_t pw = panelRect_.Width(), ph = panelRect_.Height();
    const bool noRoom = k.left - work.left < pw && work.right - k.right < pw;
    if (keyboard.window && !noRoom && k.bottom <= work.bottom && k.top >= work.top && due) {
      const int32_t top = work.bottom - k.bottom > k.top - work.top ? k.top : k.bottom - ph;
      if (!rightSide && k.left - work.left > pw) {
        host_.MovePanel({k.left - pw, top});
        leftOfKeyboard_ = true;
      } else if (rightSide && work.right - k.right > pw) {
        host_.MovePanel({k.right, top});
        leftOfKeyboard_ = false;
      }
    }
  }
  KeepOnWorkArea(monitors, cursor);
}

// Tested with the rectangle read before any move of this pass, in this order, against the
// work area of the panel's own monitor. The panel goes to the edge it went past, along it to
// the cursor, but never beyond the work area: the cursor may be on another monitor.
void PanelPlacement::KeepOnWorkArea(const std::vector<Monitor>& monitors, Point c) {
  const Rect& p = panelRect_;
  const int i = MonitorIndexOf(monitors, p);
  if (i < 0) return;
  const Rect& w = monitors[i].work;
  const int32_t pw = p.Width(), ph = p.Height();
  const int32_t cx = Clamp(c.x, w.left, w.right - pw), cy = Clamp(c.y, w.top, w.bottom - ph);
  if (p.left < w.left && p.top > w.top) {
    host_.MovePanel({w.left, cy});
  } else if (p.top < w.top && p.left > w.left) {
    host_.MovePanel({cx, w.top});
  } else if (p.left < w.left && p.top < w.top) {
    host_.MovePanel({w.left, w.top});
  } else if (p.right > w.right && p.bottom < w.bottom) {
    host_.MovePanel({w.right - pw, cy});
  } else if (p.bottom > w.bottom && p.right < w.right) {
    host_.MovePanel({cx, w.bottom - ph});
  } else if ((p.right >= w.right && p.bottom > w.bottom) || (p.right > w.right && p.bottom >= w.bottom)) {
    host_.MovePanel({w.right - pw, w.bottom - ph});
  } else if (!OnSomeWorkArea(monitors, p)) {
    host_.MovePanel(OntoWorkArea(monitors, p));  // on an edge the steps above leave alone
  }
}

Point ConfirmBoxPlace(const Monitor& monitor, int32_t w, int32_t h, bool panelShown, const Rect& p) {
  const Rect& work = monitor.work;
  const Rect& m = monitor.bounds;  // the middle is measured from the monitor's corner
  if (!panelShown) return {m.left + (work.right - m.left) / 2 - w / 2, m.top + (work.bottom - m.top) / 2 - h / 2};
  const int32_t x = p.left < work.right - p.right ? p.left : p.right - w;
  const int32_t y = work.bottom - p.bottom < p.top ? p.top - h : p.bottom;
  return {x, y};
}
