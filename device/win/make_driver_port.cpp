#include <cstdlib>

#include "device/win/pipe_driver_port.h"
#include "device/win/real_driver_port.h"

std::unique_ptr<DriverPort> MakeDriverPort() {
  const char* pipe = std::getenv("HXSIM_PIPE");
  if (pipe && *pipe) return std::make_unique<PipeDriverPort>(pipe);
  return std::make_unique<RealDriverPort>();
}
