#pragma once
// What the output engine reads of a profile, for qmouse's cursor thread and hxprofiler's
// output thread alike.
#include <functional>

#include "commands/engine.h"
#include "device/hx_position.h"

class Profile;
// The engine's view of a profile: its maps, dead zones, axis options and freelook hold. The
// maps point into `profile`, which must outlive the view.
EngineProfile EngineViewOf(const Profile& profile);

// Engages `engine` with `profile`: `view` is filled from it and read by the engine from then
// on, so the caller keeps both; mode and hot keys come from the profile.
void PrepareEngine(Engine& engine, const Profile& profile, EngineProfile& view,
                   std::function<bool()> outputStopped);
// One integer reading as the engine's five deflections from rest.
void RenderReading(Engine& engine, const HxPosition& p);
