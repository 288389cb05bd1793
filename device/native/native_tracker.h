#pragma once
// Native builds have no driver: default-constructed links reach this in-process simulated
// tracker, which tests steer directly.
#include "hxsim/sim_device.h"

SimDevice& NativeTracker();
