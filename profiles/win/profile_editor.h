#pragma once
// The profile editor: mode, the motion list, hot keys, axis options and the game, all on the
// working copy. The caller copies the working copy back on IDOK.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "winui/dialog.h"
#include "winui/handles.h"

class ProfileEditor : public winui::Dialog {
 public:
  // Opens on the working copy's mode and game strings.
  ProfileEditor();
  ProfileEditor(int mode, std::string gamePath, std::string startDirectory, std::string gameArguments);
  ~ProfileEditor() override;

  // What the manager takes back after DoModal returned IDOK.
  int Mode() const { return mode_; }
  const std::string& GamePath() const { return gamePath_; }
  const std::string& StartDirectory() const { return startDirectory_; }
  const std::string& GameArguments() const { return gameArguments_; }

 protected:
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  int ReadMode() const;
  void FillList();
  void ShowHotKeys();
  void SetHotKey(int row);
  void EditMotion();
  void ClearMotion();
  void ClearAllMotions();
  void OnDrop(HDROP drop);
  void Browse();
  // Takes the game from a dropped or chosen file, resolved as a drop is.
  void SetGameFrom(const std::string& file);
  static LRESULT DrawSelection(NMLVCUSTOMDRAW& draw);

  int mode_;
  std::string gamePath_, startDirectory_, gameArguments_;
  int selected_ = -1;
  ImageList images_;  // the list shares it, so it outlives the list
};
