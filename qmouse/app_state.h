#pragma once
// What the main window shares with its worker threads: run-time flags, settings and the
// cursor and gesture memories. Each value has one writer side and is polled by the other,
// so plain atomics (relaxed) are enough; there are no locks.
#include <atomic>
#include <cstdint>
#include <memory>

#include "qmouse/cursor_step.h"
#include "qmouse/geometry.h"
#include "qmouse/gesture_step.h"
#include "qmouse/settings.h"
#include "profiles/profile.h"

using WindowId = uintptr_t;  // an HWND on the Win32 side; 0 for none

enum TaskbarEdge : int32_t { kTaskbarTop = 0, kTaskbarRight = 1, kTaskbarBottom = 2, kTaskbarLeft = 3 };

struct AppState {
  std::atomic<int32_t> stopEmitter{0};
  std::atomic<int32_t> emitterRunning{0};
  std::atomic<int32_t> quitting{0};
  std::atomic<int32_t> holdCursor{1};  // head control starts after the splash
  std::atomic<int32_t> engaged{0};
  std::atomic<int32_t> scrollMode{0};
  std::atomic<int32_t> dragLeft{0}, dragRight{0};
  std::atomic<int32_t> panelHidden{0};
  std::atomic<int32_t> confirmOpen{0};
  std::atomic<int32_t> forceLeft{0};

  // The tray icon's part.
  std::atomic<int32_t> trayMenuOpen{0};
  std::atomic<int32_t> paused{0};
  std::atomic<int32_t> taskbarEdge{kTaskbarBottom};
  std::atomic<int32_t> markedClickMode{kLeftClick};

  std::atomic<WindowId> lastForeground{0};

  // The dwell's anchor and count: used by the cursor thread only, kept here so that they
  // survive a restart of that thread.
  Point dwellAnchor;
  int32_t dwellCount = 0;

  Settings settings;
  CursorMemory cursor;
  GestureLatches gestures;

  // Engaging hands the cursor thread a copy of the profile made on the UI thread, then sets
  // `engaged`; whatever the windows load afterwards never touches what the engine reads.
  // Each engagement counts, so a quick disengage and engage is seen even between passes.
  void Engage(const Profile& profile) {
    std::atomic_store(&engagedProfile_, std::shared_ptr<const Profile>(std::make_shared<Profile>(profile)));
    engagements.fetch_add(1);
    engaged = 1;
  }
  std::shared_ptr<const Profile> EngagedProfile() const { return std::atomic_load(&engagedProfile_); }
  std::atomic<int32_t> engagements{0};

 private:
  std::shared_ptr<const Profile> engagedProfile_;
};

// Which edge the taskbar takes, judged by where the work area falls short of the desktop;
// `current` when it does not fall short anywhere.
int32_t TaskbarEdgeOf(const Rect& desktop, const Rect& work, int32_t current);
