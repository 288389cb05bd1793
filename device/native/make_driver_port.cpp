#include "device/driver_port.h"
#include "device/native/native_tracker.h"
#include "hxsim/in_memory_port.h"

SimDevice& NativeTracker() {
  static SimDevice device;
  return device;
}

std::unique_ptr<DriverPort> MakeDriverPort() {
  return std::make_unique<InMemoryPort>(NativeTracker());
}

std::shared_ptr<void> HoldTrackerSource() { return nullptr; }
bool TrackerIsOpentrack() { return false; }
bool TrackerPortHeldElsewhere() { return false; }
