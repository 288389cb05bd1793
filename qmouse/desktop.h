#pragma once
// The window-system queries the cursor and dwell logic need. The Win32 side answers them
// (caching what changes only on a system notification); tests fake them.
#include "qmouse/app_state.h"
#include <vector>

#include "qmouse/geometry.h"
#include "qmouse/monitors.h"

class Desktop {
 public:
  virtual ~Desktop() = default;
  // The primary monitor and its work area, where the taskbar is.
  virtual Rect DesktopRect() = 0;
  virtual Rect WorkArea() = 0;
  // Every monitor, the primary first. The list is kept until the next system notification,
  // so the reference is good for a pass. Without an answer of its own, a desktop has one
  // monitor at 96 DPI: the primary one.
  virtual const std::vector<Monitor>& Monitors() {
    if (single_.empty()) single_.resize(1);
    single_[0] = {DesktopRect(), WorkArea(), 96};
    return single_;
  }
  virtual Point CursorPos() = 0;
  // The system puts the cursor at the nearest point inside CursorClip().
  virtual void SetCursorPos(Point p) = 0;
  // The rectangle the cursor is confined to: one a program set with ClipCursor (a game's),
  // else the bounding box of the monitors, which is what a desktop without an answer of its
  // own gives.
  virtual Rect CursorClip() { return BoundingBox(Monitors()); }
  virtual WindowId Foreground() = 0;
  virtual WindowId WindowAt(Point p) = 0;
  // Whether `window` is `ancestor` or one of its descendants.
  virtual bool IsWithin(WindowId window, WindowId ancestor) = 0;
  virtual WindowId ParentOf(WindowId window) = 0;
  // Whether `window` belongs to this program: its dialogs, boxes, menus and their lists.
  virtual bool IsOurs(WindowId window) = 0;
  // A top-level window of this class (any title), or 0.
  virtual WindowId FindTopLevel(const char* className) = 0;
  virtual bool WindowRect(WindowId window, Rect& rect) = 0;

 private:
  std::vector<Monitor> single_;
};
