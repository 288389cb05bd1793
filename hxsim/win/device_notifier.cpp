#include "hxsim/win/device_notifier.h"

#include <utility>

#include "device/win/device_events.h"
#include "hxsim/win/threads.h"

DeviceNotifier::DeviceNotifier(std::string deviceName) : deviceName_(std::move(deviceName)) {}

bool DeviceNotifier::Start() {
  return StartThread([this] { Run(); });
}

void DeviceNotifier::Announce(bool plugged) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.push_back(plugged);
  }
  wake_.notify_one();
}

void DeviceNotifier::Run() {
  for (;;) {
    bool plugged;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return !queue_.empty(); });
      plugged = queue_.front();
      queue_.pop_front();
    }
    Broadcast(plugged);
  }
}

void DeviceNotifier::Broadcast(bool plugged) { BroadcastTrackerEvent(plugged, deviceName_); }
