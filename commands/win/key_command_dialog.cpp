#include "commands/win/key_command_dialog.h"

#include "commands/win/dialog_controls.h"
#include "resources/profiles/key_dialog_ids.h"

namespace dc = dialog_controls;

namespace {
// In the order of the action values.
const int kMethodRadios[] = {IDC_KEY_TAP, IDC_KEY_HOLD, IDC_KEY_TOGGLE, IDC_KEY_PULSE};
}  // namespace

KeyCommandDialog::KeyCommandDialog(int purpose, const std::array<int32_t, kCommandKeys>& keys, int action,
                                   int pulseRate)
    : winui::Dialog(IDD_KEY_COMMAND),
      selection_(purpose, keys, action, pulseRate),
      keys_(keys),
      action_(action),
      pulseRate_(pulseRate) {}

BOOL KeyCommandDialog::OnInitDialog() {
  SetDlgItemTextA(hwnd(), IDC_KEY_PROMPT, selection_.Prompt());
  for (int i = 0; i < kKeyCount; ++i) {
    SetDlgItemTextA(hwnd(), IDC_KEY_FIRST + i, kKeyTable[i].label);
    CheckDlgButton(hwnd(), IDC_KEY_FIRST + i, selection_.IsSelected(i) ? BST_CHECKED : BST_UNCHECKED);
  }
  const ActionChoice& method = selection_.Method();
  dc::CheckRadio(hwnd(), kMethodRadios, method.CheckedRadio());
  dc::Enable(hwnd(), {IDC_KEY_METHOD, IDC_KEY_TAP, IDC_KEY_HOLD, IDC_KEY_TOGGLE, IDC_KEY_PULSE},
             method.RadiosEnabled());
  dc::SetUpSlider(Item(IDC_KEY_RATE), 1, 100, method.SliderPosition());
  ShowMethod();
  return TRUE;
}

void KeyCommandDialog::ShowMethod() {
  dc::Enable(hwnd(), {IDC_KEY_RATE, IDC_KEY_SLOW, IDC_KEY_FAST}, selection_.Method().RateEnabled());
}

void KeyCommandDialog::OnCommand(int id, int code) {
  if (id >= IDC_KEY_FIRST && id <= IDC_KEY_LAST && code == BN_CLICKED) {
    const int index = id - IDC_KEY_FIRST;
    if (!selection_.Click(index))
      MessageBoxA(hwnd(), selection_.LimitMessage(), kKeyMessageCaption, MB_OK);
    CheckDlgButton(hwnd(), id, selection_.IsSelected(index) ? BST_CHECKED : BST_UNCHECKED);
    return;
  }
  if (const int action = dc::IndexOf(kMethodRadios, id); action >= 0) {
    selection_.Method().Choose(action);
    ShowMethod();
    return;
  }
  if (id == IDOK) {
    keys_ = selection_.Result();
    action_ = selection_.Method().Action();
    pulseRate_ = selection_.Method().PulseRate();
  }
  winui::Dialog::OnCommand(id, code);
}

bool KeyCommandDialog::OnMessage(UINT msg, WPARAM, LPARAM lp, LRESULT&) {
  int position = 0;
  if (winui::ReleasedSlider(msg, lp, &position) != IDC_KEY_RATE) return false;
  selection_.Method().ReleaseSlider(position);
  return true;
}
