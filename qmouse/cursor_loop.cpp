#include "qmouse/cursor_loop.h"

#include <chrono>

#include "commands/key_table.h"
#include "profiles/profile.h"

int32_t TaskbarEdgeOf(const Rect& desktop, const Rect& work, int32_t current) {
  if (desktop.bottom != work.bottom) return kTaskbarBottom;
  if (desktop.left != work.left) return kTaskbarLeft;
  if (desktop.right != work.right) return kTaskbarRight;
  if (desktop.top != work.top) return kTaskbarTop;
  return current;
}

ScreenMeasures ScreenMeasures::Of(const Rect& desktop, const Rect& workArea) {
  ScreenMeasures m;
  m.w16 = desktop.right / 16;
  m.w53 = desktop.right / 53;
  m.h40 = desktop.bottom / 40;
  m.h12 = desktop.bottom / 12;
  m.workArea = workArea;
  m.monitor = desktop;
  return m;
}

ScreenMeasures ScreenMeasures::Of(const Monitor& monitor) {
  ScreenMeasures m;
  const int32_t w = monitor.bounds.Width(), h = monitor.bounds.Height();
  m.w16 = ScaleForDpi(w / 16, monitor.dpi);
  m.w53 = ScaleForDpi(w / 53, monitor.dpi);
  m.h40 = ScaleForDpi(h / 40, monitor.dpi);
  m.h12 = ScaleForDpi(h / 12, monitor.dpi);
  m.workArea = monitor.work;
  m.monitor = monitor.bounds;
  return m;
}

namespace {
constexpr char kKeyboardClass[] = "My-T-Mouse";  // the on-screen keyboard's top-level window
constexpr int32_t kLookAwaySound = 6;               // "DOUBLEBEEP": short, unlike any click's
}

int64_t EmitterTools::SteadyMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

CursorLoop::CursorLoop(AppState& app, Desktop& desktop, EmitterHost& host, EmitterTools tools)
    : app_(app),
      desktop_(desktop),
      host_(host),
      indicators_(tools.indicators),
      engine_(std::move(tools.engine)),
      nowMs_(std::move(tools.nowMs)),
      sounds_(tools.sounds),
      clicker_(app, tools.input, tools.sounds),
      dwell_(app, desktop, host, tools.indicators, clicker_),
      placement_(app, desktop, host) {}

void CursorLoop::Start() {
  desktopRect_ = desktop_.DesktopRect();
  const std::vector<Monitor>& monitors = desktop_.Monitors();
  const int i = MonitorIndexAt(monitors, desktop_.CursorPos());
  monitor_ = i >= 0 ? monitors[i] : Monitor{desktopRect_, desktop_.WorkArea(), 96};
  measures_ = ScreenMeasures::Of(monitor_);
  clip_ = desktop_.CursorClip();
  // The middle of the monitor the user is looking at, not of the whole virtual screen.
  const Rect& b = monitor_.bounds;
  last_ = {b.left + b.Width() / 2, b.top + b.Height() / 2};
  desktop_.SetCursorPos(last_);
}

// The indicators and their measures belong to the monitor under the cursor; measured again
// only when that changes (another monitor, or a display or work-area change of this one).
void CursorLoop::FollowMonitor(const std::vector<Monitor>& monitors) {
  const int i = MonitorIndexAt(monitors, last_);
  if (i < 0 || monitors[i] == monitor_) return;
  monitor_ = monitors[i];
  measures_ = ScreenMeasures::Of(monitor_);
}

int CursorLoop::Run(CHxMouse& link) {
  HxPositionDouble reading;
  while (app_.stopEmitter.load() != 1) {
    if (app_.engaged.load() == 1) {
      if (EngagedPass(link) != 0) return -1;
      continue;
    }
    EndEngagedOutput();
    if (!link.GetFloatPosition(reading)) {
      if (link.Cancelled()) break;  // our owner's stop
      return FailExit(link);
    }
    NormalPass(reading);
  }
  EndEngagedOutput();
  clicker_.LetGo();
  return 0;
}

// Disengaged, unplugged or leaving: nothing the engine holds may stay pressed after it.
void CursorLoop::EndEngagedOutput() {
  if (!engagedSetUp_) return;
  engagedSetUp_ = false;
  engine_().ReleaseAll();
  engagedProfile_.reset();
}

int CursorLoop::EngagedPass(CHxMouse& link) {
  Engine& engine = engine_();
  if (engagedSetUp_ && engagement_ != app_.engagements.load()) EndEngagedOutput();  // engaged anew
  if (!engagedSetUp_) {
    engagedSetUp_ = true;
    engagement_ = app_.engagements.load();
    indicators_.Hide(Indicator::Horizontal);
    indicators_.Hide(Indicator::Vertical);
    host_.HidePanel();
    engagedProfile_ = app_.EngagedProfile();
    if (!engagedProfile_) engagedProfile_ = std::make_shared<Profile>();  // engaged with nothing handed over
    // Whatever ends engaged output also ends the engine's waits: a Power Command list, a
    // hot key's release or a pause would otherwise keep this thread from seeing it.
    PrepareEngine(engine, *engagedProfile_, engineProfile_, [&app = app_] {
      return app.engaged.load() != 1 || app.stopEmitter.load() == 1 || app.quitting.load() == 1;
    });
  }
  // The fractional record, worded as the driver words its integer one: the look away needs
  // turns beyond what a word below the rest value can carry.
  HxPositionDouble reading;
  if (!link.GetFloatPosition(reading)) return link.Cancelled() ? 0 : FailExit(link);  // a cancel is our owner's stop
  if (CheckLookAway(reading)) return 0;
  RenderReading(engine, HxIntegerRecord(reading));
  return 0;
}

// Engaged or paused, a look away held long enough is the head's way out. Engaged, this
// thread lets go of everything at once, while the game still has the keyboard; the main
// window then disengages as the button does, or unpauses. True when it fired.
bool CursorLoop::CheckLookAway(const HxPositionDouble& reading) {
  if (!lookAway_.Step(app_.settings, reading.RX, reading.RY, nowMs_())) return false;
  if (app_.engaged.load() != 1 && app_.paused.load() == 0) return false;
  if (app_.engaged.load() == 1) {
    app_.engaged = 0;
    EndEngagedOutput();
  }
  sounds_.Play(kLookAwaySound);
  host_.LookedAway();
  return true;
}

int CursorLoop::FailExit(CHxMouse& link) {
  // The tracker is gone or broken: let go of it now. This thread no longer runs, so the
  // next arrival must start a new one, whether or not a removal was seen.
  EndEngagedOutput();
  clicker_.LetGo();
  app_.stopEmitter = 1;
  link.Die();
  app_.emitterRunning = 0;
  return -1;
}

void CursorLoop::NormalPass(const HxPositionDouble& reading) {
  CheckLookAway(reading);
  const Rect work = desktop_.WorkArea();
  const int32_t edge = TaskbarEdgeOf(desktopRect_, work, app_.taskbarEdge.load());
  if (edge != app_.taskbarEdge.load()) app_.taskbarEdge = edge;
  const std::vector<Monitor>& monitors = desktop_.Monitors();

  if (app_.holdCursor.load() == 0) {
    liveX_ = reading.X;
    liveZ_ = reading.Z;
    liveRX_ = reading.RX;
    liveRY_ = reading.RY;
    liveFilled_ = true;
  }

  const KeyboardInfo keyboard = FollowKeyboard();
  if (app_.scrollMode.load() == 0 && app_.dragLeft.load() == 0 && app_.dragRight.load() == 0)
    placement_.Run(keyboard, monitors, last_);

  GesturePass();
  const Point seen = PhysicalMouseCheck();

  // Each call into the window system costs tens of microseconds under some systems, so a
  // pass that does not move the cursor neither sets nor re-reads it. The hold may have ended
  // since the reading was taken above: a step on a reading never taken would prime on zero
  // and throw the cursor across the screen.
  Point now = seen;
  if (app_.holdCursor.load() != 1 && liveFilled_) {
    const Settings& s = app_.settings;
    const CursorSettings cs = {s.Get(Setting::XSpeed),      s.Get(Setting::YSpeed),
                               s.Get(Setting::XStabilizer), s.Get(Setting::YStabilizer),
                               s.Get(Setting::XAccel),      s.Get(Setting::YAccel)};
    // The head moves the cursor by pixels on every monitor, as a mouse does, whatever the
    // monitor's scale. Wine clips only to the bounding box of the monitors, so a point in
    // a gap between monitors of different sizes goes to the nearest one here, as Windows
    // itself would put it. The system then keeps it inside the clip rectangle, and so does
    // this pass, so where the cursor lands is known without reading it back. At the
    // rectangle's edge the rectangle is asked again, since a game may have let go of it;
    // one that a game narrowed is noticed by the next pass (PhysicalMouseCheck).
    const Point wanted = OntoMonitors(monitors, CursorStep(seen, liveRX_, liveRY_, cs, app_.cursor));
    if (ClampInto(clip_, wanted) != wanted) clip_ = desktop_.CursorClip();
    const Point target = ClampInto(clip_, wanted);
    if (target != seen) {
      desktop_.SetCursorPos(target);
      now = target;
    }
  }
  last_ = now;
  FollowMonitor(monitors);

  // The window under the cursor matters only when it is one of ours or the keyboard, and
  // asking costs a call into the window system: in Left Click mode, while only the panel
  // and the keyboard are about, it is asked only over their rectangles. In any other mode
  // each of our windows turns the rest into a left click, so it is asked every pass.
  Rect panel;
  const bool windowsAround = app_.settings.Get(Setting::DwellCommand) != kLeftClick || host_.SettingsSheet() ||
                             host_.ConfirmBoxWindow() ||
                             (keyboard.window && Contains(keyboard.rect, last_)) ||
                             (host_.Panel() && (!host_.PanelRect(panel) || Contains(panel, last_)));
  const WindowId under = windowsAround ? desktop_.WindowAt(last_) : 0;
  TrackForeground(under);
  dwell_.Step(last_, under, keyboard, measures_, placement_.PanelLeftOfKeyboard());

  desktopRect_ = desktop_.DesktopRect();  // the primary monitor, for the taskbar's edge
}

KeyboardInfo CursorLoop::FollowKeyboard() {
  // Once found, the keyboard is followed through its rectangle; while there is none, the
  // search through every top-level window runs only every few passes.
  if (!keyboard_ && ++passesSinceSearch_ >= kKeyboardSearchPasses) {
    passesSinceSearch_ = 0;
    keyboard_ = desktop_.FindTopLevel(kKeyboardClass);
  }
  KeyboardInfo keyboard;
  if (keyboard_ && !desktop_.WindowRect(keyboard_, keyboard.rect)) keyboard_ = 0;
  keyboard.window = keyboard_;
  return keyboard;
}

void CursorLoop::GesturePass() {
  if (app_.trayMenuOpen.load() || app_.scrollMode.load() || app_.dragLeft.load() || app_.dragRight.load())
    return;
  if (app_.settings.Get(Setting::Gestures) == 0 || !liveFilled_) return;
  const Settings& s = app_.settings;
  const GesturePoints points = {s.Get(Setting::LeftPoint), s.Get(Setting::RightPoint),
                                s.Get(Setting::ForwardPoint), s.Get(Setting::BackPoint)};
  const GestureFired fired = GestureStep(liveX_, liveZ_, points, app_.gestures);
  if (fired.left) PerformGesture(GestureKind::Left);
  if (fired.right) PerformGesture(GestureKind::Right);
  if (fired.forward) PerformGesture(GestureKind::Forward);
  if (fired.back) PerformGesture(GestureKind::Back);
}

Point CursorLoop::PhysicalMouseCheck() {
  const Point seen = desktop_.CursorPos();
  if (seen == last_) return seen;
  // A program that confines the cursor anew (a game's ClipCursor) makes the system put it
  // elsewhere than the last pass did: no hand on the mouse.
  const Rect clip = desktop_.CursorClip();
  if (clip != clip_) {
    clip_ = clip;
    if (ClampInto(clip, last_) == seen) return seen;
  }
  if (!host_.RestartMouseTimer()) {
    app_.stopEmitter = 1;  // the main window is gone: nothing can end the hold
    return seen;
  }
  dwell_.OnPhysicalMouse();
  app_.holdCursor = 1;
  return seen;
}

void CursorLoop::TrackForeground(WindowId under) {
  const WindowId panel = host_.Panel();
  if (panel == 0) return;  // without a panel there is nothing to give the focus back from
  if (under && desktop_.IsWithin(under, panel)) return;
  const WindowId foreground = desktop_.Foreground();
  app_.lastForeground = foreground;
  host_.SetPanelLastForeground(foreground);
}

void CursorLoop::PerformGesture(GestureKind gesture) {
  static constexpr Setting kType[] = {Setting::LeftType, Setting::RightType, Setting::ForwardType, Setting::BackType};
  static constexpr Setting kCommand[] = {Setting::LeftCommand, Setting::RightCommand, Setting::ForwardCommand,
                                         Setting::BackCommand};
  const int32_t type = app_.settings.Get(kType[static_cast<int>(gesture)]);
  const int32_t index = app_.settings.Get(kCommand[static_cast<int>(gesture)]);
  const bool isMode = index >= 0 && index <= 7;
  if (type == 0) {  // change the click mode
    clicker_.PlayGlobalSound();
    if (isMode) {
      app_.settings.Set(Setting::DwellCommand, kNoClick + index);
      app_.markedClickMode = kNoClick + index;
    }
    host_.SetDwellAction(app_.settings.Get(Setting::DwellCommand));
    if (app_.panelHidden.load() && index == 0) {
      host_.ShowPanel();
      app_.panelHidden = 0;
    }
  } else if (type == 1 && isMode && index != 0) {  // click once; Scroll does not enter scroll mode
    clicker_.Emit(kNoClick + index);
  }
}
