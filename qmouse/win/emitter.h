#pragma once
// The cursor thread and the desktop it works on.
#include <windows.h>

#include "qmouse/desktop.h"

// Desktop queries for the cursor thread. The desktop rectangle, work area and monitors
// change only on a system notification, so they are read again only after
// InvalidateDesktopCache.
class Win32Desktop : public Desktop {
 public:
  Rect DesktopRect() override;
  Rect WorkArea() override;
  const std::vector<Monitor>& Monitors() override;
  Point CursorPos() override;
  void SetCursorPos(Point p) override;
  Rect CursorClip() override;
  WindowId Foreground() override;
  WindowId WindowAt(Point p) override;
  bool IsWithin(WindowId window, WindowId ancestor) override;
  WindowId ParentOf(WindowId window) override;
  bool IsOurs(WindowId window) override;
  WindowId FindTopLevel(const char* className) override;
  bool WindowRect(WindowId window, Rect& rect) override;

 private:
  void Refresh();
  int32_t seen_ = -1;
  Rect desktop_, work_;
  std::vector<Monitor> monitors_;
};

// Every monitor with its work area and scale, the primary first; one primary monitor from
// the system metrics if the enumeration finds none.
std::vector<Monitor> CurrentMonitors();

// Called on WM_DISPLAYCHANGE and on a work-area change.
void InvalidateDesktopCache();

// Thread procedure; the argument is the NullWindow.
DWORD WINAPI Emitter(void* nullWindow);
