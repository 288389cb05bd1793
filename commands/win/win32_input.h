#pragma once
// Injected input into the system's input queue, one event per call.
#include "commands/input_sink.h"

class Win32InputSink : public InputSink {
 public:
  void Button(MouseButton button, bool down, Via via = Via::SendInput) override;
  void Key(int virtualKey, int keyCode, bool down, Via via = Via::SendInput) override;
  void Wheel(int delta, Via via = Via::SendInput) override;
  void Move(int dx, int dy) override;
  bool KeyDown(int virtualKey) override;
  void Sleep(int milliseconds) override;
};
