#pragma once
// "Profile details": the current profile shown read-only. The radios change what the motion
// list shows, never the profile.
#include <string>

#include "profiles/profile.h"
#include "profiles/win/profile_editor.h"
#include "winui/dialog.h"

class ProfileDetails : public winui::Dialog {
 public:
  // `loadError`: why the profile's file did not read, shown in place of its commands.
  explicit ProfileDetails(const Profile& profile, std::string loadError = {});
  int ViewMode() const { return mode_; }

 protected:
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void FillList();
  void ShowMotion(int motion);

  const Profile& profile_;
  std::string loadError_;
  int mode_;
  ImageList images_;  // the list shares it
};
