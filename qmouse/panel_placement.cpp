#include "qmouse/panel_placement.h"

#include "qmouse/cursor_loop.h"
#include "qmouse/dwell.h"

void PanelPlacement::Run(const KeyboardInfo& keyboard, const Rect& work, Point cursor) {
  const WindowId panel = host_.Panel();
  if (!panel) return;
  const Rect& k = keyboard.rect;
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
  KeepOnWorkArea(work, cursor);
}

// Tested with the rectangle read before any move of this pass, in this order.
void PanelPlacement::KeepOnWorkArea(const Rect& w, Point c) {
  const Rect& p = panelRect_;
  const int32_t pw = p.Width(), ph = p.Height();
  if (p.left < w.left && p.top > w.top) {
    host_.MovePanel({0, c.y});
  } else if (p.top < w.top && p.left > w.left) {
    host_.MovePanel({c.x, 0});
  } else if (p.left < w.left && p.top < w.top) {
    host_.MovePanel({0, 0});
  } else if (p.right > w.right && p.bottom < w.bottom) {
    host_.MovePanel({w.right - pw, c.y});
  } else if (p.bottom > w.bottom && p.right < w.right) {
    host_.MovePanel({c.x, w.bottom - ph});
  } else if ((p.right >= w.right && p.bottom > w.bottom) || (p.right > w.right && p.bottom >= w.bottom)) {
    host_.MovePanel({w.right - pw, w.bottom - ph});
  }
}

Point ConfirmBoxPlace(const Rect& work, int32_t w, int32_t h, bool panelShown, const Rect& p) {
  if (!panelShown) return {work.right / 2 - w / 2, work.bottom / 2 - h / 2};
  const int32_t x = p.left < work.right - p.right ? p.left : p.right - w;
  const int32_t y = work.bottom - p.bottom < p.top ? p.top - h : p.bottom;
  return {x, y};
}
