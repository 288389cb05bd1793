#pragma once
// Fakes of the cursor thread's seams: a desktop with a few windows, the main window's side,
// indicators that compute their fill like the real ones, a recording input sink and sounds.
#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "qmouse/cursor_loop.h"
#include "tests/unit/recording_sink.h"

class FakeDesktop : public Desktop {
 public:
  Rect desktop = {0, 0, 1280, 1024};
  Rect work = {0, 0, 1280, 994};  // taskbar at the bottom
  Point cursor;
  WindowId foreground = 77, under = 0;
  std::map<WindowId, WindowId> parents;  // child -> parent
  std::map<WindowId, Rect> rects;
  std::set<WindowId> ours;  // the program's own windows, at any depth
  WindowId keyboard = 0;
  int sets = 0, reads = 0, clipReads = 0, windowAtCalls = 0, searches = 0;
  // Runs in the middle of a pass (at the keyboard lookup), to play another thread.
  std::function<void()> midPass;

  // Empty: one monitor, `desktop` with `work`, at `dpi`.
  std::vector<Monitor> monitors;
  int32_t dpi = 96;

  Rect DesktopRect() override { return desktop; }
  Rect WorkArea() override { return work; }
  const std::vector<Monitor>& Monitors() override {
    if (!monitors.empty()) return monitors;
    single_ = {{desktop, work, dpi}};
    return single_;
  }
  Point CursorPos() override {
    ++reads;
    return cursor;
  }
  void SetCursorPos(Point p) override {
    ++sets;
    cursor = ClampInto(Confinement(), p);
  }
  // Empty: the bounding box of the monitors, as Wine confines the cursor while no program does.
  Rect clip;
  Rect CursorClip() override {
    ++clipReads;
    return Confinement();
  }
  Rect Confinement() { return clip.Width() > 0 ? clip : BoundingBox(Monitors()); }
  WindowId Foreground() override { return foreground; }
  WindowId WindowAt(Point) override {
    ++windowAtCalls;
    return under;
  }
  bool IsWithin(WindowId w, WindowId ancestor) override {
    for (; w; w = ParentOf(w))
      if (w == ancestor) return true;
    return false;
  }
  WindowId ParentOf(WindowId w) override {
    auto it = parents.find(w);
    return it == parents.end() ? 0 : it->second;
  }
  bool IsOurs(WindowId w) override { return ours.count(w) != 0; }
  WindowId FindTopLevel(const char* cls) override {
    if (midPass) midPass();
    ++searches;
    return std::string(cls) == "My-T-Mouse" ? keyboard : 0;
  }
  bool WindowRect(WindowId w, Rect& r) override {
    auto it = rects.find(w);
    if (it == rects.end()) return false;
    r = it->second;
    return true;
  }

 private:
  std::vector<Monitor> single_;
};

class FakeHost : public EmitterHost {
 public:
  bool windowAlive = true;
  int timerRestarts = 0;
  WindowId panel = 0, sheet = 0, confirm = 0, panelForeground = 0;
  std::vector<Point> panelMoves;
  int panelShows = 0;
  std::vector<int32_t> dwellActions;
  Rect panelRect;  // an empty one stands for "unknown"

  bool RestartMouseTimer() override {
    ++timerRestarts;
    return windowAlive;
  }
  WindowId Panel() override { return panel; }
  bool PanelRect(Rect& r) override {
    r = panelRect;
    return panelRect.Width() > 0;
  }
  void SetPanelLastForeground(WindowId w) override { panelForeground = w; }
  WindowId SettingsSheet() override { return sheet; }
  WindowId ConfirmBoxWindow() override { return confirm; }
  void ShowPanel() override { ++panelShows; }
  void MovePanel(Point p) override {
    panelMoves.push_back(p);
    panelRect = {p.x, p.y, p.x + panelRect.Width(), p.y + panelRect.Height()};
  }
  void SetDwellAction(int32_t mode) override { dwellActions.push_back(mode); }
  void HidePanel() override { ++panelHides; }
  void LookedAway() override { ++lookedAway; }
  int panelHides = 0, lookedAway = 0;
};

class FakeIndicators : public DwellIndicators {
 public:
  int32_t horizontalWidth = 58, verticalHeight = 58;
  std::vector<std::string> events;
  Rect lastBounds;
  void Show(Indicator which, const Rect& bounds, int32_t) override {
    events.push_back(which == Indicator::Horizontal ? "show H" : "show V");
    lastBounds = bounds;
  }
  void Hide(Indicator which) override { events.push_back(which == Indicator::Horizontal ? "hide H" : "hide V"); }
  int32_t Progress(Indicator which, int32_t elapsed, int32_t dwellTime) override {
    const int32_t size = which == Indicator::Horizontal ? horizontalWidth : verticalHeight;
    return size - ProgressFill(size, elapsed, dwellTime);
  }
  int Count(const std::string& e) const { return static_cast<int>(std::count(events.begin(), events.end(), e)); }
};

// Only the mouse buttons, as the click emitter sends them.
class RecordingInput : public RecordingSink {};

class RecordingSounds : public SoundPlayer {
 public:
  std::vector<int32_t> played;
  void Play(int32_t id) override { played.push_back(id); }
};

// Everything the cursor thread works with, faked.
struct EmitterWorld {
  AppState app;
  FakeDesktop desktop;
  FakeHost host;
  FakeIndicators indicators;
  RecordingInput input;
  RecordingSounds sounds;
  int recentres = 0;
  Engine engine{input, [this] { ++recentres; }};
  EmitterTools Tools() {
    return {indicators, input, sounds, [this]() -> Engine& { return engine; }};
  }
};
