#pragma once
// The program's own question box: OK/Cancel (mode 0) or Yes/No (mode 1). Dwell clicks act
// as left clicks over it, so it must be ours rather than a system message box.
#include <functional>
#include <string>

#include "qmouse/geometry.h"

#include "winui/dialog.h"

class ConfirmBox : public winui::Dialog {
 public:
  enum Mode { kOkCancel = 0, kYesNo = 1 };
  ConfirmBox();
  // Where the floating panel is; false while there is none on screen.
  void SetPanelLocator(std::function<bool(Rect&)> locate) { locatePanel_ = std::move(locate); }
  // Asks modally; returns 1 when the first button was pressed. One question at a time, over
  // all boxes: while one is open a further Ask shows nothing and returns 0, so that a
  // second box can never take the place of the first one's window.
  int Ask(const std::string& text, Mode mode, HWND owner = nullptr);
  static bool AnyOpen();

 protected:
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code) override;

 private:
  std::string text_;
  Mode mode_ = kOkCancel;
  std::function<bool(Rect&)> locatePanel_;
};
