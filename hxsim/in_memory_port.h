#pragma once
// A driver port that talks to a SimDevice in the same process: the simulator without the
// pipe, for native tests of everything that holds a link.
#include <atomic>
#include <string>
#include <vector>

#include "device/driver_port.h"
#include "hxsim/sim_device.h"

class InMemoryPort : public DriverPort {
 public:
  // `interfaces` are the device paths discovery finds, in enumeration order.
  explicit InMemoryPort(SimDevice& device,
                        std::vector<std::string> interfaces = {"\\\\?\\hid#hxsim#0"});
  ~InMemoryPort() override;

  bool FindInterface(uint32_t memberIndex, std::string& path) override;
  bool Open(const std::string& path) override;
  bool Close() override;
  bool HasHandle() const override { return client_ != 0; }
  bool Request(uint32_t code, void* output, uint32_t outputSize, uint32_t* bytesReturned) override;
  // Ends a request waiting out a stall.
  void CancelRequest() override;

  const std::string& OpenedPath() const { return openedPath_; }

 private:
  SimDevice& device_;
  std::vector<std::string> interfaces_;
  std::string openedPath_;
  int client_ = 0;
  std::atomic<bool> cancelled_{false};
};
