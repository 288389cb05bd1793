#include "profiles/win/name_dialog.h"

#include <shellapi.h>

#include <utility>

#include "profiles/dialog_texts.h"
#include "profiles/editor_rules.h"
#include "profiles/win/shell_link.h"
#include "resources/profiles/resource.h"

NameDialog::NameDialog(std::string name, std::string keyboard)
    : winui::Dialog(IDD_PROFILE_NAME), name_(std::move(name)), keyboard_(std::move(keyboard)) {}

BOOL NameDialog::OnInitDialog() {
  HWND edit = Item(IDC_PROFILE_NAME);
  SendMessageA(edit, EM_LIMITTEXT, dialog_texts::kNameMaxLength, 0);
  SetWindowTextA(edit, name_.c_str());
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  return FALSE;  // the focus is set
}

std::string NameDialog::Text() const {
  HWND edit = Item(IDC_PROFILE_NAME);
  std::string text(static_cast<size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
  return text;
}

void NameDialog::OnCommand(int id, int code) {
  if (id == IDC_PROFILE_NAME && code == EN_CHANGE) FilterAsTyped();
  else if (id == IDOK) OnOk();
  else if (id == IDC_PROFILE_NAME_KEYBOARD && code == BN_CLICKED) OpenKeyboard();
  else winui::Dialog::OnCommand(id, code);
}

// The write-back puts the caret at the start; an End key puts it back where the user types.
void NameDialog::FilterAsTyped() {
  std::string text = Text();
  if (!FilterProfileName(text)) return;
  HWND edit = Item(IDC_PROFILE_NAME);
  SetWindowTextA(edit, text.c_str());
  SendMessageA(edit, WM_KEYDOWN, VK_END, 0);
  SendMessageA(edit, WM_KEYUP, VK_END, 0xC0000001);
}

// The box refuses typing past the limit, but a pasted or set text can still be longer.
void NameDialog::OnOk() {
  std::string text = Text();
  if (text.size() > static_cast<size_t>(dialog_texts::kNameMaxLength)) {
    MessageBoxA(hwnd(), dialog_texts::kNameTooLong, ProgramTitle().c_str(), MB_OK | MB_ICONEXCLAMATION);
    SetFocus(Item(IDC_PROFILE_NAME));
    return;
  }
  // Refused here, before anything opens, so that no editing is lost to a name no file can have.
  const std::string refusal = NameRefusal(text);
  if (!refusal.empty()) {
    MessageBoxA(hwnd(), refusal.c_str(), ProgramTitle().c_str(), MB_OK | MB_ICONEXCLAMATION);
    SetFocus(Item(IDC_PROFILE_NAME));
    return;
  }
  name_ = std::move(text);
  End(IDOK);
}

// The typing goes to the name: the focus goes back to it once the keyboard is asked for.
void NameDialog::OpenKeyboard() {
  SHELLEXECUTEINFOA run = {};
  run.cbSize = sizeof run;
  run.fMask = SEE_MASK_FLAG_NO_UI;
  run.hwnd = hwnd();
  run.lpFile = keyboard_.c_str();
  run.nShow = SW_SHOWNOACTIVATE;
  if (!ShellExecuteExA(&run))
    MessageBoxA(hwnd(), dialog_texts::kKeyboardFailed, ProgramTitle().c_str(), MB_OK | MB_ICONEXCLAMATION);
  SetFocus(Item(IDC_PROFILE_NAME));
}
