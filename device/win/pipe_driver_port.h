#pragma once
// The tracker simulator's pipe in the driver's place: each link its own pipe instance, as
// each link opens its own handle to the driver.
#include "device/driver_port.h"
#include "winui/handles.h"

class PipeDriverPort : public DriverPort {
 public:
  explicit PipeDriverPort(std::string pipeName);

  bool FindInterface(uint32_t memberIndex, std::string& path) override;
  bool Open(const std::string& path) override;
  bool Close() override { return handle_.Reset(); }
  bool HasHandle() const override { return handle_.Valid(); }
  bool Request(uint32_t code, void* output, uint32_t outputSize, uint32_t* bytesReturned) override;

 private:
  std::string pipePath_;
  KernelHandle handle_;
};
