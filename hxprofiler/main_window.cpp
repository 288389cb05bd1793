#include "hxprofiler/main_window.h"

#include <dbt.h>

#include <cstring>

#include "device/hx_mouse.h"
#include "device/trace.h"
#include "device/win/device_events.h"
#include "hxprofiler/texts.h"
#include "resources/hxprofiler/resource.h"
#include "winui/dialog.h"

namespace {
using HxLink = HxMouseLink<LinkVariant::Hxprofiler>;

class AboutBox : public winui::Dialog {
 public:
  AboutBox() : winui::Dialog(IDD_ABOUTBOX) {}
};
}  // namespace

ManagerOptions HxprofilerManagerOptions() {
  ManagerOptions options;
  options.dialogId = IDD_HXPROFILER;
  options.sinkBeforeEngaging = false;
  options.chooserOnEveryMatch = true;
  options.gameOncePerWindow = true;
  options.dropTraces = false;
  return options;
}

MainWindow::MainWindow(Output& output, winui::Application& application)
    : Interface(output, application, HxprofilerManagerOptions()), output_(output) {}

BOOL MainWindow::OnInitDialog() {
  trackerSource_ = HoldTrackerSource();
  ::Trace(texts::kTraceInitCreating);
  HxLink link;
  Interface::OnInitDialog();

  HMENU system = GetSystemMenu(hwnd(), FALSE);
  char about[64] = {};
  if (system && LoadStringA(winui::ResourceModule(), IDS_ABOUTBOX, about, sizeof about)) {
    AppendMenuA(system, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(system, MF_STRING, IDM_ABOUTBOX, about);
  }
  const HICON icon = LoadIconA(winui::ResourceModule(), MAKEINTRESOURCEA(IDI_HXPROFILER));
  SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

  DEV_BROADCAST_DEVICEINTERFACE_A filter = {};
  filter.dbcc_size = 32;
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  std::memcpy(&filter.dbcc_classguid, &kTrackerInterfaceGuid, sizeof filter.dbcc_classguid);
  notification_ = RegisterDeviceNotificationA(hwnd(), &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
  if (!notification_) MessageBoxA(hwnd(), texts::kRegistrationFailed, texts::kAppTitle, MB_OK);

  // A failed request answers nonzero too, and then the button offers to enable.
  SetDlgItemTextA(hwnd(), IDC_JOYSTICK, link.IsJoystickEnabled() != 0 ? texts::kDisableJoystick
                                                                      : texts::kEnableJoystick);
  if (TrackerIsOpentrack()) {  // head poses over UDP have no joystick interface to switch
    SetDlgItemTextA(hwnd(), IDC_JOYSTICK, texts::kJoystickNotAvailable);
    EnableWindow(GetDlgItem(hwnd(), IDC_JOYSTICK), FALSE);
  }
  ::Trace(texts::kTraceInitTerminating);
  return TRUE;
}

void MainWindow::OnJoystick() {
  ::Trace(texts::kTraceJoystickCreating);
  HxLink link;
  if (link.IsJoystickEnabled() != 0) {
    link.DisableJoystick();
    SetDlgItemTextA(hwnd(), IDC_JOYSTICK, texts::kEnableJoystick);
  } else {
    link.EnableJoystick();
    SetDlgItemTextA(hwnd(), IDC_JOYSTICK, texts::kDisableJoystick);
  }
  link.SaveSettings();
  ::Trace(texts::kTraceJoystickTerminating);
}

void MainWindow::OnCommand(int id, int code) {
  if (code == BN_CLICKED && id == IDC_JOYSTICK) return OnJoystick();
  if (code == BN_CLICKED && id == IDOK) {  // "Close"
    Disengage();
    return End(IDOK);
  }
  Interface::OnCommand(id, code);
}

void MainWindow::OnDestroy() {
  if (notification_) UnregisterDeviceNotification(notification_);
  notification_ = nullptr;
  Interface::OnDestroy();
  output_.Disengage();  // whatever state the buttons show, no thread outlives the window
}

bool MainWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_DEVICECHANGE) {
    OnDeviceChange(wp, lp);
    result = TRUE;
    return true;
  }
  if (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == IDM_ABOUTBOX) {
    AboutBox about;
    about.DoModal(hwnd());
    return true;
  }
  return Interface::OnMessage(msg, wp, lp, result);
}

// The buttons keep reading "Disengage" while the tracker is away: output comes back by itself.
void MainWindow::OnDeviceChange(WPARAM event, LPARAM data) {
  if (event != DBT_DEVICEREMOVECOMPLETE && event != DBT_DEVICEARRIVAL) return;
  if (!IsTrackerInterfaceEvent(data)) return;
  if (event == DBT_DEVICEREMOVECOMPLETE) output_.OnRemoval();
  else output_.OnArrival();
}

std::unique_ptr<TrackerLink> MainWindow::OpenTrackerLink(const char* handler) {
  ::Trace(std::strcmp(handler, "OnCalibrate") == 0 ? texts::kTraceCalibrateCreating : texts::kTraceSetZeroCreating);
  return std::make_unique<TrackerLinkOf<LinkVariant::Hxprofiler>>();
}
