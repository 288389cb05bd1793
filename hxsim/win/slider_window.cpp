#include "hxsim/win/slider_window.h"

#include <commctrl.h>

#include <cmath>
#include <utility>

namespace {

const char kClassName[] = "HxSimSliders";
constexpr int kRange = 500;
constexpr UINT_PTR kFollowTimer = 1;
constexpr int kFirstSliderId = 101;
const char* const kAxisNames[5] = {"X", "Y", "Z", "RX", "RY"};

int SliderValue(double deflection) {
  double v = std::trunc(deflection);
  return static_cast<int>(v < -kRange ? -kRange : v > kRange ? kRange : v);
}

}  // namespace

SliderWindow::SliderWindow(SimDevice& device, std::function<void()> takenOver)
    : device_(device), takenOver_(std::move(takenOver)) {}

bool SliderWindow::Create() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
  if (!InitCommonControlsEx(&controls)) return false;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassA(&windowClass)) return false;
  RECT frame = {0, 0, 360, 5 * 36 + 12};
  AdjustWindowRect(&frame, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE);
  HWND window = CreateWindowExA(0, kClassName, "hxsim", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                nullptr, nullptr, windowClass.hInstance, this);
  if (!window) return false;
  ShowWindow(window, SW_SHOWNOACTIVATE);
  return true;
}

LRESULT CALLBACK SliderWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<SliderWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<SliderWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  return self->OnMessage(message, wParam, lParam);
}

LRESULT SliderWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_HSCROLL:
      if (lParam) OnSliderMoved();
      return 0;
    case WM_TIMER:
      if (wParam == kFollowTimer) FollowPose();
      return 0;
    case WM_CLOSE:
      // Closing the window leaves the simulator running; `quit` ends it.
      ShowWindow(window_, SW_MINIMIZE);
      return 0;
    default:
      return DefWindowProcA(window_, message, wParam, lParam);
  }
}

void SliderWindow::OnCreate() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  for (int i = 0; i < 5; ++i) {
    int y = 6 + i * 36;
    CreateWindowExA(0, "STATIC", kAxisNames[i], WS_CHILD | WS_VISIBLE, 8, y + 8, 30, 20, window_, nullptr,
                    instance, nullptr);
    sliders_[i] = CreateWindowExA(0, TRACKBAR_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_HORZ, 40, y,
                                  310, 32, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstSliderId + i)),
                                  instance, nullptr);
    SendMessageA(sliders_[i], TBM_SETRANGEMIN, FALSE, -kRange);
    SendMessageA(sliders_[i], TBM_SETRANGEMAX, FALSE, kRange);
    SendMessageA(sliders_[i], TBM_SETPAGESIZE, 0, 50);
    SendMessageA(sliders_[i], TBM_SETPOS, TRUE, 0);
  }
  SetTimer(window_, kFollowTimer, 100, nullptr);
}

void SliderWindow::OnSliderMoved() {
  double v[5];
  for (int i = 0; i < 5; ++i) v[i] = static_cast<double>(static_cast<int>(SendMessageA(sliders_[i], TBM_GETPOS, 0, 0)));
  device_.SetPose(SimPose{v[0], v[1], v[2], v[3], v[4]});
  takenOver_();
}

void SliderWindow::FollowPose() {
  // Not while a slider is being dragged: it would jump under the mouse.
  if (GetCapture()) return;
  SimPose pose = device_.Pose();
  const double values[5] = {pose.x, pose.y, pose.z, pose.rx, pose.ry};
  for (int i = 0; i < 5; ++i) {
    int value = SliderValue(values[i]);
    if (SendMessageA(sliders_[i], TBM_GETPOS, 0, 0) != value) SendMessageA(sliders_[i], TBM_SETPOS, TRUE, value);
  }
}
