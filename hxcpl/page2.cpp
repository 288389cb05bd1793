#include "hxcpl/page2.h"

#include "device/trace.h"
#include "hxcpl/texts.h"
#include "resources/hxcpl/resource.h"

namespace hxcpl {

int CPage2::DialogId() const { return IDD_OPTIONS; }

BOOL CPage2::OnInitDialog() {
  Trace(text::kPage2Init);
  return TRUE;
}

bool CPage2::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return false;
  if (id == IDC_CALIBRATE) {
    OnCalibrate();
    return true;
  }
  if (id == IDC_SET_ZERO) {
    OnSetZero();
    return true;
  }
  return false;
}

// Cancel at the prompt leaves without asking the tracker: a user who cannot line the sensors
// up must have a way out. The link gives the raw answer; anything but 0 or 1 asks again.
void CPage2::OnCalibrate() {
  for (;;) {
    if (Box(text::kCalibratePrompt, MB_OKCANCEL) != IDOK) return;
    switch (link_.Calibrate()) {
      case -1:
        Box(text::kCalibrationError, MB_OK);
        return;
      case 1:
        Box(text::kCalibrationSuccess, MB_OK);
        return;
      case 0:
        if (Box(text::kCalibrationRetry, MB_YESNO) != IDYES) return;
        break;
      default:
        break;
    }
  }
}

void CPage2::OnSetZero() {
  if (Box(text::kZeroPrompt, MB_OKCANCEL) != IDOK) return;
  Box(link_.SetZero() ? text::kZeroSuccess : text::kZeroError, MB_OK);
}

}  // namespace hxcpl
