#include "tests/e2e/probe.h"

namespace {
const char kClass[] = "QmouseTestProbe";
}

Probe::Probe(RECT r) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kClass;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  RegisterClassA(&wc);  // fails harmlessly when already registered
  hwnd_ = CreateWindowExA(0, kClass, "probe", WS_POPUP | WS_VISIBLE, r.left, r.top, r.right - r.left,
                          r.bottom - r.top, nullptr, nullptr, wc.hInstance, this);
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  Pump(100);
}

Probe::~Probe() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT CALLBACK Probe::Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Probe*>(GetWindowLongPtrA(w, GWLP_USERDATA));
  const char* name = nullptr;
  switch (msg) {
    case WM_LBUTTONDOWN: name = "Ldown"; break;
    case WM_LBUTTONUP: name = "Lup"; break;
    case WM_RBUTTONDOWN: name = "Rdown"; break;
    case WM_RBUTTONUP: name = "Rup"; break;
    case WM_MBUTTONDOWN: name = "Mdown"; break;
    case WM_MBUTTONUP: name = "Mup"; break;
  }
  if (self && (msg == WM_KEYDOWN || msg == WM_KEYUP)) {
    const int scan = (static_cast<int>(lp >> 16) & 0xFF) | ((lp & (1 << 24)) ? 0x80 : 0);
    self->events_.push_back(std::string(msg == WM_KEYDOWN ? "Kdown " : "Kup ") + std::to_string(wp) + "/" +
                            std::to_string(scan));
  }
  if (self && msg == WM_MOUSEWHEEL)
    self->events_.push_back("wheel " + std::to_string(static_cast<short>(HIWORD(wp))));
  if (self && (msg == WM_XBUTTONDOWN || msg == WM_XBUTTONUP))
    self->events_.push_back(std::string(msg == WM_XBUTTONDOWN ? "X" : "Xup") + std::to_string(HIWORD(wp)));
  if (self && name) {
    const int x = static_cast<short>(LOWORD(lp)), y = static_cast<short>(HIWORD(lp));
    self->events_.push_back(std::string(name) + " " + std::to_string(x) + "," + std::to_string(y));
  }
  return DefWindowProcA(w, msg, wp, lp);
}

void Probe::Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    Sleep(5);
  } while (GetTickCount() - start < ms);
}

bool Probe::WaitEvents(size_t count, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (events_.size() < count) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Pump(10);
  }
  return true;
}

std::string Probe::Joined() const {
  std::string s;
  for (const auto& e : events_) s += (s.empty() ? "" : " ") + e;
  return s;
}

bool Probe::TakeKeyboard() {
  // A harmless key of our own must arrive before the window counts as having the keyboard.
  for (int attempt = 0; attempt < 10; ++attempt) {
    SetForegroundWindow(hwnd_);
    SetFocus(hwnd_);
    const size_t before = events_.size();
    keybd_event(VK_F24, 0, 0, 0);
    keybd_event(VK_F24, 0, KEYEVENTF_KEYUP, 0);
    if (WaitEvents(before + 2, 300)) {
      events_.clear();
      return true;
    }
  }
  events_.clear();
  return false;
}
