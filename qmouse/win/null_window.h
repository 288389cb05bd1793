#pragma once
// The program's hidden main window. It shows the splash, then owns everything: the tray
// icon, the settings, the flags shared with the worker threads, and those threads.
#include <windows.h>

#include <array>
#include <memory>

#include "device/link_cancel.h"
#include "qmouse/app_state.h"
#include "qmouse/cursor_loop.h"
#include "qmouse/tray_modes.h"
#include "qmouse/win/confirm_box.h"
#include "qmouse/win/floater.h"
#include "qmouse/win/dwell_page.h"
#include "qmouse/win/general_page.h"
#include "qmouse/win/gesture_page.h"
#include "qmouse/win/mouse_page.h"
#include "qmouse/win/sounds_page.h"
#include "qmouse/win/progress_bar.h"
#include "qmouse/win/tray_icon.h"
#include "winui/app.h"
#include "winui/dialog.h"
#include "winui/property_sheet.h"
#include "profiles/win/interface.h"

class NullWindow : public winui::Dialog, public EmitterHost, public EngageHost {
 public:
  static constexpr UINT kTrayCallback = WM_USER + 1;
  static constexpr UINT kApplySettings = SettingsPage::kApplySettings;
  static constexpr UINT kForceLeftOn = SettingsPage::kForceLeftOn;
  static constexpr UINT kForceLeftOff = SettingsPage::kForceLeftOff;

  explicit NullWindow(winui::Application& application);
  ~NullWindow() override;

  AppState& App() { return app_; }
  // The cursor thread's link is made with it.
  LinkCancel& EmitterCancel() { return emitterCancel_; }
  // From the cursor thread as it ends, whatever the reason.
  void EmitterEnded();
  void SetLastForeground(HWND window) { app_.lastForeground = reinterpret_cast<WindowId>(window); }
  // Values the settings pages hand back with kApplySettings.
  Settings& PageValues() { return pageValues_; }

  DwellIndicators& Indicators() { return indicators_; }

  // For the panel's buttons and the tray commands.
  int Ask(const char* question) { return confirm_.Ask(question, ConfirmBox::kYesNo); }
  // A panel question: dwell clicks left while it is open. Refused while another is open.
  int AskFromPanel(const char* question);
  void SetPaused(bool paused);
  // Closes the panel and the other windows and ends the program 100 ms later.
  void BeginShutdown(bool quittingNow);
  // Opens the settings sheet on the live settings; only one sheet at a time.
  void OpenOptions();
  HWND SheetWindow() const { return sheet_.hwnd(); }
  // Whether setup's close request ended the program: then nobody is there to answer.
  bool CloseRequested() const { return closeRequested_; }

  // Called from the cursor thread.
  bool RestartMouseTimer() override;
  WindowId Panel() override { return reinterpret_cast<WindowId>(floater_.hwnd()); }
  bool PanelRect(Rect& rect) override { return floater_.PublishedRect(rect); }
  void SetPanelLastForeground(WindowId window) override {
    floater_.SetLastForeground(reinterpret_cast<HWND>(window));
  }
  WindowId SettingsSheet() override { return reinterpret_cast<WindowId>(sheet_.hwnd()); }
  WindowId ConfirmBoxWindow() override { return reinterpret_cast<WindowId>(confirm_.hwnd()); }
  void ShowPanel() override;
  void MovePanel(Point topLeft) override;
  void SetDwellAction(int32_t clickMode) override;
  void HidePanel() override;
  void LookedAway() override;

  // From the profile manager, on the UI thread. The cursor thread lets go of what the
  // engine holds when it sees the flag drop.
  void Engage(const Profile& profile) override { app_.Engage(profile); }
  void Disengage() override { app_.engaged = 0; }
  HWND ManagerWindow() const { return manager_.hwnd(); }

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
  // The head tracker of the settings: links made from now on use it, and the cursor thread
  // starts again on it when it changed.
  void UseTracker(bool restartEmitter);
  void CommonTeardown();
  void OnDeviceChange(WPARAM event, LPARAM lp);
  void OnEmitterEnded();
  void OnExitCommand();
  void OpenTrayMenu();
  void OnMenuCommand(int id);
  void ShowPanelFromUi();
  void KeepPanelOnAWorkArea();
  void OnLookedAway();
  void ApplySettings();
  void SaveSettings();
  void OnCloseRequest();
  void ReportRunKeyError(const std::string& text);
  void SetQuitting();  // `quitting` = 1, and wakes the waiter thread to end
  std::array<SettingsPage*, 5> Pages() {
    return {&generalPage_, &mousePage_, &dwellPage_, &gesturePage_, &soundsPage_};
  }

  winui::Application& application_;
  AppState app_;
  Settings pageValues_;
  // The pages outlive their windows; the sheet is made anew at each opening.
  General generalPage_{pageValues_};
  MousePage mousePage_{pageValues_};
  DwellPage dwellPage_{pageValues_};
  Gesture gesturePage_{pageValues_};
  SoundsPage soundsPage_{pageValues_};
  winui::Sheet sheet_{"Quellan Mouse Settings"};
  Interface manager_{*this, application_};  // the "Game options" window
  TrayIcon tray_;
  TrayModes trayModes_{app_};
  ConfirmBox confirm_;
  Floater floater_{*this};
  Win32Indicators indicators_;
  LinkCancel emitterCancel_;
  KernelHandle emitterThread_, waiterThread_;
  // A tracker arrived while the cursor thread still ran: should that thread end on a link that
  // failed meanwhile, the arrival is not lost.
  bool arrivalWhileRunning_ = false;
  KernelHandle quitEvent_;  // set with `quitting`; the waiter thread sleeps on it
  HDEVNOTIFY deviceNotify_ = nullptr;
  // Keeps opentrack's poses coming in (and announced) while no cursor thread holds a link.
  std::shared_ptr<void> trackerSource_;
  RECT startWorkArea_ = {};
  BOOL snapWasOn_ = FALSE;
  int mouseTriple_[3] = {};
  int mouseSpeed_ = 0;
  bool closeRequested_ = false;
};
