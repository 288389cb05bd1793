#pragma once
// The Power Command editor: a map's fifty-entry list, built with Add, Insert, Replace,
// Remove and Clear from commands set up through the key, button and wheel dialogs.
#include <string>
#include <vector>

#include "commands/command.h"
#include "profiles/power_list.h"
#include "winui/dialog.h"

class PowerCommandEditor : public winui::Dialog {
 public:
  explicit PowerCommandEditor(const Command& map);
  // After DoModal returned IDOK: the fifty slots, powerCount and repeatWhileOut into `map`.
  // Does nothing otherwise.
  void CommitTo(Command& map) const;
  // The program's title, which captions the list check's own message ("Hxprofiler" unless set).
  void SetProgramTitle(const char* title) { programTitle_ = title; }

 protected:
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  void OnDestroy() override;

 private:
  void OpenTypeDialog();
  void RunListOperation(int id);
  void ShowSetup();
  void FitListWidth();
  std::vector<std::string> ShownLines() const;
  void Show(const Notice& notice, HWND owner) const;

  PowerListEditor editor_;
  std::string programTitle_;
  bool accepted_ = false;
};
