#pragma once
// The tracker's kernel driver, found through SetupAPI by its device interface.
#include <mutex>

#include "device/driver_port.h"
#include "winui/handles.h"

class RealDriverPort : public DriverPort {
 public:
  bool FindInterface(uint32_t memberIndex, std::string& path) override;
  bool Open(const std::string& path) override;
  bool Close() override;
  bool HasHandle() const override { return handle_.Valid(); }
  bool Request(uint32_t code, void* output, uint32_t outputSize, uint32_t* bytesReturned) override;
  void CancelRequest() override;

 private:
  // Written only by the link's thread, under the mutex, so that a cancel from another
  // thread never reaches a handle value already closed.
  KernelHandle handle_;
  std::mutex handleMutex_;
};
