#include "profiles/win/wheel_dialog.h"

#include "commands/win/dialog_controls.h"
#include "resources/profiles/command_dialog_ids.h"

namespace dc = dialog_controls;

namespace {
const int kDirectionRadios[] = {IDC_WHEEL_UP, IDC_WHEEL_DOWN};
const int kMethodRadios[] = {IDC_WHEEL_ONCE, IDC_WHEEL_REPEATEDLY};
}  // namespace

WheelDialog::WheelDialog(int direction, int method, int rate, bool powerForm)
    : winui::Dialog(IDD_WHEEL),
      choice_(powerForm, direction, method, rate),
      direction_(direction),
      method_(method),
      rate_(rate) {}

BOOL WheelDialog::OnInitDialog() {
  dc::CheckRadio(hwnd(), kDirectionRadios, choice_.CheckedDirection());
  dc::CheckRadio(hwnd(), kMethodRadios, choice_.CheckedMethod());
  dc::Enable(hwnd(), {IDC_WHEEL_METHOD, IDC_WHEEL_ONCE, IDC_WHEEL_REPEATEDLY}, choice_.MethodEnabled());
  dc::SetUpSlider(Item(IDC_WHEEL_RATE), 1, 100, choice_.SliderPosition());
  ShowRate();
  return TRUE;
}

void WheelDialog::ShowRate() {
  dc::Enable(hwnd(), {IDC_WHEEL_RATE, IDC_WHEEL_SLOW, IDC_WHEEL_FAST}, choice_.RateEnabled());
}

void WheelDialog::OnCommand(int id, int code) {
  if (const int direction = dc::IndexOf(kDirectionRadios, id); direction >= 0) {
    choice_.ChooseDirection(direction);
    return;
  }
  if (const int method = dc::IndexOf(kMethodRadios, id); method >= 0) {
    choice_.ChooseMethod(method);
    ShowRate();
    return;
  }
  if (id == IDOK) {
    direction_ = choice_.Direction();
    method_ = choice_.Method();
    rate_ = choice_.Rate();
  }
  winui::Dialog::OnCommand(id, code);
}

bool WheelDialog::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT&) {
  int position = 0;
  if (winui::ReleasedSlider(msg, lp, &position) != IDC_WHEEL_RATE) return false;
  choice_.ReleaseSlider(position);
  return true;
}
