#pragma once
// The cursor thread's passes: one tracker reading per pass, paced by the tracker. Normal
// passes move the cursor with the head, recognise gestures, notice the physical mouse and
// track the foreground window.
#include <functional>

#include "commands/engine.h"
#include "commands/input_sink.h"
#include "device/hx_mouse.h"
#include "qmouse/app_state.h"
#include "qmouse/click_emitter.h"
#include "qmouse/desktop.h"
#include "qmouse/dwell.h"
#include "qmouse/dwell_seams.h"
#include "qmouse/look_away.h"
#include "qmouse/panel_placement.h"
#include "profiles/engine_view.h"

// The main window's side of what the cursor thread does to windows.
class EmitterHost {
 public:
  virtual ~EmitterHost() = default;
  // Restarts the one-second timer that ends a physical-mouse hold. False when the main
  // window is gone.
  virtual bool RestartMouseTimer() = 0;
  virtual WindowId Panel() = 0;  // the floating panel, 0 while none exists
  // Where the panel is, as the window system last placed it; false while unknown. Kept by
  // the UI thread, so reading it costs the cursor thread no call into the window system.
  virtual bool PanelRect(Rect& rect) = 0;
  virtual void SetPanelLastForeground(WindowId window) = 0;
  virtual WindowId SettingsSheet() = 0;    // 0 while closed
  virtual WindowId ConfirmBoxWindow() = 0;  // 0 while closed
  // Panel changes made from the cursor thread; each is safe to call across threads.
  virtual void ShowPanel() = 0;  // without activating it
  virtual void MovePanel(Point topLeft) = 0;  // keeping size and z-order
  // Shows `clickMode` on the panel.
  virtual void SetDwellAction(int32_t clickMode) = 0;
  // Hides the panel for an engaged profile, without counting it as hidden by the user.
  virtual void HidePanel() = 0;
  // The head looked away long enough: leave the engaged game, or end the pause. Safe to
  // call across threads; the main window does the work.
  virtual void LookedAway() = 0;
};

// What the cursor thread works with besides the desktop and the main window.
struct EmitterTools {
  DwellIndicators& indicators;
  InputSink& input;
  SoundPlayer& sounds;
  // The process's one output engine, created on first use.
  std::function<Engine&()> engine;
  // Milliseconds on a steady clock, for the look away's hold.
  std::function<int64_t()> nowMs = SteadyMs;
  static int64_t SteadyMs();
};

// Integer fractions of a monitor that size the dwell indicators, with the monitor and its
// work area: those of the monitor the cursor is on.
struct ScreenMeasures {
  int32_t w16 = 0, w53 = 0, h40 = 0, h12 = 0;
  Rect workArea;
  Rect monitor;
  static ScreenMeasures Of(const Rect& desktop, const Rect& workArea);
  // The fractions were chosen on 96-DPI screens; on a monitor set to a larger scale the user
  // asks for larger things, so they grow with it (ScaleForDpi).
  static ScreenMeasures Of(const Monitor& monitor);
};

class CursorLoop {
 public:
  CursorLoop(AppState& app, Desktop& desktop, EmitterHost& host, EmitterTools tools);

  // Measures the screen and centres the cursor.
  void Start();
  // Runs passes until stopEmitter is seen (returns 0) or a read fails (returns -1, after
  // closing the link at once).
  int Run(CHxMouse& link);
  // One normal pass for a reading.
  void NormalPass(const HxPositionDouble& reading);

  const ScreenMeasures& Measures() const { return measures_; }
  Point Last() const { return last_; }

 private:
  int EngagedPass(CHxMouse& link);
  int FailExit(CHxMouse& link);
  void EndEngagedOutput();
  KeyboardInfo FollowKeyboard();
  void GesturePass();
  Point PhysicalMouseCheck();  // returns the cursor position it read
  void TrackForeground(WindowId under);
  void PerformGesture(GestureKind gesture);
  void FollowMonitor(const std::vector<Monitor>& monitors);
  bool CheckLookAway(const HxPositionDouble& reading);

  AppState& app_;
  Desktop& desktop_;
  EmitterHost& host_;
  DwellIndicators& indicators_;
  std::function<Engine&()> engine_;
  std::function<int64_t()> nowMs_;
  SoundPlayer& sounds_;
  LookAway lookAway_;
  std::shared_ptr<const Profile> engagedProfile_;  // kept alive while the engine reads it
  EngineProfile engineProfile_;  // the engaged profile as the engine reads it
  int32_t engagement_ = 0;       // which engagement the engine was prepared for
  ClickEmitter clicker_;
  Dwell dwell_;
  PanelPlacement placement_;
  ScreenMeasures measures_;
  Rect desktopRect_;
  Monitor monitor_;  // the one the cursor was last on
  Rect clip_;        // where the system confines the cursor, as last asked
  Point last_;
  bool engagedSetUp_ = false;
  bool liveFilled_ = false;
  // The on-screen keyboard while one is known; looked for every few passes (80 ms at the
  // tracker's 100 Hz) while none is.
  static constexpr int kKeyboardSearchPasses = 8;
  WindowId keyboard_ = 0;
  int passesSinceSearch_ = kKeyboardSearchPasses;
  double liveX_ = 0, liveZ_ = 0, liveRX_ = 0, liveRY_ = 0;
};
