#pragma once
// Where injected input goes: the system's input queue in the programs, a recording in tests.
// Events are one per call. `Via` tells which system call carries them: the output units
// use the input-injection call, the Power Command runner and shutdown the older per-event
// calls; a recording sink notes the difference.
#include <cstdint>

enum class MouseButton { Left, Right, Middle, X1, X2 };
enum class Via { SendInput, Legacy };

class InputSink {
 public:
  virtual ~InputSink() = default;
  // One button event, with no movement: it lands where the cursor is.
  virtual void Button(MouseButton button, bool down, Via via = Via::SendInput) = 0;
  // A key by virtual-key code and key code byte (set-1 scan code, 0x80 for extended keys).
  virtual void Key(int virtualKey, int keyCode, bool down, Via via = Via::SendInput) = 0;
  // One wheel event: +120 one notch up, -120 down.
  virtual void Wheel(int delta, Via via = Via::SendInput) = 0;
  virtual void Move(int dx, int dy) = 0;  // relative
  // Whether the key is down now (for hot keys).
  virtual bool KeyDown(int virtualKey) = 0;
  virtual void Sleep(int milliseconds) = 0;
};
