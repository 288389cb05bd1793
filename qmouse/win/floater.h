#pragma once
// The floating panel: a small topmost tool window with one push-like button per click mode,
// and Hide, Options, Pause and Shutdown. The user presses its buttons with dwell clicks, so
// each press gives the foreground back to the user's application.
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "qmouse/geometry.h"
#include "winui/dialog.h"

class NullWindow;

class Floater : public winui::Dialog {
 public:
  explicit Floater(NullWindow& owner);

  // Shows `clickMode` on the panel (stored until the window exists).
  void SetDwellAction(int32_t clickMode);
  void SetLastForeground(HWND window) { lastForeground_ = window; }
  void SetPauseText(bool paused);
  // Where the panel is, kept up to date on every move for the cursor thread; false until
  // the window exists.
  bool PublishedRect(Rect& rect) const { return rect_.Load(rect); }

 protected:
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code) override;
  void OnClose() override {}  // the panel goes only with the program
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void OnModeButton(int index);
  void OnHide();
  void OnPause();
  void OnShutdown();
  void SelectRadio();
  void PublishRect();

  NullWindow& owner_;
  int32_t index_ = -1;
  std::atomic<HWND> lastForeground_{nullptr};  // written by the cursor thread
  SharedRect rect_;
};

// The About box: a picture, the version and one line; nothing else.
class AboutBox : public winui::Dialog {
 public:
  AboutBox();
};
