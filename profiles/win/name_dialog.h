#pragma once
// "Enter profile name": up to 256 characters, the characters a file name cannot hold refused
// as they are typed.
#include <string>

#include "winui/dialog.h"

class NameDialog : public winui::Dialog {
 public:
  explicit NameDialog(std::string name = {});
  // The entered name; meaningful after DoModal returned IDOK.
  const std::string& Name() const { return name_; }

 protected:
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code) override;

 private:
  std::string Text() const;
  void FilterAsTyped();
  void OnOk();

  std::string name_;
};
