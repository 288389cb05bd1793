#include "qmouse/gesture_step.h"

namespace {

// One axis: `low` fires below -10 x lowPoint, `high` above 10 x highPoint.
void Axis(double v, int32_t lowPoint, int32_t highPoint, std::atomic<int32_t>& lowLatch,
          std::atomic<int32_t>& highLatch, bool& lowFired, bool& highFired) {
  const double low = -10.0 * lowPoint;  // in double: no overflow for any stored value
  const double high = 10.0 * highPoint;
  if (v >= low && v <= high) {
    lowLatch = 0;
    highLatch = 0;
    return;
  }
  if (v < low && lowLatch == 0) {
    lowLatch = 1;
    lowFired = true;
  }
  if (v >= low) lowLatch = 0;
  if (v > high && highLatch == 0) {
    highLatch = 1;
    highFired = true;
  }
  if (v <= high) highLatch = 0;
}

}  // namespace

GestureFired GestureStep(double x, double z, const GesturePoints& points, GestureLatches& latches) {
  GestureFired fired;
  Axis(x, points.left, points.right, latches.left, latches.right, fired.left, fired.right);
  Axis(z, points.forward, points.back, latches.forward, latches.back, fired.forward, fired.back);
  return fired;
}
