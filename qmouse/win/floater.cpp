#include "qmouse/win/floater.h"

#include <shellapi.h>

#include "device/trace.h"
#include "qmouse/texts.h"
#include "qmouse/tray_modes.h"
#include "qmouse/win/null_window.h"
#include "resources/qmouse/resource.h"

Floater::Floater(NullWindow& owner) : winui::Dialog(IDD_FLOATER), owner_(owner) {}

AboutBox::AboutBox() : winui::Dialog(IDD_ABOUTBOX) {}

void Floater::SetDwellAction(int32_t clickMode) {
  index_ = PanelIndexOf(clickMode);
  if (hwnd()) SelectRadio();
}

void Floater::SelectRadio() {
  // An unknown mode leaves no radio selected.
  CheckRadioButton(hwnd(), IDC_NOCLICK, IDC_DRAGRIGHT, index_ >= 0 ? IDC_NOCLICK + index_ : 0);
}

void Floater::SetPauseText(bool paused) {
  if (hwnd()) SetDlgItemTextA(hwnd(), IDC_PAUSE, paused ? "Unpause" : "Pause");
}

BOOL Floater::OnInitDialog() {
  SelectRadio();
  SetPauseText(owner_.App().paused.load() != 0);
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  PublishRect();
  SetForegroundWindow(lastForeground_.load());
  return FALSE;  // no focus to a button: the user's application keeps it
}

void Floater::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  if (id >= IDC_NOCLICK && id <= IDC_DRAGRIGHT) return OnModeButton(id - IDC_NOCLICK);
  switch (id) {
    case IDC_HIDE:
      return OnHide();
    case IDC_OPTIONS:
      return owner_.OpenOptions();
    case IDC_PAUSE:
      return OnPause();
    case IDC_SHUTDOWN:
      return OnShutdown();
  }
}

void Floater::OnModeButton(int index) {
  Trace(texts::kTracePanelButton);
  // Read the buttons rather than trust the id: the radio group decides what is checked.
  int checked = index;
  for (int i = 0; i < 8; ++i)
    if (IsDlgButtonChecked(hwnd(), IDC_NOCLICK + i) == BST_CHECKED) checked = i;
  const int32_t mode = ClickModeOfPanelIndex(checked);
  AppState& app = owner_.App();
  app.settings.Set(Setting::DwellCommand, mode);
  app.markedClickMode = mode;
  if (checked != index_) {
    index_ = checked;
    SelectRadio();
  }
  SetForegroundWindow(lastForeground_.load());
}

void Floater::OnHide() {
  AppState& app = owner_.App();
  if (app.settings.Get(Setting::DwellCommand) == kNoClick) {
    app.settings.Set(Setting::DwellCommand, kLeftClick);
    if (owner_.Ask(texts::kHideWithNoClick) == 1) {
      app.markedClickMode = kLeftClick;
      SetDwellAction(kLeftClick);
    } else {
      app.settings.Set(Setting::DwellCommand, kNoClick);
      return;
    }
  }
  ShowWindow(hwnd(), SW_HIDE);
  app.panelHidden = 1;
}

void Floater::OnPause() {
  if (owner_.App().paused.load()) {
    owner_.SetPaused(false);
  } else if (owner_.AskFromPanel(texts::kPauseFromPanel) == 1) {
    owner_.SetPaused(true);
  }
}

void Floater::OnShutdown() {
  if (owner_.AskFromPanel(texts::kExitQuestion) == 1) owner_.BeginShutdown(false);
}

void Floater::PublishRect() {
  RECT r;
  if (GetWindowRect(hwnd(), &r)) rect_.Store({r.left, r.top, r.right, r.bottom});
}

bool Floater::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg == WM_WINDOWPOSCHANGED) PublishRect();  // then handled as usual
  if (msg == WM_DROPFILES) {  // accepted and ignored
    DragFinish(reinterpret_cast<HDROP>(wp));
    result = 0;
    return true;
  }
  return false;
}
