#pragma once
// Announces unplug and plug to every top-level window, as the system does for a real
// tracker: WM_DEVICECHANGE removal (0x8004) or arrival (0x8000) with a device-interface
// header carrying the tracker's interface GUID. A thread of its own sends them, in order, so
// a window that is slow to answer delays neither a control reply nor the motion.
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>

class DeviceNotifier {
 public:
  explicit DeviceNotifier(std::string deviceName);
  [[nodiscard]] bool Start();
  void Announce(bool plugged);

 private:
  void Run();
  void Broadcast(bool plugged);

  std::string deviceName_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<bool> queue_;
};
