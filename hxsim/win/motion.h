#pragma once
// Drives the head from a script or the demo on a thread of its own, every few milliseconds.
// Once a person (slider) or a test (`pose`) sets the pose, the script's poses stop being
// applied for the rest of the run; its unplug and plug events still happen at their times.
#include <atomic>
#include <functional>

#include "hxsim/motion_script.h"
#include "hxsim/sim_device.h"

class MotionPlayer {
 public:
  MotionPlayer(SimDevice& device, MotionScript script, bool loop,
               std::function<void(bool plugged)> setPlugged);
  [[nodiscard]] bool Start();
  // The pose is now set by hand.
  void TakeOver() { manual_.store(true, std::memory_order_relaxed); }

 private:
  void Run();

  SimDevice& device_;
  MotionScript script_;
  bool loop_;
  std::function<void(bool plugged)> setPlugged_;
  std::atomic<bool> manual_{false};
};
