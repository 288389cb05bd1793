#include "profiles/engine_view.h"

#include "commands/key_table.h"
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

void PrepareEngine(Engine& engine, const Profile& profile, EngineProfile& view,
                   std::function<bool()> outputStopped) {
  view = EngineViewOf(profile);
  engine.SetMode(profile.operatingMode);
  engine.Prepare(view, std::move(outputStopped));  // also the freelook key, from the key table
  engine.SetHotKeys(KeyIndexToVirtualKey(profile.pauseHotKey), KeyIndexToVirtualKey(profile.recenterHotKey),
                    KeyIndexToVirtualKey(profile.mouselookHotKey), KeyIndexToVirtualKey(profile.commandHotKey),
                    KeyIndexToVirtualKey(profile.mixedHotKey));
}

void RenderReading(Engine& engine, const HxPosition& p) {
  engine.Render(p.X - kHxRestValue, p.Y - kHxRestValue, p.Z - kHxRestValue, p.RX - kHxRestValue,
                kHxRestValue - p.RY);
}
