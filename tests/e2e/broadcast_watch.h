#pragma once
#include <windows.h>

#include <atomic>

#include "tests/e2e/program.h"

// A top-level window of the test that counts the tracker's device broadcasts, so a test
// knows a removal or arrival has gone round.
class BroadcastWatch {
 public:
  BroadcastWatch() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "hxp-broadcast-watch";
    RegisterClassA(&wc);
    hwnd_ = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
  }
  ~BroadcastWatch() { DestroyWindow(hwnd_); }
  int Seen() const { return seen_.load(); }
  // Pumps until `count` broadcasts have arrived in all.
  bool WaitCount(int count, DWORD timeoutMs) {
    return WaitFor([&] {
      MSG m;
      while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
      return seen_.load() >= count;
    }, timeoutMs);
  }

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DEVICECHANGE && (wp == 0x8000 || wp == 0x8004)) seen_.fetch_add(1);
    return DefWindowProcA(w, msg, wp, lp);
  }
  static inline std::atomic<int> seen_{0};
  HWND hwnd_ = nullptr;
};
