#pragma once
// A small window with one slider per axis, so a person can play the head by hand. The
// sliders also follow the pose when a script, the demo or a test moves it.
#include <windows.h>

#include <functional>

#include "hxsim/sim_device.h"

class SliderWindow {
 public:
  SliderWindow(SimDevice& device, std::function<void()> takenOver);
  // False without a display (or when the window cannot be made).
  [[nodiscard]] bool Create();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCreate();
  void OnSliderMoved();
  void FollowPose();

  SimDevice& device_;
  std::function<void()> takenOver_;
  HWND window_ = nullptr;
  HWND sliders_[5] = {};
};
