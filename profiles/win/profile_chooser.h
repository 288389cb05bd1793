#pragma once
// The chooser of a dropped game that several profiles match: their file names, OK once one is
// chosen, "New" to make another profile.
#include <string>
#include <vector>

#include "winui/dialog.h"

class ProfileChooser : public winui::Dialog {
 public:
  ProfileChooser(std::string gameExe, std::vector<std::string> fileNames);
  // After DoModal returned IDOK: the chosen entry's position among the file names.
  int Chosen() const { return chosen_; }

 protected:
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code) override;

 private:
  std::string gameExe_;
  std::vector<std::string> fileNames_;
  int chosen_ = -1;
};
