#pragma once
// opentrack's head poses in the driver's place: position requests are answered from the
// newest pose, each waiting for a pose newer than the last one this link returned, so the
// readers are paced by the sender as they are by the driver. No pose for 500 ms is an
// unplugged tracker; a link opened after poses come again works again.
#include <memory>

#include "device/driver_port.h"
#include "device/win/udp_pose_hub.h"
#include "winui/handles.h"

class UdpDriverPort : public DriverPort {
 public:
  explicit UdpDriverPort(std::shared_ptr<UdpPoseHub> hub);

  bool FindInterface(uint32_t memberIndex, std::string& path) override;
  bool Open(const std::string& path) override;
  bool Close() override;
  bool HasHandle() const override { return open_; }
  bool Request(uint32_t code, void* output, uint32_t outputSize, uint32_t* bytesReturned) override;
  void CancelRequest() override;

 private:
  bool WaitForNewerPose(OpentrackPose& pose);

  std::shared_ptr<UdpPoseHub> hub_;
  KernelHandle cancel_;
  bool open_ = false;
  uint32_t lastSeen_ = 0;
};
