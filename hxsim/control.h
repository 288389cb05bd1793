#pragma once
// The simulator's control commands: one text line in, one reply line out ("ok ..." or
// "error <reason>"). A malformed line changes nothing. Portable; the pipe server feeds it.
#include <functional>
#include <string>

#include "hxsim/sim_device.h"

class SimControl {
 public:
  struct Hooks {
    // After the device was unplugged (false) or plugged (true): the Win32 side announces it.
    std::function<void(bool plugged)> plugChanged;
    // After a `pose` command: the Win32 side stops script motion from overwriting it.
    std::function<void()> poseSet;
  };

  explicit SimControl(SimDevice& device, Hooks hooks = {});

  // Runs one line (a trailing "\r" or "\n" is ignored). `quit` is set true for `quit`.
  std::string Execute(const std::string& line, bool* quit);

  // Shortest text that reads back as the same double.
  static std::string FormatDouble(double value);

 private:
  std::string Answer(const std::string& which, const std::string& value);

  SimDevice& device_;
  Hooks hooks_;
};
