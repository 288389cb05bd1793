#pragma once
// The window-system queries the cursor and dwell logic need. The Win32 side answers them
// (caching what changes only on a system notification); tests fake them.
#include "qmouse/app_state.h"
#include "qmouse/geometry.h"

class Desktop {
 public:
  virtual ~Desktop() = default;
  virtual Rect DesktopRect() = 0;
  virtual Rect WorkArea() = 0;
  virtual Point CursorPos() = 0;
  virtual void SetCursorPos(Point p) = 0;
  virtual WindowId Foreground() = 0;
  virtual WindowId WindowAt(Point p) = 0;
  // Whether `window` is `ancestor` or one of its descendants.
  virtual bool IsWithin(WindowId window, WindowId ancestor) = 0;
  virtual WindowId ParentOf(WindowId window) = 0;
  // A top-level window of this class (any title), or 0.
  virtual WindowId FindTopLevel(const char* className) = 0;
  virtual bool WindowRect(WindowId window, Rect& rect) = 0;
};
