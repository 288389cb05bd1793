#include "qmouse/win/general_page.h"

#include "device/hx_mouse.h"
#include "device/trace.h"
#include "qmouse/texts.h"
#include "resources/qmouse/resource.h"

General::General(Settings& values) : SettingsPage(IDD_PAGE_OPTIONS, values) {}

BOOL General::OnInitDialog() {
  ShowValues();
  return TRUE;
}

void General::ShowValues() {
  if (!hwnd()) return;
  CheckDlgButton(hwnd(), IDC_STARTUP_AT_BOOT, Values().Get(Setting::StartupAtBoot) ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(hwnd(), IDC_REPEAT_CLICKS, Values().Get(Setting::Repeater) ? BST_CHECKED : BST_UNCHECKED);
}

void General::OnPageCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDC_STARTUP_AT_BOOT:
    case IDC_REPEAT_CLICKS:
      Values().Set(Setting::StartupAtBoot, IsDlgButtonChecked(hwnd(), IDC_STARTUP_AT_BOOT) == BST_CHECKED);
      Values().Set(Setting::Repeater, IsDlgButtonChecked(hwnd(), IDC_REPEAT_CLICKS) == BST_CHECKED);
      SetModified(true);
      break;
    case IDC_CALIBRATE:
      OnCalibration();
      break;
    case IDC_SET_CENTER:
      OnCenter();
      break;
  }
}

int General::Ask(const char* text, ConfirmBox::Mode mode) {
  // Owned by the sheet, so the sheet waits for the answer.
  return confirm_->Ask(text, mode, GetParent(hwnd()));
}

// Holds the window thread while the tracker works; the cursor thread keeps its own link.
void General::OnCalibration() {
  Trace(texts::kTraceCalibrationLink);
  CHxMouse link;
  while (Ask(texts::kAlignSensors) == 1) {
    const int result = link.Calibrate();
    if (result == 1) {
      Ask(texts::kCalibrationDone);
      link.SaveSettings();
      break;
    }
    if (result == -1) {
      Ask(texts::kCalibrationNoResponse);
      break;
    }
    if (Ask(texts::kCalibrationMisaligned, ConfirmBox::kYesNo) != 1) break;
  }
}

void General::OnCenter() {
  Trace(texts::kTraceCenterLink);
  CHxMouse link;
  if (Ask(texts::kLookAtCenter) != 1) return;
  if (link.SetZero()) {
    Ask(texts::kCenterDone);
    link.SaveSettings();
  } else {
    Ask(texts::kCenterFailed);
  }
}
