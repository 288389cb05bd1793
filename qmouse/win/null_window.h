#pragma once
// The program's hidden main window. It shows the splash, then owns everything: the tray
// icon, the settings, the flags shared with the worker threads, and those threads.
#include <windows.h>

#include "qmouse/app_state.h"
#include "qmouse/cursor_loop.h"
#include "qmouse/win/confirm_box.h"
#include "qmouse/win/tray_icon.h"
#include "winui/app.h"
#include "winui/dialog.h"

class NullWindow : public winui::Dialog, public EmitterHost {
 public:
  static constexpr UINT kTrayCallback = WM_USER + 1;
  static constexpr UINT kApplySettings = WM_USER + 2;
  static constexpr UINT kForceLeftOn = WM_USER + 8;
  static constexpr UINT kForceLeftOff = WM_USER + 16;

  explicit NullWindow(winui::Application& application);
  ~NullWindow() override;

  AppState& App() { return app_; }
  void SetLastForeground(HWND window) { app_.lastForeground = reinterpret_cast<WindowId>(window); }
  // Values the settings pages hand back with kApplySettings.
  Settings& PageValues() { return pageValues_; }

  // Called from the cursor thread.
  bool RestartMouseTimer() override;
  void HideIndicators() override {}  // the dwell indicators arrive with dwell clicking
  WindowId Panel() override { return 0; }  // no floating panel yet
  void SetPanelLastForeground(WindowId) override {}

 protected:
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code) override;
  void OnTimer(UINT_PTR id) override;
  void OnClose() override;
  void OnDestroy() override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void StartEmitter();
  void StopEmitter();
  void CommonTeardown();
  void OnDeviceChange(WPARAM event);
  void OnExitCommand();
  void ApplySettings();
  void ReportRunKeyError(const std::string& text);

  winui::Application& application_;
  AppState app_;
  Settings pageValues_;
  TrayIcon tray_;
  ConfirmBox confirm_;
  KernelHandle emitterThread_, waiterThread_;
  HDEVNOTIFY deviceNotify_ = nullptr;
  RECT startWorkArea_ = {};
  BOOL snapWasOn_ = FALSE;
  int mouseTriple_[3] = {};
  int mouseSpeed_ = 0;
  bool sessionEnding_ = false;
};
