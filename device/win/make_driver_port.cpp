#include <cstdlib>

#include "device/tracker_choice.h"
#include "device/win/pipe_driver_port.h"
#include "device/win/real_driver_port.h"
#include "device/win/udp_driver_port.h"

namespace {
const char* SimulatorPipe() {
  const char* pipe = std::getenv("HXSIM_PIPE");
  return pipe && *pipe ? pipe : nullptr;
}
}  // namespace

// The simulator's pipe (tests, the demo) before the user's choice.
std::unique_ptr<DriverPort> MakeDriverPort() {
  if (const char* pipe = SimulatorPipe()) return std::make_unique<PipeDriverPort>(pipe);
  const TrackerChoice choice = CurrentTrackerChoice();
  if (choice.source == TrackerSource::OpentrackUdp) {
    // A port that another program holds leaves the user with the driver, not with nothing.
    auto hub = UdpPoseHub::Acquire(choice.port, choice.acceptNetwork);
    if (hub && !hub->PortHeldElsewhere()) return std::make_unique<UdpDriverPort>(std::move(hub));
  }
  return std::make_unique<RealDriverPort>();
}

bool TrackerIsOpentrack() {
  return !SimulatorPipe() && CurrentTrackerChoice().source == TrackerSource::OpentrackUdp;
}

std::shared_ptr<void> HoldTrackerSource() {
  if (!TrackerIsOpentrack()) return nullptr;
  const TrackerChoice choice = CurrentTrackerChoice();
  return UdpPoseHub::Acquire(choice.port, choice.acceptNetwork);
}

bool TrackerPortHeldElsewhere() {
  if (!TrackerIsOpentrack()) return false;
  const TrackerChoice choice = CurrentTrackerChoice();
  auto hub = UdpPoseHub::Acquire(choice.port, choice.acceptNetwork);
  return hub && hub->PortHeldElsewhere();
}
