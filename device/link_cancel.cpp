#include "device/link_cancel.h"

void LinkCancel::Cancel() {
  std::lock_guard<std::mutex> lock(mutex_);
  cancelled_.store(true, std::memory_order_release);
  if (port_) port_->CancelRequest();
}

void LinkCancel::Attach(DriverPort* port) {
  std::lock_guard<std::mutex> lock(mutex_);
  port_ = port;
}

void LinkCancel::Detach(DriverPort* port) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (port_ == port) port_ = nullptr;
}
