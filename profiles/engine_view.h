#pragma once
// What the output engine reads of a profile, for qmouse's cursor thread and hxprofiler's
// output thread alike.
#include "commands/engine.h"

class Profile;
// The engine's view of a profile: its maps, dead zones, axis options and freelook hold. The
// maps point into `profile`, which must outlive the view.
EngineProfile EngineViewOf(const Profile& profile);
