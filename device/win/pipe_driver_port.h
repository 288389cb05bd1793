#pragma once
// The tracker simulator's pipe in the driver's place: each link its own pipe instance, as
// each link opens its own handle to the driver.
#include <atomic>
#include <mutex>

#include "device/driver_port.h"
#include "winui/handles.h"

class PipeDriverPort : public DriverPort {
 public:
  explicit PipeDriverPort(std::string pipeName);

  bool FindInterface(uint32_t memberIndex, std::string& path) override;
  bool Open(const std::string& path) override;
  bool Close() override;
  bool HasHandle() const override { return handle_.Valid(); }
  bool Request(uint32_t code, void* output, uint32_t outputSize, uint32_t* bytesReturned) override;
  void CancelRequest() override;

 private:
  bool Connect(const std::string& path);

  std::string pipePath_;
  std::string openedPath_;
  // Written only by the link's thread, under the mutex, so that a cancel from another
  // thread never reaches a handle value already closed.
  KernelHandle handle_;
  std::mutex handleMutex_;
  // A cancelled request's answer still arrives later: the next request takes a new instance.
  bool answerPending_ = false;
};
