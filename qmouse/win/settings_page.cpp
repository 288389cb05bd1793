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

bool SettingsPage::OnNotify(int id, NMHDR* header, LRESULT&) {
  if (header->code != static_cast<UINT>(NM_RELEASEDCAPTURE)) return false;
  char cls[32] = {};
  GetClassNameA(header->hwndFrom, cls, sizeof cls);
  if (lstrcmpiA(cls, TRACKBAR_CLASSA) != 0) return false;
  OnSliderReleased(id, static_cast<int>(SendMessageA(header->hwndFrom, TBM_GETPOS, 0, 0)));
  return true;
}

void SettingsPage::EnlargeList(int id) const { winui::EnlargeRows(Item(id)); }
