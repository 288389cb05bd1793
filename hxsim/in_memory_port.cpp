#include "hxsim/in_memory_port.h"

#include <cstdint>
#include <utility>

InMemoryPort::InMemoryPort(SimDevice& device, std::vector<std::string> interfaces)
    : device_(device), interfaces_(std::move(interfaces)) {}

InMemoryPort::~InMemoryPort() { Close(); }

bool InMemoryPort::FindInterface(uint32_t memberIndex, std::string& path) {
  // An unplugged tracker is not a present device.
  if (!device_.Plugged() || memberIndex >= interfaces_.size()) return false;
  path = interfaces_[memberIndex];
  return true;
}

bool InMemoryPort::Open(const std::string& path) {
  openedPath_ = path;
  client_ = device_.Connect();
  return client_ != 0;
}

bool InMemoryPort::Close() {
  if (client_ == 0) return false;
  device_.Disconnect(client_);
  client_ = 0;
  return true;
}

bool InMemoryPort::Request(uint32_t code, void* output, uint32_t outputSize,
                           uint32_t* bytesReturned) {
  *bytesReturned = 0;
  if (client_ == 0) return false;
  if (SimDevice::IsPositionRequest(code)) {
    cancelled_ = false;  // a cancel reaches only the request under way
    device_.WaitOutStall([this] { return cancelled_.load(); });
    if (cancelled_) return false;
  }
  return device_.Answer(client_, code, outputSize, static_cast<uint8_t*>(output), bytesReturned);
}

void InMemoryPort::CancelRequest() { cancelled_ = true; }
