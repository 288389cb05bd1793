#pragma once
// Where injected input goes: the system's input queue in the programs, a recording in tests.
#include <cstdint>

enum class MouseButton { Left, Right, Middle };

class InputSink {
 public:
  virtual ~InputSink() = default;
  // One button event, with no movement: it lands where the cursor is.
  virtual void Button(MouseButton button, bool down) = 0;
};
