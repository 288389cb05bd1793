#include "qmouse/win/general_page.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "device/hx_mouse.h"
#include "device/tracker_choice.h"
#include "device/trace.h"
#include "qmouse/look_away.h"
#include "qmouse/texts.h"
#include "resources/qmouse/resource.h"

General::General(Settings& values) : SettingsPage(IDD_PAGE_OPTIONS, values) {}

BOOL General::OnInitDialog() {
  for (const char* direction : texts::kLookAwayDirections)
    SendDlgItemMessageA(hwnd(), IDC_LOOK_AWAY_DIRECTION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(direction));
  for (const char* time : texts::kLookAwayTimes)
    SendDlgItemMessageA(hwnd(), IDC_LOOK_AWAY_TIME, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(time));
  EnlargeList(IDC_LOOK_AWAY_DIRECTION);
  EnlargeList(IDC_LOOK_AWAY_TIME);
  EnlargeList(IDC_TRACKER);
  ShowValues();
  return TRUE;
}

void General::ShowValues() {
  if (!hwnd()) return;
  CheckDlgButton(hwnd(), IDC_STARTUP_AT_BOOT, Values().Get(Setting::StartupAtBoot) ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(hwnd(), IDC_REPEAT_CLICKS, Values().Get(Setting::Repeater) ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(hwnd(), IDC_LOOK_AWAY, Values().Get(Setting::LookAway) ? BST_CHECKED : BST_UNCHECKED);
  // An odd stored value shows as what the look away will use.
  const int32_t direction = Values().Get(Setting::LookAwayDirection);
  const int32_t ms = std::clamp(Values().Get(Setting::LookAwayTime), kLookAwayMinMs, kLookAwayMaxMs);
  SendDlgItemMessageA(hwnd(), IDC_LOOK_AWAY_DIRECTION, CB_SETCURSEL, direction >= 0 && direction <= 3 ? direction : 0, 0);
  SendDlgItemMessageA(hwnd(), IDC_LOOK_AWAY_TIME, CB_SETCURSEL, (ms + 500) / 1000 - 1, 0);
  ShowTracker();
}

void General::ShowTracker() {
  const TrackerChoice choice = TrackerChoiceFrom(Values().Get(Setting::Tracker), Values().Get(Setting::TrackerPort),
                                                 Values().Get(Setting::TrackerNetwork));
  HWND list = GetDlgItem(hwnd(), IDC_TRACKER);
  char opentrack[64];
  std::snprintf(opentrack, sizeof opentrack, texts::kTrackerOpentrack, static_cast<int>(choice.port));
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(texts::kTrackerDriver));
  SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(opentrack));
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(choice.source), 0);
  char port[16];
  GetDlgItemTextA(hwnd(), IDC_TRACKER_PORT, port, sizeof port);
  if (std::atoi(port) != choice.port) {
    showing_ = true;  // an odd stored port shows as the default, and stays until edited
    SetDlgItemInt(hwnd(), IDC_TRACKER_PORT, static_cast<UINT>(choice.port), FALSE);
    showing_ = false;
  }
  CheckDlgButton(hwnd(), IDC_TRACKER_NETWORK, choice.acceptNetwork ? BST_CHECKED : BST_UNCHECKED);
  const bool udp = choice.source == TrackerSource::OpentrackUdp;
  EnableWindow(GetDlgItem(hwnd(), IDC_TRACKER_PORT), udp);
  EnableWindow(GetDlgItem(hwnd(), IDC_TRACKER_NETWORK), udp);
}

// A port being typed is stored only once it is a port; the list's text follows it.
void General::OnTrackerChanged(int id) {
  if (id == IDC_TRACKER) {
    const LRESULT pick = SendDlgItemMessageA(hwnd(), IDC_TRACKER, CB_GETCURSEL, 0, 0);
    if (pick < 0) return;
    Values().Set(Setting::Tracker, static_cast<int32_t>(pick));
  } else if (id == IDC_TRACKER_PORT) {
    BOOL ok = FALSE;
    const UINT port = GetDlgItemInt(hwnd(), IDC_TRACKER_PORT, &ok, FALSE);
    if (!ok || port < 1 || port > 65535 || static_cast<int32_t>(port) == Values().Get(Setting::TrackerPort)) return;
    Values().Set(Setting::TrackerPort, static_cast<int32_t>(port));
  } else {
    Values().Set(Setting::TrackerNetwork, IsDlgButtonChecked(hwnd(), IDC_TRACKER_NETWORK) == BST_CHECKED);
  }
  ShowTracker();
  SetModified(true);
}

void General::OnPageCommand(int id, int code) {
  if (code == CBN_SELCHANGE && (id == IDC_LOOK_AWAY_DIRECTION || id == IDC_LOOK_AWAY_TIME)) {
    const auto pick = [this](int list) { return static_cast<int32_t>(SendDlgItemMessageA(hwnd(), list, CB_GETCURSEL, 0, 0)); };
    if (pick(IDC_LOOK_AWAY_DIRECTION) >= 0) Values().Set(Setting::LookAwayDirection, pick(IDC_LOOK_AWAY_DIRECTION));
    if (pick(IDC_LOOK_AWAY_TIME) >= 0) Values().Set(Setting::LookAwayTime, (pick(IDC_LOOK_AWAY_TIME) + 1) * 1000);
    SetModified(true);
    return;
  }
  if ((id == IDC_TRACKER && code == CBN_SELCHANGE) || (id == IDC_TRACKER_PORT && code == EN_CHANGE && !showing_) ||
      (id == IDC_TRACKER_NETWORK && code == BN_CLICKED)) {
    OnTrackerChanged(id);
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
  if (TrackerIsOpentrack()) {
    Ask(texts::kCalibrationNotNeeded);
    return;
  }
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
