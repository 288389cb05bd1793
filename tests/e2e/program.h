#pragma once
// Starts a program of ours under test and finds and drives its windows from outside, as a
// user (or the system) would.
#include <windows.h>

#include <string>

#include "winui/handles.h"

class Program {
 public:
  ~Program();
  // Starts `exe` (environment inherited) and waits, bounded, for its first shown dialog.
  [[nodiscard]] bool Start(const std::string& exe, DWORD waitForWindowMs = 10000);
  // A shown top-level dialog of this process whose static text or caption contains `text`
  // ("" for any), waiting up to `timeoutMs`.
  HWND FindDialog(const std::string& text, DWORD timeoutMs = 5000) const;
  // Presses a button of a dialog as its command, the way a click ends up: Press posts it (for
  // buttons that open a modal dialog), Click sends it and returns when it has been handled.
  // BM_CLICK would also focus the button, and under Wine that moves the X focus to the dialog
  // even while another program's window is in front, handing the foreground (and the keys
  // under test) to the desktop. A disabled button does nothing, as for a real click. Click
  // gives up after 30 s (false, said on stderr) rather than hang on a box nobody answers.
  static void Press(HWND dialog, int buttonId);
  static bool Click(HWND dialog, int buttonId);
  // Waits for the process to end; its exit code, or -1 on time-out.
  long WaitExit(DWORD timeoutMs);
  bool Running() const;
  void Kill();
  DWORD Id() const { return id_; }

 private:
  KernelHandle process_;
  DWORD id_ = 0;
};

// Runs `body` (a callable) until it returns true or `timeoutMs` passes.
template <typename F>
bool WaitFor(F body, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (body()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(20);
  }
}

