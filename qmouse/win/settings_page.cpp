#include "qmouse/win/settings_page.h"

#include <commctrl.h>

#include "resources/qmouse/resource.h"
#include "winui/head_reach.h"

SettingsPage::SettingsPage(int resourceId, Settings& values)
    : winui::PropertyPage(resourceId, IDC_PAGE_APPLY), values_(values) {}

void SettingsPage::Apply() {
  // Synchronous: the live settings hold every page's values before the flag clears.
  if (main_) SendMessageA(main_, kApplySettings, 0, 0);
  SetModified(false);
}

void SettingsPage::OnCommand(int id, int code) {
  switch (id) {
    case IDC_PAGE_APPLY:
      Apply();
      return;
    case IDC_PAGE_OK:
      Apply();
      EndSheet();
      return;
    case IDC_PAGE_CANCEL:
      EndSheet();
      return;
  }
  if (code == CBN_DROPDOWN && main_) SendMessageA(main_, kForceLeftOn, 0, 0);
  if (code == CBN_CLOSEUP && main_) SendMessageA(main_, kForceLeftOff, 0, 0);
  OnPageCommand(id, code);
}

bool SettingsPage::OnNotify(int, NMHDR* header, LRESULT&) {
  int position = 0;
  const int slider = winui::ReleasedSlider(WM_NOTIFY, reinterpret_cast<LPARAM>(header), &position);
  if (!slider) return false;
  OnSliderReleased(slider, position);
  return true;
}

void SettingsPage::EnlargeList(int id) const { winui::EnlargeRows(Item(id)); }
