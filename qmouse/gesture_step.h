#pragma once
// Recognises the four head gestures on the head's translation. Each fires once when the head
// crosses its point and re-arms only when the head is back within it.
#include <atomic>
#include <cstdint>

enum class GestureKind { Left, Right, Forward, Back };

// Lives in the main window so that it survives a restart of the cursor thread.
struct GestureLatches {
  std::atomic<int32_t> left{0}, right{0}, forward{0}, back{0};
};

struct GesturePoints {
  int32_t left, right, forward, back;  // as stored; compared as ten times the value
};

struct GestureFired {
  bool left = false, right = false, forward = false, back = false;
  bool Any() const { return left || right || forward || back; }
};

GestureFired GestureStep(double x, double z, const GesturePoints& points, GestureLatches& latches);
