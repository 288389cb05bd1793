#pragma once
// A target window in the test process that records the mouse buttons it receives, with the
// client coordinates, while the test waits.
#include <windows.h>

#include <string>
#include <vector>

class Probe {
 public:
  explicit Probe(RECT screen);
  ~Probe();
  Probe(const Probe&) = delete;
  Probe& operator=(const Probe&) = delete;

  HWND hwnd() const { return hwnd_; }
  // Pumps messages until `count` button events have arrived or `timeoutMs` passed.
  bool WaitEvents(size_t count, DWORD timeoutMs);
  void Pump(DWORD ms);
  // "Ldown 100,100", "Lup 100,100", "Rdown ...", "Mdown ...", "wheel -120", "X1", "Xup2",
  // "Kdown 65/30", "Kup 65/30" (virtual key / key code byte).
  const std::vector<std::string>& Events() const { return events_; }
  std::string Joined() const;
  void Clear() { events_.clear(); }
  // Makes this the window that keys go to, and checks it: a key of the test's own must
  // arrive (the foreground alone is not always where injected keys land); false if none did.
  bool TakeKeyboard();

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
  std::vector<std::string> events_;
};
