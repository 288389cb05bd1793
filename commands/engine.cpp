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
  profile_ = &profile;
  outputStopped_ = std::move(outputStopped);
  for (int m = 0; m < kMapCount; ++m) {
    const Command& c = MapCommand(m);
    setup_[m] = {profile.deadZone[m], c.usesKeys,     c.usesButtons, c.usesWheel,     c.usesPowerCommand,
                 c.keyAction,         c.buttonAction, c.wheelMethod, c.wheelDirection};
  }
  holdKeyPressed_ = holdButtonPressed_ = false;
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
  if (mode_ == kMouselook) LoadAxes(profile.mouselookAxes);
  if (mode_ == kMixedMode) LoadAxes(profile.mixedAxes);
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
  if (virtualKey >= 0 && virtualKey < static_cast<int>(injectedDown_.size())) {
    injectedDown_[virtualKey] = down;
    injectedKeyCode_[virtualKey] = keyCode;
  }
  sink_.Key(virtualKey, keyCode, down, via);
}

void Engine::Button(MouseButton button, bool down, Via via) {
  injectedDown_[kButtonKeys[static_cast<int>(button)]] = down;
  sink_.Button(button, down, via);
}

void Engine::Render(int32_t x, int32_t y, int32_t z, int32_t rx, int32_t ry) {
  paused_ = false;
  // A deflection of exactly 0 leaves both maps of its pair as they were.
  auto assign = [this](int32_t v, int first, int second) {
    if (v < 0) {
      value_[first] = v;
      value_[second] = 0;
    } else if (v > 0) {
      value_[first] = 0;
      value_[second] = v;
    }
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
  const int32_t dX = Divide(int64_t{rx} - prevRx_, xNonPanning_);
  const int32_t dY = Divide(int64_t{ry} - prevRy_, yNonPanning_);
  const int64_t xEdge = 10 * int64_t{xZone_}, yEdge = 10 * int64_t{yZone_};
  const bool xInside = -xEdge <= rx && rx <= xEdge;
  const bool yInside = -yEdge <= ry && ry <= yEdge;
  if (!(xInside && yInside)) {
    panning_ = true;
    if (holdKind_ == Hold::Button && !holdButtonPressed_) {
      ENGINE_TRACE(traces_.pressingHoldButton);
      Button(holdButton_, true);
      holdButtonPressed_ = true;
    } else if (holdKind_ == Hold::Key && !holdKeyPressed_) {
      ENGINE_TRACE(traces_.pressingHoldKey);
      Key(holdVk_, holdKeyCode_, true);
      holdKeyPressed_ = true;
    }
  } else {
    panning_ = false;
    if (holdKind_ == Hold::Button && holdButtonPressed_) {
      ENGINE_TRACE(traces_.releasingHoldButton);
      Button(holdButton_, false);
      holdButtonPressed_ = false;
    } else if (holdKind_ == Hold::Key && holdKeyPressed_) {
      ENGINE_TRACE(traces_.releasingHoldKey);
      Key(holdVk_, holdKeyCode_, false);
      holdKeyPressed_ = false;
    }
  }
  int32_t mx = dX, my = dY;
  if (panning_) {
    // Beyond the panning point the head's deflection itself keeps the view turning.
    mx = xInside ? (xPanning_ ? dX : 0) : Divide(rx, int64_t{xPanning_} * 30);
    my = yInside ? (yPanning_ ? dY : 0) : Divide(ry, int64_t{yPanning_} * 30);
  }
  sink_.Move(mx, my);
  sink_.Move(mx, my);
  prevRx_ = rx;
  prevRy_ = ry;
}

void Engine::ProcessMap(int m) {
  ENGINE_TRACE(("Probing map " + std::to_string(m) + "...\n").c_str());
  const MapSetup& s = setup_[m];
  if (Magnitude(value_[m]) > s.threshold) {
    if (s.usesPowerCommand) return RunPowerCommand(m);
    if (s.usesKeys) {
      ENGINE_TRACE(traces_.pressingKeys);
      KeyPress(s.keyAction, value_[m], m);
    }
    if (s.usesButtons) {
      ENGINE_TRACE(traces_.pressingButtons);
      ButtonPress(s.buttonAction, value_[m], m);
    }
    if (s.usesWheel) {
      ENGINE_TRACE(traces_.scrollingWheel);
      WheelPress(s.wheelDirection, s.wheelMethod, value_[m], m);
    }
  } else {
    if (s.usesPowerCommand) {
      runLatch_[m] = false;
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
      wheelOnce_[m] = false;
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
      if (!keys_.tap[m]) {
        keys_.tap[m] = true;
        TapKeys(c);
      }
      break;
    case kHold:
      if (!keys_.hold[m]) {
        keys_.hold[m] = true;
        all(true, traces_.keyHeld);
      }
      break;
    case kToggle:
      // The phase starts at 0 and is never reset: the first excursion sends key-ups.
      if (keys_.toggle[m]) break;
      keys_.toggle[m] = true;
      if (keys_.togglePhase[m]) {
        keys_.togglePhase[m] = false;
        all(true, traces_.keyToggledDown);
      } else {
        keys_.togglePhase[m] = true;
        all(false, traces_.keyToggledUp);
      }
      break;
    case kPulse:
      if (++keys_.pulse > 101 - int64_t{c.keyPulseRate}) {
        keys_.pulse = 0;
        TapKeys(c);
      }
      break;
    case kPulseByDeflection:
      if (++keys_.deflectionPulse > 21 - Magnitude(value)) {
        keys_.deflectionPulse = 0;
        TapKeys(c);
      }
      break;
  }
}

void Engine::KeyRelease(int action, int m) {
  if (action == kTap) keys_.tap[m] = false;
  if (action == kToggle) keys_.toggle[m] = false;
  if (action == kHold && keys_.hold[m]) {
    SendKeys(MapCommand(m).keys, false, Via::SendInput);
    keys_.hold[m] = false;
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
      if (!buttons_.tap[m]) {
        buttons_.tap[m] = true;
        ClickButtons(c);
      }
      break;
    case kHold:
      if (buttons_.hold[m]) break;
      buttons_.hold[m] = true;
      // A button several maps hold goes down once.
      for (int b = 0; b < 5; ++b)
        if (ButtonSet(c, b) && buttonHolds_[b]++ <= 0) Button(kButtons[b], true);
      break;
    case kToggle:
      if (buttons_.toggle[m]) break;
      buttons_.toggle[m] = true;
      buttons_.togglePhase[m] = !buttons_.togglePhase[m];
      for (int b = 0; b < 5; ++b)
        if (ButtonSet(c, b)) Button(kButtons[b], !buttons_.togglePhase[m]);
      break;
    case kPulse:
      if (++buttons_.pulse > 101 - int64_t{c.buttonPulseRate}) {
        buttons_.pulse = 0;
        ClickButtons(c);
      }
      break;
    case kPulseByDeflection:
      if (++buttons_.deflectionPulse > 21 - Magnitude(value)) {
        buttons_.deflectionPulse = 0;
        ClickButtons(c);
      }
      break;
  }
}

void Engine::ButtonRelease(int action, int m) {
  if (action == kTap) buttons_.tap[m] = false;
  if (action == kToggle) buttons_.toggle[m] = false;
  if (action == kHold && buttons_.hold[m]) {
    buttons_.hold[m] = false;
    const Command& c = MapCommand(m);
    // Up only when the last map holding the button lets go.
    for (int b = 0; b < 5; ++b) {
      if (!ButtonSet(c, b)) continue;
      if (buttonHolds_[b] < 2) {
        Button(kButtons[b], false);
        ENGINE_TRACE(traces_.buttonReleased[b]);
      }
      --buttonHolds_[b];
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
      if (!wheelOnce_[m]) {
        wheelOnce_[m] = true;
        Scroll(direction, Via::SendInput);
      }
      break;
    case 1:
      if (++wheelRepeat_ > MapCommand(m).wheelRate) {
        wheelRepeat_ = 0;
        Scroll(direction, Via::SendInput);
      }
      break;
    case 2:
      if (++wheelDeflection_ > 101 - Magnitude(value)) {
        wheelDeflection_ = 0;
        Scroll(direction, Via::SendInput);
      }
      break;
  }
}

// --- Power Command runner ---

void Engine::RunPowerCommand(int m) {
  if (runLatch_[m]) return;
  runLatch_[m] = true;
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

void Engine::HotKeys() {
  // A key we hold ourselves (a Hold map's, the freelook key) reads as down, but its release
  // could only come from us: waiting for it would never end.
  auto pressed = [this](int vk) {
    const bool ours = vk > 0 && vk < static_cast<int>(injectedDown_.size()) && injectedDown_[vk];
    return vk != 0 && !ours && sink_.KeyDown(vk);
  };
  if (pressed(hotNavigation_)) {
    TraceLine(traces_.navigationHotKey);
    if (!WaitKeyUp(hotNavigation_)) return;
    mode_ = kMouselook;
    if (profile_) LoadAxes(profile_->mouselookAxes);
  }
  if (pressed(hotCommand_)) {
    TraceLine(traces_.commandHotKey);
    if (!WaitKeyUp(hotCommand_)) return;
    mode_ = kCommandMode;
  }
  if (pressed(hotMixed_)) {
    TraceLine(traces_.mixedHotKey);
    if (!WaitKeyUp(hotMixed_)) return;
    mode_ = kMixedMode;
    if (profile_) LoadAxes(profile_->mixedAxes);
  }
  if (pressed(hotRecentre_)) {
    // No wait for the key: held, it re-centres on every reading.
    TraceLine(traces_.recentreLink);
    if (recentre_) recentre_();
  }
  if (pressed(hotPause_)) {
    TraceLine(traces_.pauseHotKey);
    if (!WaitKeyUp(hotPause_)) return;
    paused_ = true;
    do {
      if (OutputStopped()) return;
      if (sink_.KeyDown(hotPause_)) {
        if (!WaitKeyUp(hotPause_)) return;
        paused_ = false;
      }
      sink_.Sleep(1);
    } while (paused_);
  }
}

void Engine::ReleaseAll() {
  for (int b = 0; b < 5; ++b)
    if (injectedDown_[kButtonKeys[b]]) Button(kButtons[b], false, Via::Legacy);
  for (int vk = 0; vk < static_cast<int>(injectedDown_.size()); ++vk) {
    const bool button = std::find(std::begin(kButtonKeys), std::end(kButtonKeys), vk) != std::end(kButtonKeys);
    if (injectedDown_[vk] && !button) Key(vk, injectedKeyCode_[vk], false, Via::Legacy);
  }
  // What the latches remembered as held is up now: the next excursion presses afresh.
  keys_.hold = {};
  buttons_.hold = {};
  buttonHolds_ = {};
  holdButtonPressed_ = holdKeyPressed_ = false;
}
