#pragma once
// Moves the cursor by the change of the head's rotation: speed, a dead band ("stabilizer")
// and two acceleration steps per axis.
#include <atomic>
#include <cstdint>

#include "qmouse/geometry.h"

struct CursorSettings {
  int32_t xSpeed, ySpeed, xStabilizer, yStabilizer, xAccel, yAccel;  // as stored
};

// What the step remembers between readings. It lives in the main window, so it survives a
// restart of the cursor thread; firstSample is raised by the UI thread.
struct CursorMemory {
  double prevRX = 0, prevRY = 0;
  std::atomic<int32_t> firstSample{1};
};

// The new cursor position for the current position `p` and a reading's RX and RY. Only
// previous values advance, even when the change fell inside the dead band.
Point CursorStep(Point p, double rx, double ry, const CursorSettings& s, CursorMemory& memory);
