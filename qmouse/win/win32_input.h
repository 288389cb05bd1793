#pragma once
// Mouse buttons into the system's input queue.
#include "commands/input_sink.h"

class Win32InputSink : public InputSink {
 public:
  void Button(MouseButton button, bool down) override;
};
