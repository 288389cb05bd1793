#include "device/win/udp_driver_port.h"

#include <utility>

#include "device/ioctl.h"

using namespace hx;

UdpDriverPort::UdpDriverPort(std::shared_ptr<UdpPoseHub> hub)
    : hub_(std::move(hub)), cancel_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

bool UdpDriverPort::FindInterface(uint32_t memberIndex, std::string& path) {
  if (memberIndex != 0) return false;
  OpentrackPose pose;
  uint32_t arrival = 0;
  uint32_t n = ReadPose(hub_->Share(), pose, arrival);
  if (!PoseIsFresh(n, arrival, GetTickCount())) {
    // A link opened just before the first pose would fail while the pose's arrival is being
    // announced, and a program that sees the arrival before the failure would not open
    // another: so a link waits for a pose as long as silence may last.
    ResetEvent(cancel_.Get());
    HANDLE waits[] = {hub_->PoseEvent(n + 1), cancel_.Get()};
    if (WaitForMultipleObjects(2, waits, FALSE, kSilenceUnpluggedMs) != WAIT_OBJECT_0) return false;
    n = ReadPose(hub_->Share(), pose, arrival);
  }
  // Without recent poses there is no tracker to find, as with an unplugged one.
  if (!PoseIsFresh(n, arrival, GetTickCount())) return false;
  path = hub_->DeviceName();
  return true;
}

bool UdpDriverPort::Open(const std::string& path) {
  open_ = path == hub_->DeviceName();
  lastSeen_ = 0;
  return open_;
}

bool UdpDriverPort::Close() { return std::exchange(open_, false); }

bool UdpDriverPort::Request(uint32_t code, void* output, uint32_t outputSize, uint32_t* bytesReturned) {
  *bytesReturned = 0;
  if (!open_) return false;
  if (code != IOCTL_GET_POSITION && code != IOCTL_GET_FLOAD_POSITION)
    return AnswerOpentrackRequest(hub_->Share(), code, output, outputSize, bytesReturned);
  OpentrackPose pose;
  ResetEvent(cancel_.Get());  // a cancel meant for an earlier request does not end this one
  if (!WaitForNewerPose(pose)) {
    open_ = false;  // unplugged: this link is done, as the driver's would be
    return false;
  }
  return AnswerPositionRequest(hub_->Share(), pose, code, output, outputSize, bytesReturned);
}

// A cancel that comes just before the wait is lost; owners cancel again until the thread ends.
void UdpDriverPort::CancelRequest() { SetEvent(cancel_.Get()); }

// Blocks in the pose event, not in a poll: a pose is answered as soon as it is published.
bool UdpDriverPort::WaitForNewerPose(OpentrackPose& pose) {
  for (;;) {
    uint32_t arrival = 0;
    const uint32_t n = ReadPose(hub_->Share(), pose, arrival);
    const uint32_t now = GetTickCount();
    if (!PoseIsFresh(n, arrival, now)) return false;
    if (n != lastSeen_) {
      lastSeen_ = n;
      return true;
    }
    HANDLE waits[] = {hub_->PoseEvent(n + 1), cancel_.Get()};
    const DWORD r = WaitForMultipleObjects(2, waits, FALSE, kSilenceUnpluggedMs - (now - arrival));
    if (r == WAIT_OBJECT_0 + 1 || r == WAIT_FAILED) return false;
  }
}
