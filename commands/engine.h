#pragma once
// The output engine: while a game profile is engaged, each tracker reading becomes relative
// mouse motion (with an optional held "freelook" key or button), and key, button, wheel and
// Power Command output for the motions that leave their dead zone. Hot keys switch the
// mode, re-centre the tracker and pause. One engine serves the whole process, driven only
// by the cursor thread.
#include <array>
#include <cstdint>
#include <functional>

#include "commands/command.h"
#include "commands/engine_traces.h"
#include "commands/input_sink.h"

// Where panning begins and how sensitive the two kinds of motion are, for one axis.
struct EngineAxis {
  int32_t panningPoint = 175;
  int32_t nonPanningSensitivity = 7;
  int32_t panningSensitivity = 7;
};

// What the engine reads of the engaged profile. The maps are read again at each output, so
// they point at the profile's own records.
struct EngineProfile {
  std::array<const Command*, kMapCount> maps{};
  std::array<int32_t, kMapCount> deadZone{};
  std::array<EngineAxis, 2> mouselookAxes, mixedAxes;  // [0] X rotation, [1] Y rotation
  int32_t freelookHold = -1;
};

class Engine {
 public:
  // `recentre` takes the head's current position as the tracker's centre; `traces` are the
  // lines of the program the engine runs in.
  Engine(InputSink& sink, std::function<void()> recentre, const EngineTraces& traces = QmouseEngineTraces());

  void SetMode(int32_t mode) { mode_ = mode; }
  int32_t Mode() const { return mode_; }
  // At engagement, after SetMode and before the first Render: lets go of anything still
  // held and starts from a fresh state. `outputStopped` answers
  // whether output must end now (disengaged, tracker gone, exit): every wait inside Render
  // ends on it, so the cursor thread is never held past that.
  void Prepare(const EngineProfile& profile, std::function<bool()> outputStopped = {});
  // Virtual-key codes; 0 = none.
  void SetHotKeys(int pause, int recentre, int navigation, int command, int mixed);
  void SetFreelookKey(int virtualKey, int keyCode);
  // Five signed deflections: X, Y, Z, RX and the negated RY.
  void Render(int32_t x, int32_t y, int32_t z, int32_t rx, int32_t ry);
  // Lets go of every key and button the engine holds down (Hold and Toggle maps, the
  // freelook hold), once: a second call sends nothing. For disengaging, an unplugged
  // tracker and the end of the process, so nothing stays pressed system-wide afterwards.
  void ReleaseAll();

  int32_t MapValue(int map) const { return run_.value[map]; }
  bool Paused() const { return run_.paused; }

 private:
  struct MapSetup {
    int32_t threshold = 0, usesKeys = 0, usesButtons = 0, usesWheel = 0, usesPowerCommand = 0;
    int32_t keyAction = 0, buttonAction = 0, wheelMethod = 0, wheelDirection = 0;
  };
  struct Latches {
    std::array<bool, kMapCount> tap{}, hold{}, togglePhase{}, toggle{};
    // 64 bits: a rate from a file may set a limit no 32-bit count reaches before it wraps.
    int64_t pulse = 0, deflectionPulse = 0;
  };

  void LoadAxes(const std::array<EngineAxis, 2>& axes);
  void LoadModeAxes();
  void MouseMove(int32_t rx, int32_t ry);
  void ProcessMap(int m);
  void HotKeys();
  void SwitchMode(int32_t mode);
  // False when output stopped before the key went up.
  bool WaitKeyUp(int vk);
  bool OutputStopped() const { return outputStopped_ && outputStopped_(); }
  // Every key and button event goes through these, so the engine knows what it holds down.
  void Key(int virtualKey, int keyCode, bool down, Via via = Via::SendInput);
  void Button(MouseButton button, bool down, Via via = Via::SendInput);

  void KeyPress(int action, int32_t value, int m);
  void KeyRelease(int action, int m);
  // The keys that are not -1, in order, all down or all up.
  void SendKeys(const std::array<int32_t, kCommandKeys>& keys, bool down, Via via);
  void TapKeys(const Command& c);
  void ButtonPress(int action, int32_t value, int m);
  void ButtonRelease(int action, int m);
  void ClickButtons(const Command& c);
  void WheelPress(int direction, int method, int32_t value, int m);
  void Scroll(int direction, Via via);
  void RunPowerCommand(int m);

  const Command& MapCommand(int m) const;

  InputSink& sink_;
  std::function<void()> recentre_;
  const EngineTraces traces_;
  std::function<bool()> outputStopped_;
  const EngineProfile* profile_ = nullptr;
  int32_t mode_ = 0;
  std::array<MapSetup, kMapCount> setup_{};
  std::array<int32_t, kMapCount> value_{};

  int hotPause_ = 0, hotRecentre_ = 0, hotNavigation_ = 0, hotCommand_ = 0, hotMixed_ = 0;

  enum class Hold { None, Key, Button } holdKind_ = Hold::None;
  int holdVk_ = 0, holdKeyCode_ = 0;
  MouseButton holdButton_ = MouseButton::Left;

  int32_t xZone_ = 0, yZone_ = 0;
  int64_t xNonPanning_ = 0, yNonPanning_ = 0, xPanning_ = 0, yPanning_ = 0;  // 11 - any file value

  // What one engagement accumulates. Each engagement starts from a fresh one, so nothing
  // of the last (a map's value, a latch, the previous rotation) acts on the next.
  struct Run {
    std::array<int32_t, kMapCount> value{};
    bool holdKeyPressed = false, holdButtonPressed = false;
    int32_t prevRx = 0, prevRy = 0;
    bool panning = false;
    bool paused = false;
    Latches keys, buttons;
    std::array<int32_t, 5> buttonHolds{};  // Left, Right, Middle, 4, 5
    std::array<bool, kMapCount> wheelOnce{};
    int64_t wheelRepeat = 0, wheelDeflection = 0;
    std::array<bool, kMapCount> runLatch{};
    // By virtual-key code (buttons under theirs), whether our last event for it was a down.
    // The system reports such a key down, yet only we could let it go: it is no hot-key press.
    std::array<bool, 256> injectedDown{};
    std::array<int, 256> injectedKeyCode{};  // the key code byte each down was sent with
  } run_;
};
