#include "qmouse/win/null_window.h"

#include <dbt.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "device/hx_mouse.h"
#include "device/tracker_choice.h"
#include "device/trace.h"
#include "device/win/device_events.h"
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
// The manager comes to the front a moment after a look away: the game must still have the
// foreground when the keys the cursor thread let go of arrive.
constexpr UINT_PTR kManagerToFrontTimer = 223;
constexpr UINT kManagerToFrontDelayMs = 150;
// The cursor thread may not start a timer on our window itself; it asks through this.
constexpr UINT kMouseMoved = WM_APP + 69;
constexpr UINT kShowDwellAction = WM_APP + 70;
constexpr UINT kTrackerPortBusy = WM_APP + 71;
constexpr UINT kLookedAway = WM_APP + 72;
constexpr UINT kEmitterEnded = WM_APP + 73;

// Idles until the program quits, asleep on the quit event: looking at the flag every 10 ms
// instead cost about 0.2 % of a core under Wine (a hundred wake-ups a second), for nothing.
DWORD WINAPI Waiter(void* quitEvent) {
  WaitForSingleObject(static_cast<HANDLE>(quitEvent), INFINITE);
  return 999;
}

}  // namespace

NullWindow::NullWindow(winui::Application& application)
    : winui::Dialog(IDD_NULLWINDOW), application_(application) {
  for (SettingsPage* page : Pages())
    sheet_.AddPage(*page);
  generalPage_.UseConfirmBox(confirm_);  // the box dwell answers with left clicks
  confirm_.SetPanelLocator([this](Rect& r) {
    HWND panel = floater_.hwnd();
    RECT w;
    if (!panel || app_.panelHidden.load() || !IsWindowVisible(panel) || !GetWindowRect(panel, &w)) return false;
    r = {w.left, w.top, w.right, w.bottom};
    return true;
  });
}

NullWindow::~NullWindow() {
  // Nothing the threads read may go before they do.
  SetQuitting();
  app_.stopEmitter = 1;
  winui::JoinThread(emitterThread_, [this] { emitterCancel_.Cancel(); });
  winui::JoinThread(waiterThread_, [this] { SetQuitting(); });
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
  trayModes_.Reload();
  UseTracker(false);
  floater_.SetDwellAction(app_.settings.Get(Setting::DwellCommand));

  (void)indicators_.Create(hwnd());  // without them dwell still clicks, just unseen

  SetTimer(hwnd(), kSplashTimer, 3000, nullptr);

  app_.settings.Set(Setting::StartupAtBoot,
                    ReadStartupAtBoot([this](const std::string& t) { ReportRunKeyError(t); }) ? 1 : 0);

  app_.quitting = 0;
  quitEvent_.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (quitEvent_) waiterThread_ = winui::StartThread(Waiter, quitEvent_.Get(), THREAD_PRIORITY_NORMAL);
  StartEmitter();
  return TRUE;
}

void NullWindow::SetQuitting() {
  app_.quitting = 1;
  if (quitEvent_) SetEvent(quitEvent_.Get());
}

void NullWindow::StartEmitter() {
  // The old thread, told to stop by a removal or ended on a failed read, may still wait in a
  // stalled tracker or be unwinding: it is gone before a new one shares the flags with us,
  // and it can no longer mark the new one as not running.
  app_.stopEmitter = 1;
  winui::JoinThread(emitterThread_, [this] { emitterCancel_.Cancel(); });
  app_.emitterRunning = 1;
  app_.stopEmitter = 0;
  arrivalWhileRunning_ = false;
  emitterCancel_.Rearm();
  emitterThread_ = winui::StartThread(Emitter, this, THREAD_PRIORITY_ABOVE_NORMAL);
}

void NullWindow::StopEmitter() {
  app_.stopEmitter = 1;
  Sleep(64);  // the thread's read returns within this time and it leaves its loop
  winui::JoinThread(emitterThread_, [this] { emitterCancel_.Cancel(); });
}

bool NullWindow::RestartMouseTimer() {
  HWND w = hwnd();
  return w && IsWindow(w) && PostMessageA(w, kMouseMoved, 0, 0);
}

void NullWindow::OnTimer(UINT_PTR id) {
  if (tray_.OnMessage(WM_TIMER, id, 0)) return;
  KillTimer(hwnd(), id);
  switch (id) {
    case kSplashTimer: {
      ShowWindow(hwnd(), SW_HIDE);
      app_.holdCursor = 0;
      HWND user = reinterpret_cast<HWND>(app_.lastForeground.load());
      floater_.SetLastForeground(user);
      floater_.SetDwellAction(app_.settings.Get(Setting::DwellCommand));
      if (floater_.Create(nullptr)) ShowWindow(floater_.hwnd(), SW_SHOWNOACTIVATE);
      (void)manager_.Create(nullptr);  // hidden until "Game options"
      SetForegroundWindow(user);
      break;
    }
    case kMouseHoldTimer:
      if (app_.paused.load() == 0) app_.holdCursor = 0;
      break;
    case kQuitTimer:
      SetQuitting();
      End(187);
      break;
    case kManagerToFrontTimer:
      if (manager_.hwnd()) manager_.Show();
      break;
    case kUnusedTimer:
      break;
  }
}

void NullWindow::OnCommand(int id, int) {
  if (id < ID_MODE_NOCLICK || id > ID_TRAY_PANELTOTOP) return;
  OnMenuCommand(id);
  // Every command ends here: a command other than a click mode puts back the mode saved
  // when the menu opened.
  const int32_t mode = trayModes_.Tail();
  if (!app_.quitting.load()) floater_.SetDwellAction(mode);
}

void NullWindow::OnMenuCommand(int id) {
  switch (id) {
    case ID_MODE_NOCLICK:
      if (app_.panelHidden.load()) {
        if (Ask(texts::kNoClickWhileHidden) != 1) return;
        trayModes_.Choose(kNoClick);
        ShowPanelFromUi();
      } else {
        trayModes_.Choose(kNoClick);
      }
      return;
    case ID_MODE_LEFTCLICK:
    case ID_MODE_RIGHTCLICK:
    case ID_MODE_DOUBLELEFT:
    case ID_MODE_DOUBLERIGHT:
    case ID_MODE_DRAGLEFT:
    case ID_MODE_DRAGRIGHT:
    case ID_MODE_SCROLL:
      trayModes_.Choose(id);
      return;
    case ID_TRAY_PAUSE:
      if (app_.paused.load())
        SetPaused(false);
      else if (Ask(texts::kPauseFromTray) == 1)
        SetPaused(true);
      return;
    case ID_TRAY_OPTIONS:
      OpenOptions();
      return;
    case ID_TRAY_PANELTOTOP:
      ShowPanelFromUi();
      return;
    case ID_TRAY_GAMEOPTIONS:
      if (manager_.hwnd() || manager_.Create(nullptr)) manager_.Show();
      return;
    case ID_TRAY_ABOUT: {
      AboutBox about;
      about.DoModal(hwnd());
      return;
    }
    case ID_TRAY_EXIT:
      OnExitCommand();
      return;
    case ID_TRAY_CLOSEMENU:
      return;
  }
}

void NullWindow::OnExitCommand() {
  SetForegroundWindow(hwnd());
  if (Ask(texts::kExitQuestion) != 1) return;
  BeginShutdown(true);
}

void NullWindow::BeginShutdown(bool quittingNow) {
  sheet_.Destroy();
  manager_.Destroy();
  floater_.Destroy();
  if (quittingNow) SetQuitting();
  SetTimer(hwnd(), kQuitTimer, 100, nullptr);
}

void NullWindow::OpenOptions() {
  if (sheet_.IsOpen()) return winui::BringToFront(sheet_.hwnd());
  for (const SettingRow& row : kSettingRows) pageValues_.Set(row.id, app_.settings.Get(row.id));
  for (SettingsPage* page : Pages())
    page->SetMainWindow(hwnd());
  if (sheet_.Create(nullptr)) ShowWindow(sheet_.hwnd(), SW_SHOW);
}

int NullWindow::AskFromPanel(const char* question) {
  if (ConfirmBox::AnyOpen()) return 0;  // the open question keeps its flag
  app_.confirmOpen = 1;
  const int answer = Ask(question);
  app_.confirmOpen = 0;
  return answer;
}

void NullWindow::SetPaused(bool paused) {
  app_.paused = paused ? 1 : 0;
  floater_.SetPauseText(paused);
  app_.holdCursor = paused ? 1 : 0;
}

void NullWindow::ShowPanelFromUi() {
  if (HWND panel = floater_.hwnd()) ShowWindow(panel, SW_SHOWNOACTIVATE);
  app_.panelHidden = 0;
  SetForegroundWindow(reinterpret_cast<HWND>(app_.lastForeground.load()));
}

void NullWindow::ShowPanel() {
  // From the cursor thread: never wait for the UI thread, which may be in a modal loop.
  if (HWND panel = floater_.hwnd()) ShowWindowAsync(panel, SW_SHOWNOACTIVATE);
}

void NullWindow::HidePanel() {
  if (HWND panel = floater_.hwnd()) ShowWindowAsync(panel, SW_HIDE);
}

void NullWindow::LookedAway() { PostMessageA(hwnd(), kLookedAway, 0, 0); }

void NullWindow::OnLookedAway() {
  if (manager_.Engaged()) {  // the cursor thread has already let go
    manager_.LeaveGame();
    SetTimer(hwnd(), kManagerToFrontTimer, kManagerToFrontDelayMs, nullptr);
  } else if (app_.paused.load()) {
    SetPaused(false);
  }
}

void NullWindow::MovePanel(Point p) {
  if (HWND panel = floater_.hwnd())
    SetWindowPos(panel, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
}

// A monitor that went away may have taken the panel with it: it goes to the nearest work area.
void NullWindow::KeepPanelOnAWorkArea() {
  HWND panel = floater_.hwnd();
  RECT r;
  if (!panel || !GetWindowRect(panel, &r)) return;
  const std::vector<Monitor> monitors = CurrentMonitors();
  const Rect rect = {r.left, r.top, r.right, r.bottom};
  if (OnSomeWorkArea(monitors, rect)) return;
  MovePanel(OntoWorkArea(monitors, rect));
}

void NullWindow::SetDwellAction(int32_t clickMode) {
  PostMessageA(hwnd(), kShowDwellAction, static_cast<WPARAM>(clickMode), 0);
}

void NullWindow::OpenTrayMenu() {
  HMENU menu = LoadMenuA(winui::ResourceModule(), MAKEINTRESOURCEA(IDR_TRAYMENU));
  if (!menu) return;
  HMENU popup = GetSubMenu(menu, 0);
  if (popup && trayModes_.CanOpen()) {
    trayModes_.Opened();
    CheckMenuRadioItem(popup, ID_MODE_NOCLICK, ID_MODE_SCROLL, app_.markedClickMode.load(), MF_BYCOMMAND);
    CheckMenuItem(popup, ID_TRAY_PAUSE, MF_BYCOMMAND | (app_.paused.load() ? MF_CHECKED : MF_UNCHECKED));
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int x = work.right, y = work.bottom;
    UINT align = TPM_RIGHTALIGN | TPM_BOTTOMALIGN;
    switch (app_.taskbarEdge.load()) {
      case kTaskbarTop:
        y = work.top;
        align = TPM_RIGHTALIGN | TPM_TOPALIGN;
        break;
      case kTaskbarLeft:
        x = work.left;
        align = TPM_LEFTALIGN | TPM_BOTTOMALIGN;
        break;
    }
    // Without the foreground the menu would not close when the user looks elsewhere.
    SetForegroundWindow(hwnd());
    TrackPopupMenu(popup, align, x, y, 0, hwnd(), nullptr);
    PostMessageA(hwnd(), WM_NULL, 0, 0);
    trayModes_.Closed();
  }
  DestroyMenu(menu);
}

void NullWindow::OnClose() {
  Trace(texts::kTraceOnClose);
  if (MessageBoxA(hwnd(), texts::kCloseQuestion, texts::kAppTitle, MB_YESNO) != IDYES) return;
  CommonTeardown();
  SystemParametersInfoA(SPI_SETMOUSE, 0, mouseTriple_, 0);
  End(IDCANCEL);
}

void NullWindow::CommonTeardown() {
  SetQuitting();
  if (deviceNotify_) UnregisterDeviceNotification(deviceNotify_);
  deviceNotify_ = nullptr;
  app_.settings.Set(Setting::DwellCommand, app_.markedClickMode.load());
  StopEmitter();
  sheet_.Destroy();
  manager_.Destroy();
  floater_.Destroy();
  KillTimer(hwnd(), kQuitTimer);
  indicators_.Destroy();
  if (snapWasOn_) SystemParametersInfoA(SPI_SETSNAPTODEFBUTTON, TRUE, nullptr, 0);
}

void NullWindow::OnDestroy() {
  Trace(texts::kTraceOnDestroy);
  CommonTeardown();
  SaveSettings();
  tray_.Remove();
}

// The click mode marked in the tray is the one to keep, as at every road out.
void NullWindow::SaveSettings() {
  app_.settings.Set(Setting::DwellCommand, app_.markedClickMode.load());
  RegistrySettingsStore store(application_);
  app_.settings.Save(store);
}

// Setup and the uninstaller ask this way: the road of the user's Exit, without its question.
// A question or message still open after the windows have gone (ours or the system's boxes)
// would hold the shutdown until someone answers it, so each is closed as its Cancel does.
void NullWindow::OnCloseRequest() {
  if (app_.quitting.load()) return;
  closeRequested_ = true;
  BeginShutdown(true);
  winui::CloseOpenBoxes(hwnd());
}

void NullWindow::OnDeviceChange(WPARAM event, LPARAM lp) {
  // A memory stick or a port coming and going is none of the cursor thread's business.
  if ((event != DBT_DEVICEREMOVECOMPLETE && event != DBT_DEVICEARRIVAL) || !IsTrackerInterfaceEvent(lp)) return;
  if (event == DBT_DEVICEREMOVECOMPLETE) {
    app_.stopEmitter = 1;
    Sleep(16);
    app_.emitterRunning = 0;
    arrivalWhileRunning_ = false;
  } else if (event == DBT_DEVICEARRIVAL) {
    if (app_.emitterRunning.load() == 0) {
      StartEmitter();
    } else {
      app_.stopEmitter = 0;
      arrivalWhileRunning_ = true;
    }
  }
}

void NullWindow::EmitterEnded() { PostMessageA(hwnd(), kEmitterEnded, 0, 0); }

// A thread that ended on a failed link after a tracker arrived had taken that arrival as its
// own: the next thread starts now, as the arrival would have started it.
void NullWindow::OnEmitterEnded() {
  if (arrivalWhileRunning_ && app_.emitterRunning.load() == 0 && !app_.quitting.load()) StartEmitter();
}

void NullWindow::UseTracker(bool restartEmitter) {
  const Settings& s = app_.settings;
  const TrackerChoice choice =
      TrackerChoiceFrom(s.Get(Setting::Tracker), s.Get(Setting::TrackerPort), s.Get(Setting::TrackerNetwork));
  if (restartEmitter && choice == CurrentTrackerChoice()) return;
  SetTrackerChoice(choice);
  trackerSource_ = HoldTrackerSource();
  if (TrackerPortHeldElsewhere()) PostMessageA(hwnd(), kTrackerPortBusy, 0, 0);  // said once the window runs
  if (!restartEmitter) return;
  // The old cursor thread ends before the first reading of the other source is taken as a start.
  app_.stopEmitter = 1;
  winui::JoinThread(emitterThread_, [this] { emitterCancel_.Cancel(); });
  app_.cursor.firstSample = 1;  // the other tracker's rest is elsewhere: no jump on its first reading
  StartEmitter();
}

// Written at once: a program that runs from logon to shutdown may never reach its exit.
// hxprofiler and the control panel read the tracker choice from the registry when they open a
// link, so the settings are saved before qmouse switches its own source.
void NullWindow::ApplySettings() {
  if (ApplyPageValues(app_.settings, pageValues_)) {
    const int32_t on = pageValues_.Get(Setting::StartupAtBoot) != 0 ? 1 : 0;
    if (WriteStartupAtBoot(on != 0, RunCommand(), [this](const std::string& t) { ReportRunKeyError(t); })) {
      app_.settings.Set(Setting::StartupAtBoot, on);
    } else {  // nothing was written: the box shows what still holds
      pageValues_.Set(Setting::StartupAtBoot, app_.settings.Get(Setting::StartupAtBoot));
      generalPage_.ShowValues();
    }
  }
  SaveSettings();
  UseTracker(true);
}

// In the box dwell answers with left clicks in every click mode.
void NullWindow::ReportRunKeyError(const std::string& text) {
  confirm_.Ask(text, ConfirmBox::kOkCancel, hwnd());
}

bool NullWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  result = 0;
  if (tray_.OnMessage(msg, wp, lp)) return true;
  if (msg == winui::CloseRequestMessage()) {
    OnCloseRequest();
    return true;
  }
  switch (msg) {
    case WM_DEVICECHANGE:
      OnDeviceChange(wp, lp);
      result = TRUE;
      return true;
    case WM_ENDSESSION:
      // A cancelled shutdown leaves everything running; a real one may end the process
      // at any moment after this returns, so the settings are saved now. The program then
      // ends by itself too, for whoever ends a session without ending its processes.
      if (!wp) return true;
      Trace(texts::kTraceVerifyQuit);
      CommonTeardown();
      SaveSettings();
      End(IDCANCEL);
      return true;
    case WM_DISPLAYCHANGE:
      InvalidateDesktopCache();
      KeepPanelOnAWorkArea();  // also while no tracker drives the cursor thread
      return false;
    case WM_DPICHANGED:  // a monitor's scale changed: its indicators are measured anew
      InvalidateDesktopCache();
      return false;
    case WM_SETTINGCHANGE:
      if (wp == SPI_SETWORKAREA) InvalidateDesktopCache();
      return false;
    case kMouseMoved:
      SetTimer(hwnd(), kMouseHoldTimer, 1000, nullptr);
      return true;
    case kTrackerPortBusy: {
      char text[256];
      std::snprintf(text, sizeof text, texts::kTrackerPortBusy, static_cast<int>(CurrentTrackerChoice().port));
      ConfirmBox box;
      box.Ask(text, ConfirmBox::kOkCancel, hwnd());
      return true;
    }
    case kShowDwellAction:
      floater_.SetDwellAction(static_cast<int32_t>(wp));
      return true;
    case kLookedAway:
      OnLookedAway();
      return true;
    case kEmitterEnded:
      OnEmitterEnded();
      return true;
    case kTrayCallback:
      if (lp == WM_LBUTTONUP || lp == WM_RBUTTONUP) OpenTrayMenu();
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
