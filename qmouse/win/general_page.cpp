#include "qmouse/win/general_page.h"

#include <algorithm>

#include "device/hx_mouse.h"
#include "device/trace.h"
#include "qmouse/look_away.h"
#include "qmouse/texts.h"
#include "resources/qmouse/resource.h"

General::General(Settings& values) : SettingsPage(IDD_PAGE_OPTIONS, values) {}

BOOL General::OnInitDialog() {
  CheckDlgButton(hwnd(), IDC_STARTUP_AT_BOOT, Values().Get(Setting::StartupAtBoot) ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(hwnd(), IDC_REPEAT_CLICKS, Values().Get(Setting::Repeater) ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(hwnd(), IDC_LOOK_AWAY, Values().Get(Setting::LookAway) ? BST_CHECKED : BST_UNCHECKED);
  for (const char* direction : texts::kLookAwayDirections)
    SendDlgItemMessageA(hwnd(), IDC_LOOK_AWAY_DIRECTION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(direction));
  for (const char* time : texts::kLookAwayTimes)
    SendDlgItemMessageA(hwnd(), IDC_LOOK_AWAY_TIME, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(time));
  // An odd stored value shows as what the look away will use.
  const int32_t direction = Values().Get(Setting::LookAwayDirection);
  const int32_t ms = std::clamp(Values().Get(Setting::LookAwayTime), kLookAwayMinMs, kLookAwayMaxMs);
  SendDlgItemMessageA(hwnd(), IDC_LOOK_AWAY_DIRECTION, CB_SETCURSEL, direction >= 0 && direction <= 3 ? direction : 0, 0);
  SendDlgItemMessageA(hwnd(), IDC_LOOK_AWAY_TIME, CB_SETCURSEL, (ms + 500) / 1000 - 1, 0);
  EnlargeList(IDC_LOOK_AWAY_DIRECTION);
  EnlargeList(IDC_LOOK_AWAY_TIME);
  return TRUE;
}

void General::OnPageCommand(int id, int code) {
  if (code == CBN_SELCHANGE && (id == IDC_LOOK_AWAY_DIRECTION || id == IDC_LOOK_AWAY_TIME)) {
    const auto pick = [this](int list) { return static_cast<int32_t>(SendDlgItemMessageA(hwnd(), list, CB_GETCURSEL, 0, 0)); };
    if (pick(IDC_LOOK_AWAY_DIRECTION) >= 0) Values().Set(Setting::LookAwayDirection, pick(IDC_LOOK_AWAY_DIRECTION));
    if (pick(IDC_LOOK_AWAY_TIME) >= 0) Values().Set(Setting::LookAwayTime, (pick(IDC_LOOK_AWAY_TIME) + 1) * 1000);
    SetModified(true);
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDC_LOOK_AWAY:
      Values().Set(Setting::LookAway, IsDlgButtonChecked(hwnd(), IDC_LOOK_AWAY) == BST_CHECKED);
      SetModified(true);
      break;
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
