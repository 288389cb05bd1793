#pragma once
// "Enter profile name": up to 256 characters, the characters a file name cannot hold refused
// as they are typed.
#include <string>

#include "profiles/dialog_texts.h"
#include "winui/dialog.h"

// It opens with the offered name selected, so OK takes it in one rest and typing replaces it;
// "On-screen keyboard" starts `keyboard` for typing by dwell and puts its window beside the
// dialog (or the dialog beside it, should the keyboard refuse to be moved).
class NameDialog : public winui::Dialog {
 public:
  explicit NameDialog(std::string name = {}, std::string keyboard = dialog_texts::kKeyboardProgram);
  // The entered name; meaningful after DoModal returned IDOK.
  const std::string& Name() const { return name_; }

 protected:
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code) override;
  void OnTimer(UINT_PTR id) override;

 private:
  std::string Text() const;
  void FilterAsTyped();
  void OnOk();
  void OpenKeyboard();
  void MoveKeyboard(HWND keyboard);
  void CheckKeyboardMoved();

  std::string name_;
  std::string keyboard_;
  DWORD keyboardProcess_ = 0;  // whose window is looked for
  DWORD keyboardSince_ = 0;     // since it was started, then since it was asked to move
  HWND keyboardWindow_ = nullptr;  // found and asked to move
  RECT keyboardWanted_ = {};
};
