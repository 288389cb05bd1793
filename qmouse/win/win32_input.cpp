#include "qmouse/win/win32_input.h"

#include <windows.h>

// One event per call and no movement flags, so the click lands wherever the cursor is now.
void Win32InputSink::Button(MouseButton button, bool down) {
  DWORD flags = 0;
  switch (button) {
    case MouseButton::Left:
      flags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
      break;
    case MouseButton::Right:
      flags = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
      break;
    case MouseButton::Middle:
      flags = down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP;
      break;
  }
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}
