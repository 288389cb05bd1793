#include "profiles/win/axis_options_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "commands/key_selection.h"
#include "commands/win/key_command_dialog.h"
#include "profiles/editor_rules.h"
#include "profiles/win/button_dialog.h"
#include "resources/profiles/resource.h"
#include "winui/head_reach.h"

namespace {

constexpr int32_t kSensitivityOff = 11;
constexpr int32_t kNoHold = -1;
constexpr int32_t kFirstMouseHold = 300;
constexpr const char* kMouseHoldNames[] = {"Left mouse button", "Right mouse button", "Middle mouse button",
                                           "Mouse button 4", "Mouse button 5"};
constexpr int kMouseHolds = 5;
constexpr int kHoldControls[] = {IDC_AXIS_HOLD_SET, IDC_AXIS_HOLD_NAME, IDC_AXIS_HOLD_BUTTON, IDC_AXIS_HOLD_KEY,
                                 IDC_AXIS_HOLD_LABEL};

bool IsMouseHold(int32_t hold) { return hold >= kFirstMouseHold; }

// A mouse value no button has (a damaged file) names nothing rather than a neighbour.
std::string HoldText(int32_t hold) {
  if (!IsMouseHold(hold)) return HotKeyText(hold);
  return hold - kFirstMouseHold < kMouseHolds ? kMouseHoldNames[hold - kFirstMouseHold] : "";
}

int32_t& Hold() { return WorkingProfile().freelookHold; }

}  // namespace

AxisOptionsDialog::AxisOptionsDialog(const AxisOptions& options)
    : winui::Dialog(IDD_AXIS_OPTIONS), options_(options) {}

BOOL AxisOptionsDialog::OnInitDialog() {
  const struct {
    int slider, off, low, high;
    int32_t value;
  } sliders[] = {
      {IDC_AXIS_PANNING_POINT, 0, 20, 200, options_.panningPoint},
      {IDC_AXIS_PAN_SPEED, IDC_AXIS_PAN_OFF, 1, 10, options_.panningSensitivity},
      {IDC_AXIS_NONPAN_SPEED, IDC_AXIS_NONPAN_OFF, 1, 10, options_.nonPanningSensitivity},
  };
  for (const auto& s : sliders) {
    winui::SetSliderRange(Item(s.slider), s.low, s.high);
    SendDlgItemMessageA(hwnd(), s.slider, TBM_SETTICFREQ, s.high > 10 ? 20 : 1, 0);
    // The stored value stays as it is until the user moves the slider; the thumb only shows it.
    if (s.off && s.value == kSensitivityOff)
      CheckDlgButton(hwnd(), s.off, BST_CHECKED);
    else
      SendDlgItemMessageA(hwnd(), s.slider, TBM_SETPOS, TRUE, std::clamp<int32_t>(s.value, s.low, s.high));
  }
  ShowHold();
  return TRUE;
}

void AxisOptionsDialog::ShowHold() {
  const int32_t hold = Hold();
  CheckDlgButton(hwnd(), IDC_AXIS_HOLD_ALLOW, hold == kNoHold ? BST_UNCHECKED : BST_CHECKED);
  CheckRadioButton(hwnd(), IDC_AXIS_HOLD_BUTTON, IDC_AXIS_HOLD_KEY,
                   hold == kNoHold || IsMouseHold(hold) ? IDC_AXIS_HOLD_BUTTON : IDC_AXIS_HOLD_KEY);
  SetDlgItemTextA(hwnd(), IDC_AXIS_HOLD_NAME, HoldText(hold).c_str());
  EnableHold();
}

void AxisOptionsDialog::EnableHold() {
  const BOOL on = IsDlgButtonChecked(hwnd(), IDC_AXIS_HOLD_ALLOW) == BST_CHECKED;
  for (int id : kHoldControls) EnableWindow(Item(id), on);
}

void AxisOptionsDialog::OnCommand(int id, int code) {
  switch (id) {
    case IDC_AXIS_PAN_OFF:
    case IDC_AXIS_NONPAN_OFF:
      if (code == BN_CLICKED) ReadSensitivities();
      return;
    case IDC_AXIS_HOLD_ALLOW:
      if (code != BN_CLICKED) return;
      if (IsDlgButtonChecked(hwnd(), id) != BST_CHECKED) {
        Hold() = kNoHold;
        SetDlgItemTextA(hwnd(), IDC_AXIS_HOLD_NAME, HoldText(kNoHold).c_str());
      }
      EnableHold();
      return;
    case IDC_AXIS_HOLD_SET:
      if (code == BN_CLICKED) SetHold();
      return;
  }
  winui::Dialog::OnCommand(id, code);
}

bool AxisOptionsDialog::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT&) {
  int position = 0;
  const int slider = winui::ReleasedSlider(msg, lp, &position);
  if (!slider) return false;
  OnSliderReleased(slider, position);
  return true;
}

void AxisOptionsDialog::OnSliderReleased(int id, int position) {
  if (id == IDC_AXIS_PANNING_POINT) options_.panningPoint = position;
  else if (id == IDC_AXIS_PAN_SPEED || id == IDC_AXIS_NONPAN_SPEED) ReadSensitivities();
}

// A sensitivity whose "Disable" box is ticked is 11 whatever its thumb shows.
void AxisOptionsDialog::ReadSensitivities() {
  auto read = [&](int off, int slider) -> int32_t {
    if (IsDlgButtonChecked(hwnd(), off) == BST_CHECKED) return kSensitivityOff;
    return static_cast<int32_t>(SendDlgItemMessageA(hwnd(), slider, TBM_GETPOS, 0, 0));
  };
  options_.panningSensitivity = read(IDC_AXIS_PAN_OFF, IDC_AXIS_PAN_SPEED);
  options_.nonPanningSensitivity = read(IDC_AXIS_NONPAN_OFF, IDC_AXIS_NONPAN_SPEED);
}

void AxisOptionsDialog::SetHold() {
  int32_t hold = kNoHold;
  if (IsDlgButtonChecked(hwnd(), IDC_AXIS_HOLD_BUTTON) == BST_CHECKED) {
    MouseButtonDialog buttons({}, kTap, 1, true);
    if (buttons.DoModal(hwnd()) != IDOK) return;
    const auto chosen = buttons.Buttons();
    const auto first = std::find_if(chosen.begin(), chosen.begin() + kMouseHolds, [](int32_t b) { return b != 0; });
    if (first != chosen.begin() + kMouseHolds) hold = kFirstMouseHold + static_cast<int32_t>(first - chosen.begin());
  } else {
    KeyCommandDialog keys(kPurposeFreelookKey, {kNoKey, kNoKey, kNoKey, kNoKey}, kTap, 1);
    if (keys.DoModal(hwnd()) != IDOK) return;
    hold = keys.Keys()[0];
  }
  Hold() = hold;
  SetDlgItemTextA(hwnd(), IDC_AXIS_HOLD_NAME, HoldText(hold).c_str());
}
