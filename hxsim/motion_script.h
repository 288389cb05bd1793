#pragma once
// Keyframe motion for the simulated head: "T X Y Z RX RY" lines (T in milliseconds from the
// start), linear in between, the last pose holding; "T unplug" and "T plug" lines pull and
// reinsert the tracker. Portable, so scripts are checked natively as well as under Wine.
#include <string>
#include <vector>

#include "hxsim/sim_device.h"

class MotionScript {
 public:
  enum class Event { Unplug, Plug };

  // Replaces the script with `text`. On failure the script is left empty and `error` says
  // "line N: reason".
  [[nodiscard]] bool Parse(const std::string& text, std::string* error);

  // The pose at `timeMs` from the start. Before the first keyframe its pose holds; a script
  // without keyframes keeps the rest pose.
  SimPose PoseAt(double timeMs) const;
  // Unplug and plug events with afterMs < T <= upToMs, in script order.
  std::vector<Event> EventsBetween(double afterMs, double upToMs) const;
  // Time of the last keyframe or event: one pass of a looping script.
  double LengthMs() const;
  bool HasKeyframes() const { return !keyframes_.empty(); }

  // The built-in demo: looks around, holds still long enough to dwell, makes the four head
  // gestures; meant to loop.
  static const char* DemoText();

 private:
  struct Keyframe {
    double timeMs;
    SimPose pose;
  };
  struct TimedEvent {
    double timeMs;
    Event event;
  };
  std::vector<Keyframe> keyframes_;
  std::vector<TimedEvent> events_;
};

// Strict number reading shared by scripts and control commands: the whole token must be the
// number, and the value finite (doubles) or in range (unsigned 32-bit, decimal or 0x hex).
[[nodiscard]] bool ParseFiniteDouble(const std::string& token, double* value);
[[nodiscard]] bool ParseUint32(const std::string& token, uint32_t* value);
// Splits on blanks and tabs.
std::vector<std::string> SplitWords(const std::string& line);
