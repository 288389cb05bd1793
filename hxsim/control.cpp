#include "hxsim/control.h"

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "hxsim/motion_script.h"

SimControl::SimControl(SimDevice& device, Hooks hooks) : device_(device), hooks_(std::move(hooks)) {}

std::string SimControl::FormatDouble(double value) {
  char text[40];
  for (int precision = 15; precision <= 17; ++precision) {
    std::snprintf(text, sizeof text, "%.*g", precision, value);
    if (std::strtod(text, nullptr) == value) break;
  }
  return text;
}

std::string SimControl::Execute(const std::string& rawLine, bool* quit) {
  *quit = false;
  std::string line = rawLine;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  std::vector<std::string> words = SplitWords(line);
  if (words.empty()) return "error empty command";
  const std::string& command = words[0];
  const size_t args = words.size() - 1;
  auto noArguments = [&](const char* reply) {
    return args == 0 ? std::string(reply) : "error " + command + " takes no arguments";
  };

  if (command == "pose") {
    if (args != 5) return "error pose needs X Y Z RX RY";
    double v[5];
    for (int i = 0; i < 5; ++i)
      if (!ParseFiniteDouble(words[i + 1], &v[i])) return "error bad number '" + words[i + 1] + "'";
    device_.SetPose(SimPose{v[0], v[1], v[2], v[3], v[4]});
    if (hooks_.poseSet) hooks_.poseSet();
    return "ok";
  }
  if (command == "pose?") {
    if (args) return noArguments("");
    SimPose p = device_.Pose();
    return "ok " + FormatDouble(p.x) + ' ' + FormatDouble(p.y) + ' ' + FormatDouble(p.z) + ' ' +
           FormatDouble(p.rx) + ' ' + FormatDouble(p.ry);
  }
  if (command == "unplug" || command == "plug") {
    if (args) return noArguments("");
    bool plug = command == "plug";
    if (plug)
      device_.Plug();
    else
      device_.Unplug();
    if (hooks_.plugChanged) hooks_.plugChanged(plug);
    return "ok";
  }
  if (command == "answer") {
    if (args != 2) return "error answer needs WHICH N";
    return Answer(words[1], words[2]);
  }
  if (command == "fail" || command == "pass") {
    const bool fail = command == "fail";
    uint32_t times = 0;  // until passed
    if (args < 1 || args > (fail ? 2 : 1) || (args == 2 && (!ParseUint32(words[2], &times) || times == 0)))
      return fail ? "error fail needs NAME [COUNT]" : "error pass needs a request name";
    if (!device_.SetFailing(words[1], fail, times)) return "error unknown request '" + words[1] + "'";
    return "ok";
  }
  if (command == "stall") {
    uint32_t ms = 0;
    if (args != 1 || !ParseUint32(words[1], &ms)) return "error stall needs MS (milliseconds)";
    device_.Stall(ms);
    return "ok";
  }
  if (command == "stalled") {
    if (args) return noArguments("");
    return "ok " + std::to_string(device_.Stalled());
  }
  if (command == "log") {
    if (args) return noArguments("");
    return "ok " + device_.TakeLog();
  }
  if (command == "quit") {
    if (args) return noArguments("");
    *quit = true;
    return "ok";
  }
  return "error unknown command '" + command + "'";
}

std::string SimControl::Answer(const std::string& which, const std::string& text) {
  uint32_t value = 0;
  if (!ParseUint32(text, &value)) return "error bad value '" + text + "' (unsigned 32-bit, decimal or 0x hex)";
  // Calibration answers are 16-bit words on the wire; a larger value could not be delivered.
  const bool word = which == "calibrate" || which == "calibrated";
  if (word && value > 0xFFFF) return "error " + which + " answer is 16-bit";
  uint32_t SimDevice::Answers::*field = nullptr;
  if (which == "calibrate")
    field = &SimDevice::Answers::calibrate;
  else if (which == "calibrated")
    field = &SimDevice::Answers::calibrated;
  else if (which == "status")
    field = &SimDevice::Answers::status;
  else if (which == "joystick")
    field = &SimDevice::Answers::joystick;
  else
    return "error unknown answer '" + which + "'";
  device_.SetAnswer(field, value);
  return "ok";
}
