#pragma once
// What every page of the settings sheet shares. A page's members are its rows of the page
// values, which the main window loads from the live settings before each opening and
// copies back when any page applies. Apply, OK and Cancel are the page's own buttons;
// while a drop-down list is open, dwell clicks left.
#include <windows.h>

#include "qmouse/settings.h"
#include "winui/property_sheet.h"

class SettingsPage : public winui::PropertyPage {
 public:
  static constexpr UINT kApplySettings = WM_USER + 2;
  static constexpr UINT kForceLeftOn = WM_USER + 8;
  static constexpr UINT kForceLeftOff = WM_USER + 16;

  SettingsPage(int resourceId, Settings& values);
  // The window that applies the page values; given before every opening.
  void SetMainWindow(HWND window) { main_ = window; }

 protected:
  Settings& Values() { return values_; }
  // The page's own controls; Apply, OK, Cancel and the lists' opening and closing are
  // handled before this is called.
  virtual void OnPageCommand(int, int) {}
  // A slider of the page let go after a drag: the only slider change that stores a value.
  virtual void OnSliderReleased(int, int) {}
  // Makes a drop-down list's field and items tall enough to hit with a head-driven cursor.
  void EnlargeList(int id) const;

  void OnCommand(int id, int code) override;
  bool OnNotify(int id, NMHDR* header, LRESULT& result) override;

 private:
  void Apply();

  Settings& values_;
  HWND main_ = nullptr;
};
