#include "qmouse/win/emitter.h"

#include <atomic>

#include "device/hx_mouse.h"
#include "device/trace.h"
#include "qmouse/cursor_loop.h"
#include "qmouse/texts.h"
#include "qmouse/win/null_window.h"
#include "qmouse/win/process_engine.h"
#include "qmouse/win/sounds.h"
#include "winui/dpi.h"
#include "commands/win/win32_input.h"

namespace {
std::atomic<int32_t> gDesktopGeneration{0};

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
}  // namespace

void InvalidateDesktopCache() { ++gDesktopGeneration; }

namespace {
BOOL CALLBACK AddMonitor(HMONITOR handle, HDC, LPRECT, LPARAM param) {
  auto& monitors = *reinterpret_cast<std::vector<Monitor>*>(param);
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(handle, &info)) return TRUE;
  const Monitor m = {ToRect(info.rcMonitor), ToRect(info.rcWork), winui::MonitorDpi(handle)};
  if (info.dwFlags & MONITORINFOF_PRIMARY)
    monitors.insert(monitors.begin(), m);
  else
    monitors.push_back(m);
  return TRUE;
}
}  // namespace

std::vector<Monitor> CurrentMonitors() {
  std::vector<Monitor> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  if (monitors.empty()) {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    monitors.push_back({{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, ToRect(work),
                        winui::SystemDpi()});
  }
  return monitors;
}

void Win32Desktop::Refresh() {
  const int32_t now = gDesktopGeneration.load();
  if (now == seen_) return;
  seen_ = now;
  RECT r;
  GetWindowRect(GetDesktopWindow(), &r);
  desktop_ = ToRect(r);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
  work_ = ToRect(r);
  monitors_ = CurrentMonitors();
}

const std::vector<Monitor>& Win32Desktop::Monitors() {
  Refresh();
  return monitors_;
}

Rect Win32Desktop::DesktopRect() {
  Refresh();
  return desktop_;
}

Rect Win32Desktop::WorkArea() {
  Refresh();
  return work_;
}

Point Win32Desktop::CursorPos() {
  POINT p = {};
  GetCursorPos(&p);
  return {p.x, p.y};
}

void Win32Desktop::SetCursorPos(Point p) { ::SetCursorPos(p.x, p.y); }

Rect Win32Desktop::CursorClip() {
  RECT r;
  return GetClipCursor(&r) ? ToRect(r) : Desktop::CursorClip();
}

WindowId Win32Desktop::Foreground() { return reinterpret_cast<WindowId>(GetForegroundWindow()); }

WindowId Win32Desktop::WindowAt(Point p) { return reinterpret_cast<WindowId>(WindowFromPoint(POINT{p.x, p.y})); }

bool Win32Desktop::IsWithin(WindowId window, WindowId ancestor) {
  HWND w = reinterpret_cast<HWND>(window), a = reinterpret_cast<HWND>(ancestor);
  return w && (w == a || IsChild(a, w));
}

WindowId Win32Desktop::ParentOf(WindowId window) {
  return reinterpret_cast<WindowId>(GetAncestor(reinterpret_cast<HWND>(window), GA_PARENT));
}

bool Win32Desktop::IsOurs(WindowId window) {
  DWORD process = 0;
  return GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &process) && process == GetCurrentProcessId();
}

WindowId Win32Desktop::FindTopLevel(const char* className) {
  return reinterpret_cast<WindowId>(FindWindowA(className, nullptr));
}

bool Win32Desktop::WindowRect(WindowId window, Rect& rect) {
  RECT r;
  if (!GetWindowRect(reinterpret_cast<HWND>(window), &r)) return false;
  rect = ToRect(r);
  return true;
}

DWORD WINAPI Emitter(void* param) {
  NullWindow& window = *static_cast<NullWindow*>(param);
  Trace(texts::kTraceEmitterLink);
  CHxMouse link(&window.EmitterCancel());
  Win32Desktop desktop;
  Win32InputSink input;
  Win32SoundPlayer sounds;
  CursorLoop loop(window.App(), desktop, window, {window.Indicators(), input, sounds, ProcessEngine});
  loop.Start();
  const int result = loop.Run(link);
  window.EmitterEnded();
  return static_cast<DWORD>(result);
}
