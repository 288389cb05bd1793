#include "profiles/engine_view.h"

#include "profiles/profile.h"

EngineProfile EngineViewOf(const Profile& profile) {
  EngineProfile view;
  for (int m = 0; m < kMapCount; ++m) {
    view.maps[m] = profile.Map(m);
    view.deadZone[m] = profile.deadZone[m];
  }
  for (int axis = 0; axis < kLookAxes; ++axis) {
    const AxisOptions& look = profile.axis[kAxisMouselook][axis];
    const AxisOptions& mixed = profile.axis[kAxisMixed][axis];
    view.mouselookAxes[axis] = {look.panningPoint, look.nonPanningSensitivity, look.panningSensitivity};
    view.mixedAxes[axis] = {mixed.panningPoint, mixed.nonPanningSensitivity, mixed.panningSensitivity};
  }
  view.freelookHold = profile.freelookHold;
  return view;
}
