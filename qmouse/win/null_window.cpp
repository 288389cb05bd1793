#include "qmouse/win/null_window.h"

#include <dbt.h>

#include <cstdlib>
#include <cstring>

#include "device/hx_mouse.h"
#include "device/trace.h"
#include "qmouse/texts.h"
#include "qmouse/win/emitter.h"
#include "qmouse/win/registry_store.h"
#include "qmouse/win/run_key.h"
#include "resources/qmouse/resource.h"

namespace {

constexpr UINT_PTR kSplashTimer = 420;
constexpr UINT_PTR kMouseHoldTimer = 69;
constexpr UINT_PTR kQuitTimer = 187;
constexpr UINT_PTR kUnusedTimer = 222;
// The cursor thread may not start a timer on our window itself; it asks through this.
constexpr UINT kMouseMoved = WM_APP + 69;
constexpr DWORD kJoinTimeoutMs = 2000;

DWORD WINAPI Waiter(void* param) {
  AppState& app = *static_cast<AppState*>(param);
  while (app.quitting.load() != 1) Sleep(10);
  return 999;
}

}  // namespace

NullWindow::NullWindow(winui::Application& application)
    : winui::Dialog(IDD_NULLWINDOW), application_(application) {}

NullWindow::~NullWindow() {
  // Nothing the threads read may go before they do.
  app_.quitting = 1;
  app_.stopEmitter = 1;
  if (emitterThread_) WaitForSingleObject(emitterThread_.Get(), kJoinTimeoutMs);
  if (waiterThread_) WaitForSingleObject(waiterThread_.Get(), kJoinTimeoutMs);
}

BOOL NullWindow::OnInitDialog() {
  DEV_BROADCAST_DEVICEINTERFACE_A filter = {};
  filter.dbcc_size = sizeof filter;
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  std::memcpy(&filter.dbcc_classguid, &kTrackerInterfaceGuid, sizeof filter.dbcc_classguid);
  deviceNotify_ = RegisterDeviceNotificationA(hwnd(), &filter, DEVICE_NOTIFY_WINDOW_HANDLE);

  tray_.Attach(hwnd(), kTrayCallback);
  tray_.SetIcon(IDI_QMOUSE);

  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &startWorkArea_, 0);
  SystemParametersInfoA(SPI_GETSNAPTODEFBUTTON, 0, &snapWasOn_, 0);
  SystemParametersInfoA(SPI_SETSNAPTODEFBUTTON, FALSE, nullptr, 0);
  SystemParametersInfoA(SPI_GETMOUSE, 0, mouseTriple_, 0);
  SystemParametersInfoA(SPI_GETMOUSESPEED, 0, &mouseSpeed_, 0);

  const Rect d = {desktop.left, desktop.top, desktop.right, desktop.bottom};
  const Rect w = {startWorkArea_.left, startWorkArea_.top, startWorkArea_.right, startWorkArea_.bottom};
  app_.taskbarEdge = TaskbarEdgeOf(d, w, app_.taskbarEdge.load());

  app_.stopEmitter = 0;
  app_.holdCursor = 1;
  app_.engaged = 0;
  app_.scrollMode = 0;
  app_.dragLeft = app_.dragRight = 0;
  app_.panelHidden = 0;
  app_.confirmOpen = 0;
  app_.forceLeft = 0;
  app_.cursor.firstSample = 1;

  RegistrySettingsStore store(application_);
  app_.settings.Load(store);
  app_.markedClickMode = app_.settings.Get(Setting::DwellCommand);

  SetTimer(hwnd(), kSplashTimer, 3000, nullptr);

  app_.settings.Set(Setting::StartupAtBoot,
                    ReadStartupAtBoot([this](const std::string& t) { ReportRunKeyError(t); }) ? 1 : 0);

  app_.quitting = 0;
  waiterThread_ = winui::StartThread(Waiter, &app_, THREAD_PRIORITY_NORMAL);
  app_.emitterRunning = 1;
  StartEmitter();
  return TRUE;
}

void NullWindow::StartEmitter() {
  // A thread that ended on a failed read may still be unwinding; it must be gone before
  // a new one shares the flags with us.
  if (emitterThread_) winui::WaitDispatching(emitterThread_.Get(), kJoinTimeoutMs);
  app_.stopEmitter = 0;
  emitterThread_ = winui::StartThread(Emitter, this, THREAD_PRIORITY_ABOVE_NORMAL);
}

void NullWindow::StopEmitter() {
  app_.stopEmitter = 1;
  Sleep(64);  // the thread's read returns within this time and it leaves its loop
  if (emitterThread_) winui::WaitDispatching(emitterThread_.Get(), kJoinTimeoutMs);
}

bool NullWindow::RestartMouseTimer() {
  HWND w = hwnd();
  return w && IsWindow(w) && PostMessageA(w, kMouseMoved, 0, 0);
}

void NullWindow::OnTimer(UINT_PTR id) {
  if (tray_.OnMessage(WM_TIMER, id, 0)) return;
  KillTimer(hwnd(), id);
  switch (id) {
    case kSplashTimer:
      ShowWindow(hwnd(), SW_HIDE);
      app_.holdCursor = 0;
      SetForegroundWindow(reinterpret_cast<HWND>(app_.lastForeground.load()));
      break;
    case kMouseHoldTimer:
      if (app_.paused.load() == 0) app_.holdCursor = 0;
      break;
    case kQuitTimer:
      app_.quitting = 1;
      End(187);
      break;
    case kUnusedTimer:
      break;
  }
}

void NullWindow::OnCommand(int id, int) {
  if (id == ID_TRAY_EXIT) OnExitCommand();
}

void NullWindow::OnExitCommand() {
  SetForegroundWindow(hwnd());
  if (confirm_.Ask(texts::kExitQuestion, ConfirmBox::kYesNo) != 1) return;
  app_.quitting = 1;
  SetTimer(hwnd(), kQuitTimer, 100, nullptr);
}

void NullWindow::OnClose() {
  Trace(texts::kTraceOnClose);
  if (MessageBoxA(hwnd(), texts::kCloseQuestion, texts::kAppTitle, MB_YESNO) != IDYES) return;
  CommonTeardown();
  SystemParametersInfoA(SPI_SETMOUSE, 0, mouseTriple_, 0);
  End(IDCANCEL);
}

void NullWindow::CommonTeardown() {
  app_.quitting = 1;
  if (deviceNotify_) UnregisterDeviceNotification(deviceNotify_);
  deviceNotify_ = nullptr;
  app_.settings.Set(Setting::DwellCommand, app_.markedClickMode.load());
  StopEmitter();
  KillTimer(hwnd(), kQuitTimer);
  if (snapWasOn_) SystemParametersInfoA(SPI_SETSNAPTODEFBUTTON, TRUE, nullptr, 0);
}

void NullWindow::OnDestroy() {
  Trace(texts::kTraceOnDestroy);
  CommonTeardown();
  // At the end of the Windows session nothing is saved.
  if (!sessionEnding_) {
    RegistrySettingsStore store(application_);
    app_.settings.Save(store);
  }
  tray_.Remove();
}

void NullWindow::OnDeviceChange(WPARAM event) {
  if (event == DBT_DEVICEREMOVECOMPLETE) {
    app_.stopEmitter = 1;
    Sleep(16);
    app_.emitterRunning = 0;
  } else if (event == DBT_DEVICEARRIVAL) {
    if (app_.emitterRunning.load() == 0) {
      app_.emitterRunning = 1;
      StartEmitter();
    } else {
      app_.stopEmitter = 0;
    }
  }
}

void NullWindow::ApplySettings() {
  if (!ApplyPageValues(app_.settings, pageValues_)) return;
  const bool on = pageValues_.Get(Setting::StartupAtBoot) != 0;
  app_.settings.Set(Setting::StartupAtBoot, on ? 1 : 0);
  const char* path = __argv && __argv[0] ? __argv[0] : "";
  WriteStartupAtBoot(on, path, [this](const std::string& t) { ReportRunKeyError(t); });
}

void NullWindow::ReportRunKeyError(const std::string& text) {
  ConfirmBox box;
  box.Ask(text, ConfirmBox::kOkCancel, hwnd());
}

bool NullWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  result = 0;
  if (tray_.OnMessage(msg, wp, lp)) return true;
  switch (msg) {
    case WM_DEVICECHANGE:
      OnDeviceChange(wp);
      result = TRUE;
      return true;
    case WM_ENDSESSION:
      Trace(texts::kTraceVerifyQuit);
      sessionEnding_ = true;
      CommonTeardown();
      return false;  // default handling
    case WM_DISPLAYCHANGE:
      InvalidateDesktopCache();
      return false;
    case WM_SETTINGCHANGE:
      if (wp == SPI_SETWORKAREA) InvalidateDesktopCache();
      return false;
    case kMouseMoved:
      SetTimer(hwnd(), kMouseHoldTimer, 1000, nullptr);
      return true;
    case kApplySettings:
      ApplySettings();
      return true;
    case kForceLeftOn:
      app_.forceLeft = 1;
      return true;
    case kForceLeftOff:
      app_.forceLeft = 0;
      return true;
  }
  return false;
}
