#pragma once
// Several monitors, as pure functions over their rectangles. The cursor moves over all of
// them; the dwell indicators and the screen measures follow the monitor the cursor is on,
// and the floating panel the monitor it was put on.
#include <cstdint>
#include <vector>

#include "qmouse/geometry.h"

struct Monitor {
  Rect bounds;      // in virtual-screen pixels; the primary monitor starts at 0,0
  Rect work;        // bounds less the taskbar and other docked bars
  int32_t dpi = 96;  // the monitor's scale as dots per inch; 96 is 100 %
  bool operator==(const Monitor& o) const { return bounds == o.bounds && work == o.work && dpi == o.dpi; }
  bool operator!=(const Monitor& o) const { return !(*this == o); }
};

// The monitor holding `p`, else the one nearest to it, as the window system chooses; -1
// only when there are no monitors.
int MonitorIndexAt(const std::vector<Monitor>& monitors, Point p);

// The monitor a window belongs to: the one it overlaps most, else the one nearest to it.
int MonitorIndexOf(const std::vector<Monitor>& monitors, const Rect& window);

// `p` itself when it is on a monitor; otherwise the nearest point of the nearest monitor.
// The virtual screen's bounding box has gaps where monitors of different sizes sit side by
// side, and the cursor must never rest in one.
Point OntoMonitors(const std::vector<Monitor>& monitors, Point p);

// The virtual screen: the smallest rectangle holding every monitor (empty without any).
Rect BoundingBox(const std::vector<Monitor>& monitors);

// Whether `window` lies wholly inside the work area of one monitor.
bool OnSomeWorkArea(const std::vector<Monitor>& monitors, const Rect& window);

// Where a window goes so that it lies wholly on its own monitor's work area, moved as little
// as it can be (its top-left kept when it is already there). A window larger than the work
// area keeps its top-left corner on it.
Point OntoWorkArea(const std::vector<Monitor>& monitors, const Rect& window);

// A length meant for a 96-DPI monitor, in pixels of a monitor of `dpi`. The scale is taken
// between 100 % and 200 %: a nonsense DPI leaves the length as it is, and beyond twice the
// size an indicator would cover what the user is pointing at.
int32_t ScaleForDpi(int32_t length, int32_t dpi);
