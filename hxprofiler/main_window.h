#pragma once
// hxprofiler's one window: the profile manager in dialog 102, with the joystick button, the
// about box in the system menu, tracker hot-plug and engaged output on a thread of its own.
#include <windows.h>

#include <memory>

#include "hxprofiler/output.h"
#include "profiles/win/interface.h"

class MainWindow : public Interface {
 public:
  MainWindow(Output& output, winui::Application& application);
  // Whether setup's close request ended the window: then nobody is there to answer.
  bool CloseRequested() const { return closeRequested_; }

 protected:
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code) override;
  void OnDestroy() override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  std::unique_ptr<TrackerLink> OpenTrackerLink(const char* handler) override;

 private:
  void OnJoystick();
  void OnDeviceChange(WPARAM event, LPARAM data);

  Output& output_;
  HDEVNOTIFY notification_ = nullptr;
  // Keeps opentrack's poses coming in (and announced) while no output thread reads them.
  std::shared_ptr<void> trackerSource_;
  bool closeRequested_ = false;
};

ManagerOptions HxprofilerManagerOptions();
