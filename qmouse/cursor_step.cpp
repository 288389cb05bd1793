#include "qmouse/cursor_step.h"

#include <cmath>

namespace {

// Dead band first (discarded, not carried over), then the acceleration steps.
double Shape(double m, int32_t stabilizer, int32_t accel) {
  if (m == 0) return 0;
  const double stab = stabilizer / 10;
  const int64_t low = (50 - static_cast<int64_t>(accel)) / 5 + 2;
  const int64_t high = low + 5;
  if (-stab < m && m < stab) return 0;
  if (m > high || m < -high) return 5 * m;
  if (m > low || m < -low) return 3 * m;
  return m;
}

// Far beyond any screen, yet safely inside int32: the system clips the rest.
int32_t ToCoordinate(double v) {
  constexpr double kLimit = 1 << 30;
  if (!(v > -kLimit)) return -static_cast<int32_t>(kLimit);  // also NaN
  if (v > kLimit) return static_cast<int32_t>(kLimit);
  return static_cast<int32_t>(v);  // truncates toward zero
}

}  // namespace

Point CursorStep(Point p, double rx, double ry, const CursorSettings& s, CursorMemory& memory) {
  if (memory.firstSample.exchange(0, std::memory_order_relaxed) != 0) {
    memory.prevRX = rx;
    memory.prevRY = ry;
  }
  const double dx = rx - memory.prevRX;
  const double dy = ry - memory.prevRY;
  double mx = (s.xSpeed / 10) * dx;
  double my = (s.ySpeed / 10) * dy;
  mx = Shape(mx, s.xStabilizer, s.xAccel);
  my = Shape(my, s.yStabilizer, s.yAccel);
  memory.prevRX = rx;
  memory.prevRY = ry;
  // A reading that is not a number moves nothing rather than throwing the cursor away.
  if (!std::isfinite(mx)) mx = 0;
  if (!std::isfinite(my)) my = 0;
  // Screen Y grows downward: a rising RY moves the cursor up.
  return {ToCoordinate(p.x + (mx + 0.5)), ToCoordinate(p.y - (my - 0.5))};
}
