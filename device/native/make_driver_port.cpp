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
