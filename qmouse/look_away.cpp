#include "qmouse/look_away.h"

#include <algorithm>

namespace {

bool Away(int32_t direction, double rx, double ry) {
  switch (direction) {
    case kLookUp: return ry > kLookAwayDeflection;
    case kLookLeft: return rx < -kLookAwayDeflection;
    case kLookRight: return rx > kLookAwayDeflection;
    default: return ry < -kLookAwayDeflection;  // down, also for an odd stored direction
  }
}

}  // namespace

bool LookAway::Step(const Settings& settings, double rx, double ry, int64_t nowMs) {
  if (settings.Get(Setting::LookAway) == 0 || !Away(settings.Get(Setting::LookAwayDirection), rx, ry)) {
    away_ = fired_ = false;  // a reading that is not a number also counts as back
    return false;
  }
  if (!away_) {
    away_ = true;
    since_ = nowMs;
  }
  const int32_t hold = std::clamp(settings.Get(Setting::LookAwayTime), kLookAwayMinMs, kLookAwayMaxMs);
  if (fired_ || nowMs - since_ < hold) return false;
  fired_ = true;
  return true;
}
