#include "commands/engine.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <string>

#include "commands/key_table.h"
#include "device/trace.h"

// Lines for every reading are for a tracing build only: at 100 readings a second they would
// drown the debugger channel.
#ifdef HX_ENGINE_TRACE
#define ENGINE_TRACE(text) TraceLine(text)
#else
#define ENGINE_TRACE(text) ((void)0)
#endif

namespace {

// A program leaves some of the engine's lines out: those are null.
void TraceLine(const char* line) {
  if (line) Trace(line);
}

constexpr MouseButton kButtons[5] = {MouseButton::Left, MouseButton::Right, MouseButton::Middle, MouseButton::X1,
                                     MouseButton::X2};

// The virtual-key codes the system reports the buttons' state under.
constexpr int kButtonKeys[5] = {0x01, 0x02, 0x04, 0x05, 0x06};

// The Power Command editor's sliders give delays and durations of 0 to 100 passes; a file
// may hold anything, and a run stays within what the editor can make.
constexpr int32_t kMaxPowerPasses = 100;
int32_t EditorPasses(int32_t v) { return std::clamp(v, 0, kMaxPowerPasses); }

int64_t Magnitude(int32_t v) { return v < 0 ? -int64_t{v} : int64_t{v}; }

// Integer division toward zero; a zero divisor means "this output is off". Divisors from a
// file can make the quotient exceed a motion's range: it saturates.
int32_t Divide(int64_t a, int64_t b) {
  if (b == 0) return 0;
  return static_cast<int32_t>(std::clamp<int64_t>(a / b, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

bool ButtonSet(const Command& c, int b) { return c.buttons[b] == 1; }

}  // namespace

Engine::Engine(InputSink& sink, std::function<void()> recentre, const EngineTraces& traces)
    : sink_(sink), recentre_(std::move(recentre)), traces_(traces) {}

const Command& Engine::MapCommand(int m) const {
  static const Command kEmpty;
  const Command* c = profile_ ? profile_->maps[m] : nullptr;
  return c ? *c : kEmpty;
}

void Engine::Prepare(const EngineProfile& profile, std::function<bool()> outputStopped) {
  // Nothing of an engagement before, held or remembered, reaches this one.
  ReleaseAll();
  run_ = Run{};
  profile_ = &profile;
  outputStopped_ = std::move(outputStopped);
  for (int m = 0; m < kMapCount; ++m) {
    const Command& c = MapCommand(m);
    setup_[m] = {profile.deadZone[m], c.usesKeys,     c.usesButtons, c.usesWheel,     c.usesPowerCommand,
                 c.keyAction,         c.buttonAction, c.wheelMethod, c.wheelDirection};
  }
  // The whole hold comes from this profile, never from the one before; a value the editor
  // cannot set holds nothing.
  const int32_t hold = profile.freelookHold;
  holdKind_ = Hold::None;
  holdVk_ = holdKeyCode_ = 0;
  if (hold >= 0 && hold < 300) {
    holdKind_ = Hold::Key;
    holdVk_ = KeyIndexToVirtualKey(hold);
    holdKeyCode_ = KeyIndexToKeyCode(hold);
  } else if (hold >= 300 && hold <= 304) {
    holdKind_ = Hold::Button;
    holdButton_ = kButtons[hold - 300];
  }
  LoadModeAxes();
}

// Command mode keeps the axis parameters in use.
void Engine::LoadModeAxes() {
  if (!profile_) return;
  if (mode_ == kMouselook) LoadAxes(profile_->mouselookAxes);
  if (mode_ == kMixedMode) LoadAxes(profile_->mixedAxes);
}

void Engine::LoadAxes(const std::array<EngineAxis, 2>& axes) {
  xZone_ = axes[0].panningPoint;
  yZone_ = axes[1].panningPoint;
  xNonPanning_ = 11 - int64_t{axes[0].nonPanningSensitivity};
  yNonPanning_ = 11 - int64_t{axes[1].nonPanningSensitivity};
  xPanning_ = 11 - int64_t{axes[0].panningSensitivity};
  yPanning_ = 11 - int64_t{axes[1].panningSensitivity};
}

void Engine::SetHotKeys(int pause, int recentre, int navigation, int command, int mixed) {
  hotPause_ = pause;
  hotRecentre_ = recentre;
  hotNavigation_ = navigation;
  hotCommand_ = command;
  hotMixed_ = mixed;
}

void Engine::SetFreelookKey(int virtualKey, int keyCode) {
  holdVk_ = virtualKey;
  holdKeyCode_ = keyCode;
}

void Engine::Key(int virtualKey, int keyCode, bool down, Via via) {
  if (virtualKey >= 0 && virtualKey < static_cast<int>(run_.injectedDown.size())) {
    run_.injectedDown[virtualKey] = down;
    run_.injectedKeyCode[virtualKey] = keyCode;
  }
  sink_.Key(virtualKey, keyCode, down, via);
}

void Engine::Button(MouseButton button, bool down, Via via) {
  run_.injectedDown[kButtonKeys[static_cast<int>(button)]] = down;
  sink_.Button(button, down, via);
}

void Engine::Render(int32_t x, int32_t y, int32_t z, int32_t rx, int32_t ry) {
  run_.paused = false;
  // A head back exactly at the centre is inside both maps' dead zones, as a filtered
  // tracker reports it at rest all the time: what they hold goes up.
  auto assign = [this](int32_t v, int first, int second) {
    run_.value[first] = v < 0 ? v : 0;
    run_.value[second] = v > 0 ? v : 0;
  };
  assign(x, 0, 1);
  assign(x, 10, 11);
  assign(y, 2, 3);
  assign(y, 12, 13);
  assign(z, 4, 5);
  assign(z, 14, 15);
  assign(rx, 6, 7);
  assign(ry, 8, 9);

  if (mode_ != kCommandMode) {
    ENGINE_TRACE(traces_.renderingMouseMove);
    MouseMove(rx, ry);
  }
  if (mode_ == kCommandMode) {
    ENGINE_TRACE(traces_.renderingCommand);
    for (int m = 0; m <= 9; ++m) ProcessMap(m);
  } else if (mode_ == kMixedMode) {
    ENGINE_TRACE(traces_.renderingMixed);
    for (int m = 10; m <= 15; ++m) ProcessMap(m);
  }
  HotKeys();
}

void Engine::MouseMove(int32_t rx, int32_t ry) {
  const int32_t dX = Divide(int64_t{rx} - run_.prevRx, xNonPanning_);
  const int32_t dY = Divide(int64_t{ry} - run_.prevRy, yNonPanning_);
  const int64_t xEdge = 10 * int64_t{xZone_}, yEdge = 10 * int64_t{yZone_};
  const bool xInside = -xEdge <= rx && rx <= xEdge;
  const bool yInside = -yEdge <= ry && ry <= yEdge;
  if (!(xInside && yInside)) {
    run_.panning = true;
    if (holdKind_ == Hold::Button && !run_.holdButtonPressed) {
      ENGINE_TRACE(traces_.pressingHoldButton);
      Button(holdButton_, true);
      run_.holdButtonPressed = true;
    } else if (holdKind_ == Hold::Key && !run_.holdKeyPressed) {
      ENGINE_TRACE(traces_.pressingHoldKey);
      Key(holdVk_, holdKeyCode_, true);
      run_.holdKeyPressed = true;
    }
  } else {
    run_.panning = false;
    if (holdKind_ == Hold::Button && run_.holdButtonPressed) {
      ENGINE_TRACE(traces_.releasingHoldButton);
      Button(holdButton_, false);
      run_.holdButtonPressed = false;
    } else if (holdKind_ == Hold::Key && run_.holdKeyPressed) {
      ENGINE_TRACE(traces_.releasingHoldKey);
      Key(holdVk_, holdKeyCode_, false);
      run_.holdKeyPressed = false;
    }
  }
  int32_t mx = dX, my = dY;
  if (run_.panning) {
    // Beyond the panning point the head's deflection itself keeps the view turning.
    mx = xInside ? (xPanning_ ? dX : 0) : Divide(rx, int64_t{xPanning_} * 30);
    my = yInside ? (yPanning_ ? dY : 0) : Divide(ry, int64_t{yPanning_} * 30);
  }
  sink_.Move(mx, my);
  sink_.Move(mx, my);
  run_.prevRx = rx;
  run_.prevRy = ry;
}

void Engine::ProcessMap(int m) {
  ENGINE_TRACE(("Probing map " + std::to_string(m) + "...\n").c_str());
  const MapSetup& s = setup_[m];
  // A map at 0 is inside its dead zone even when a damaged file gives a negative one.
  if (run_.value[m] != 0 && Magnitude(run_.value[m]) > s.threshold) {
    if (s.usesPowerCommand) return RunPowerCommand(m);
    if (s.usesKeys) {
      ENGINE_TRACE(traces_.pressingKeys);
      KeyPress(s.keyAction, run_.value[m], m);
    }
    if (s.usesButtons) {
      ENGINE_TRACE(traces_.pressingButtons);
      ButtonPress(s.buttonAction, run_.value[m], m);
    }
    if (s.usesWheel) {
      ENGINE_TRACE(traces_.scrollingWheel);
      WheelPress(s.wheelDirection, s.wheelMethod, run_.value[m], m);
    }
  } else {
    if (s.usesPowerCommand) {
      run_.runLatch[m] = false;
      return;
    }
    if (s.usesKeys) {
      ENGINE_TRACE(traces_.releasingKeys);
      KeyRelease(s.keyAction, m);
    }
    if (s.usesButtons) {
      ENGINE_TRACE(traces_.releasingButtons);
      ButtonRelease(s.buttonAction, m);
    }
    if (s.usesWheel) {
      ENGINE_TRACE(traces_.trippingScroll);
      run_.wheelOnce[m] = false;
    }
  }
}

// --- keys ---

void Engine::SendKeys(const std::array<int32_t, kCommandKeys>& keys, bool down, Via via) {
  for (int32_t k : keys)
    if (k != -1) Key(KeyIndexToVirtualKey(k), KeyIndexToKeyCode(k), down, via);
}

void Engine::TapKeys(const Command& c) {
  for (int32_t k : c.keys) {
    if (k == -1) continue;
    Key(KeyIndexToVirtualKey(k), KeyIndexToKeyCode(k), true);
    ENGINE_TRACE(traces_.keyDown);
    Key(KeyIndexToVirtualKey(k), KeyIndexToKeyCode(k), false);
    ENGINE_TRACE(traces_.keyUp);
  }
}

void Engine::KeyPress(int action, int32_t value, int m) {
  const Command& c = MapCommand(m);
  auto all = [&](bool down, const char* trace) {
    SendKeys(c.keys, down, Via::SendInput);
    ENGINE_TRACE(trace);
    (void)trace;
  };
  switch (action) {
    case kTap:
      if (!run_.keys.tap[m]) {
        run_.keys.tap[m] = true;
        TapKeys(c);
      }
      break;
    case kHold:
      if (!run_.keys.hold[m]) {
        run_.keys.hold[m] = true;
        all(true, traces_.keyHeld);
      }
      break;
    case kToggle:
      // The phase starts at 0 and is never reset: the first excursion sends key-ups.
      if (run_.keys.toggle[m]) break;
      run_.keys.toggle[m] = true;
      if (run_.keys.togglePhase[m]) {
        run_.keys.togglePhase[m] = false;
        all(true, traces_.keyToggledDown);
      } else {
        run_.keys.togglePhase[m] = true;
        all(false, traces_.keyToggledUp);
      }
      break;
    case kPulse:
      if (++run_.keys.pulse > 101 - int64_t{c.keyPulseRate}) {
        run_.keys.pulse = 0;
        TapKeys(c);
      }
      break;
    case kPulseByDeflection:
      if (++run_.keys.deflectionPulse > 21 - Magnitude(value)) {
        run_.keys.deflectionPulse = 0;
        TapKeys(c);
      }
      break;
  }
}

void Engine::KeyRelease(int action, int m) {
  if (action == kTap) run_.keys.tap[m] = false;
  if (action == kToggle) run_.keys.toggle[m] = false;
  if (action == kHold && run_.keys.hold[m]) {
    SendKeys(MapCommand(m).keys, false, Via::SendInput);
    run_.keys.hold[m] = false;
    ENGINE_TRACE(traces_.keysReleased);
  }
}

// --- buttons ---

void Engine::ClickButtons(const Command& c) {
  for (int b = 0; b < 5; ++b) {
    if (!ButtonSet(c, b)) continue;
    Button(kButtons[b], true);
    sink_.Sleep(1);
    Button(kButtons[b], false);
  }
}

void Engine::ButtonPress(int action, int32_t value, int m) {
  const Command& c = MapCommand(m);
  switch (action) {
    case kTap:
      if (!run_.buttons.tap[m]) {
        run_.buttons.tap[m] = true;
        ClickButtons(c);
      }
      break;
    case kHold:
      if (run_.buttons.hold[m]) break;
      run_.buttons.hold[m] = true;
      // A button several maps hold goes down once.
      for (int b = 0; b < 5; ++b)
        if (ButtonSet(c, b) && run_.buttonHolds[b]++ <= 0) Button(kButtons[b], true);
      break;
    case kToggle:
      if (run_.buttons.toggle[m]) break;
      run_.buttons.toggle[m] = true;
      run_.buttons.togglePhase[m] = !run_.buttons.togglePhase[m];
      for (int b = 0; b < 5; ++b)
        if (ButtonSet(c, b)) Button(kButtons[b], !run_.buttons.togglePhase[m]);
      break;
    case kPulse:
      if (++run_.buttons.pulse > 101 - int64_t{c.buttonPulseRate}) {
        run_.buttons.pulse = 0;
        ClickButtons(c);
      }
      break;
    case kPulseByDeflection:
      if (++run_.buttons.deflectionPulse > 21 - Magnitude(value)) {
        run_.buttons.deflectionPulse = 0;
        ClickButtons(c);
      }
      break;
  }
}

void Engine::ButtonRelease(int action, int m) {
  if (action == kTap) run_.buttons.tap[m] = false;
  if (action == kToggle) run_.buttons.toggle[m] = false;
  if (action == kHold && run_.buttons.hold[m]) {
    run_.buttons.hold[m] = false;
    const Command& c = MapCommand(m);
    // Up only when the last map holding the button lets go.
    for (int b = 0; b < 5; ++b) {
      if (!ButtonSet(c, b)) continue;
      if (run_.buttonHolds[b] < 2) {
        Button(kButtons[b], false);
        ENGINE_TRACE(traces_.buttonReleased[b]);
      }
      --run_.buttonHolds[b];
    }
  }
}

// --- wheel ---

void Engine::Scroll(int direction, Via via) {
  if (direction == 0) sink_.Wheel(120, via);
  if (direction == 1) sink_.Wheel(-120, via);
}

void Engine::WheelPress(int direction, int method, int32_t value, int m) {
  switch (method) {
    case 0:
      if (!run_.wheelOnce[m]) {
        run_.wheelOnce[m] = true;
        Scroll(direction, Via::SendInput);
      }
      break;
    case 1:
      if (++run_.wheelRepeat > MapCommand(m).wheelRate) {
        run_.wheelRepeat = 0;
        Scroll(direction, Via::SendInput);
      }
      break;
    case 2:
      if (++run_.wheelDeflection > 101 - Magnitude(value)) {
        run_.wheelDeflection = 0;
        Scroll(direction, Via::SendInput);
      }
      break;
  }
}

// --- Power Command runner ---

void Engine::RunPowerCommand(int m) {
  if (run_.runLatch[m]) return;
  run_.runLatch[m] = true;
  const Command& c = MapCommand(m);
  // The count comes from a file: keep it to the list's 50 slots.
  const int count = c.powerCount < 0 ? 0 : c.powerCount > kPowerEntries ? kPowerEntries : c.powerCount;
  std::array<bool, kPowerEntries> started{};
  std::array<int64_t, kPowerEntries> startPass{};
  int64_t sinceStart = 0, total = 0;
  int a = 0, next = 0;
  bool exhausted = false;
  auto keysOf = [&](int j, bool down) { SendKeys(c.powerKeys[j], down, Via::Legacy); };
  auto buttonsOf = [&](int j, bool down) {
    for (int b = 0; b < 5; ++b)
      if (c.powerButtons[j][b] == 1) Button(kButtons[b], down, Via::Legacy);
  };
  auto release = [&](int j) {
    if (c.powerType[j] == kPowerKeypress) keysOf(j, false);
    if (c.powerType[j] == kPowerButtonClick) buttonsOf(j, false);
    started[j] = false;
  };
  for (;;) {
    if (OutputStopped()) {
      // Nobody will see the rest of the list: let go of what it holds now.
      for (int j = 0; j < count; ++j)
        if (started[j]) release(j);
      return;
    }
    sink_.Sleep(10);
    if (a < count) {
      if (sinceStart > EditorPasses(c.powerDelay[a])) {
        switch (c.powerType[a]) {
          case kPowerKeypress:
            ENGINE_TRACE(traces_.blastingKeys);
            keysOf(a, true);
            started[a] = true;
            startPass[a] = total;
            break;
          case kPowerButtonClick:
            buttonsOf(a, true);
            started[a] = true;
            startPass[a] = total;
            break;
          case kPowerWheelTick:
            sink_.Wheel(c.powerWheelDirection[a] == 0 ? 120 : -120, Via::Legacy);
            break;
          default:
            break;  // an entry of no known type is skipped, so that the run still ends
        }
        sinceStart = 0;
        next = a + 1;
      } else {
        ++sinceStart;
      }
    } else {
      exhausted = true;
    }
    for (int j = 0; j < count; ++j) {
      if (!(started[j] || exhausted)) continue;
      if (!(exhausted || EditorPasses(c.powerDuration[j]) < total - startPass[j])) continue;
      release(j);
    }
    if (exhausted) break;
    a = next;
    ++total;
  }
}

// --- hot keys ---

bool Engine::WaitKeyUp(int vk) {
  while (sink_.KeyDown(vk)) {
    if (OutputStopped()) return false;
    sink_.Sleep(1);
  }
  return true;
}

// The new mode's maps and motion take over from nothing: what the old mode holds (its
// Hold and Toggle keys, its buttons, the freelook key or button) goes up first.
void Engine::SwitchMode(int32_t mode) {
  ReleaseAll();
  mode_ = mode;
  LoadModeAxes();
}

void Engine::HotKeys() {
  // A key we hold ourselves (a Hold map's, the freelook key) reads as down, but its release
  // could only come from us: waiting for it would never end.
  auto pressed = [this](int vk) {
    const bool ours = vk > 0 && vk < static_cast<int>(run_.injectedDown.size()) && run_.injectedDown[vk];
    return vk != 0 && !ours && sink_.KeyDown(vk);
  };
  if (pressed(hotNavigation_)) {
    TraceLine(traces_.navigationHotKey);
    if (!WaitKeyUp(hotNavigation_)) return;
    SwitchMode(kMouselook);
  }
  if (pressed(hotCommand_)) {
    TraceLine(traces_.commandHotKey);
    if (!WaitKeyUp(hotCommand_)) return;
    SwitchMode(kCommandMode);
  }
  if (pressed(hotMixed_)) {
    TraceLine(traces_.mixedHotKey);
    if (!WaitKeyUp(hotMixed_)) return;
    SwitchMode(kMixedMode);
  }
  if (pressed(hotRecentre_)) {
    // No wait for the key: held, it re-centres on every reading.
    TraceLine(traces_.recentreLink);
    if (recentre_) recentre_();
  }
  if (pressed(hotPause_)) {
    TraceLine(traces_.pauseHotKey);
    if (!WaitKeyUp(hotPause_)) return;
    run_.paused = true;
    do {
      if (OutputStopped()) return;
      if (sink_.KeyDown(hotPause_)) {
        if (!WaitKeyUp(hotPause_)) return;
        run_.paused = false;
      }
      sink_.Sleep(1);
    } while (run_.paused);
  }
}

void Engine::ReleaseAll() {
  for (int b = 0; b < 5; ++b)
    if (run_.injectedDown[kButtonKeys[b]]) Button(kButtons[b], false, Via::Legacy);
  for (int vk = 0; vk < static_cast<int>(run_.injectedDown.size()); ++vk) {
    const bool button = std::find(std::begin(kButtonKeys), std::end(kButtonKeys), vk) != std::end(kButtonKeys);
    if (run_.injectedDown[vk] && !button) Key(vk, run_.injectedKeyCode[vk], false, Via::Legacy);
  }
  // What the latches remembered as held is up now: the next excursion presses afresh.
  run_.keys.hold = {};
  run_.buttons.hold = {};
  run_.buttonHolds = {};
  run_.holdButtonPressed = run_.holdKeyPressed = false;
}
