#include "hxprofiler/main_window.h"

#include <dbt.h>

#include <cstring>
#include <utility>

#include "device/hx_mouse.h"
#include "device/trace.h"
#include "device/win/device_events.h"
#include "hxprofiler/texts.h"
#include "resources/hxprofiler/resource.h"
#include "winui/app.h"
#include "winui/dialog.h"

namespace {
using HxLink = HxMouseLink<LinkVariant::Hxprofiler>;

class AboutBox : public winui::Dialog {
 public:
  AboutBox() : winui::Dialog(IDD_ABOUTBOX) {}
};

// The calibration and centre-point buttons' link, which says when it goes.
class TracedLink : public TrackerLinkOf<LinkVariant::Hxprofiler> {
 public:
  explicit TracedLink(const char* terminating) : terminating_(terminating) {}
  ~TracedLink() override { ::Trace(terminating_); }

 private:
  const char* terminating_;
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
  // Each size its own image: the icon file's 16 x 16 one is drawn for the caption.
  for (const auto& [size, which] : {std::pair{32, ICON_BIG}, std::pair{16, ICON_SMALL}}) {
    HANDLE icon = LoadImageA(winui::ResourceModule(), MAKEINTRESOURCEA(IDI_HXPROFILER), IMAGE_ICON, size, size, LR_SHARED);
    SendMessageA(hwnd(), WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
  }

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
  if (msg == winui::CloseRequestMessage()) {  // from setup: as "Close", whatever is open
    closeRequested_ = true;
    Disengage();
    End(IDOK);
    winui::CloseOpenBoxes(hwnd());
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
  const bool calibrate = std::strcmp(handler, "OnCalibrate") == 0;
  ::Trace(calibrate ? texts::kTraceCalibrateCreating : texts::kTraceSetZeroCreating);
  return std::make_unique<TracedLink>(calibrate ? texts::kTraceCalibrateTerminating : texts::kTraceSetZeroTerminating);
}
