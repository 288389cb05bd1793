#include "commands/win/win32_input.h"

#include <windows.h>

namespace {

// Button events carry no movement flags, so they land wherever the cursor is now.
void MouseEvent(DWORD flags, DWORD data, Via via) {
  if (via == Via::Legacy) {
    mouse_event(flags, 0, 0, data, 0);
    return;
  }
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  input.mi.mouseData = data;
  SendInput(1, &input, sizeof input);
}

}  // namespace

void Win32InputSink::Button(MouseButton button, bool down, Via via) {
  switch (button) {
    case MouseButton::Left:
      return MouseEvent(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP, 0, via);
    case MouseButton::Right:
      return MouseEvent(down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP, 0, via);
    case MouseButton::Middle:
      return MouseEvent(down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP, 0, via);
    case MouseButton::X1:
      return MouseEvent(down ? MOUSEEVENTF_XDOWN : MOUSEEVENTF_XUP, XBUTTON1, via);
    case MouseButton::X2:
      return MouseEvent(down ? MOUSEEVENTF_XDOWN : MOUSEEVENTF_XUP, XBUTTON2, via);
  }
}

void Win32InputSink::Key(int virtualKey, int keyCode, bool down, Via via) {
  if (via == Via::Legacy) {
    keybd_event(static_cast<BYTE>(virtualKey), static_cast<BYTE>(keyCode), down ? 0 : KEYEVENTF_KEYUP, 0);
    return;
  }
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = static_cast<WORD>(virtualKey);
  input.ki.wScan = static_cast<WORD>(keyCode);
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
}

void Win32InputSink::Wheel(int delta, Via via) { MouseEvent(MOUSEEVENTF_WHEEL, static_cast<DWORD>(delta), via); }

void Win32InputSink::Move(int dx, int dy) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.dwFlags = MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof input);
}

bool Win32InputSink::KeyDown(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

void Win32InputSink::Sleep(int milliseconds) { ::Sleep(static_cast<DWORD>(milliseconds)); }
