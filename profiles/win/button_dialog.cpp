#include "profiles/win/button_dialog.h"

#include "commands/win/dialog_controls.h"
#include "resources/profiles/command_dialog_ids.h"

namespace dc = dialog_controls;

namespace {
// Buttons 1-8, and the radios in the order of the action values (Pulse's id comes before Toggle's).
const int kButtonBoxes[kCommandButtons] = {IDC_BUTTON_LEFT, IDC_BUTTON_RIGHT, IDC_BUTTON_MIDDLE, IDC_BUTTON_4,
                                           IDC_BUTTON_5,    IDC_BUTTON_6,     IDC_BUTTON_7,      IDC_BUTTON_8};
const int kMethodRadios[] = {IDC_BUTTON_TAP, IDC_BUTTON_HOLD, IDC_BUTTON_TOGGLE, IDC_BUTTON_PULSE};
}  // namespace

MouseButtonDialog::MouseButtonDialog(const std::array<int32_t, kCommandButtons>& buttons, int action, int pulseRate,
                                     bool buttonsOnly)
    : winui::Dialog(IDD_MOUSE_BUTTON),
      checked_(buttons),
      buttons_(buttons),
      method_(!buttonsOnly, action, pulseRate),
      action_(action),
      pulseRate_(pulseRate) {}

BOOL MouseButtonDialog::OnInitDialog() {
  for (int b = 0; b < kCommandButtons; ++b)
    CheckDlgButton(hwnd(), kButtonBoxes[b], checked_[b] ? BST_CHECKED : BST_UNCHECKED);
  dc::CheckRadio(hwnd(), kMethodRadios, method_.CheckedRadio());
  dc::Enable(hwnd(), {IDC_BUTTON_METHOD, IDC_BUTTON_TAP, IDC_BUTTON_HOLD, IDC_BUTTON_TOGGLE, IDC_BUTTON_PULSE},
             method_.RadiosEnabled());
  dc::SetUpSlider(Item(IDC_BUTTON_RATE), 1, 100, method_.SliderPosition());
  ShowRate();
  return TRUE;
}

void MouseButtonDialog::ShowRate() {
  dc::Enable(hwnd(), {IDC_BUTTON_RATE, IDC_BUTTON_SLOW, IDC_BUTTON_FAST}, method_.RateEnabled());
}

void MouseButtonDialog::OnCommand(int id, int code) {
  if (const int b = dc::IndexOf(kButtonBoxes, id); b >= 0) {
    checked_[b] = IsDlgButtonChecked(hwnd(), id) == BST_CHECKED;
    return;
  }
  if (const int action = dc::IndexOf(kMethodRadios, id); action >= 0) {
    method_.Choose(action);
    ShowRate();
    return;
  }
  if (id == IDOK) {
    buttons_ = checked_;
    action_ = method_.Action();
    pulseRate_ = method_.PulseRate();
  }
  winui::Dialog::OnCommand(id, code);
}

bool MouseButtonDialog::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT&) {
  int position = 0;
  if (winui::ReleasedSlider(msg, lp, &position) != IDC_BUTTON_RATE) return false;
  method_.ReleaseSlider(position);
  return true;
}
