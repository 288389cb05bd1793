#include "qmouse/win/dwell_page.h"

#include <commctrl.h>
#include <commdlg.h>

#include "qmouse/settings_pages.h"
#include "resources/qmouse/resource.h"
#include "winui/head_reach.h"

namespace {

struct DwellSlider {
  int id;
  Setting value;
  SliderRule rule;
};
constexpr DwellSlider kSliders[] = {
    {IDC_HOVER_TIME, Setting::HoverTime, kTimeSlider},
    {IDC_DWELL_TIME, Setting::DwellTime, kTimeSlider},
    {IDC_DWELL_ZONE, Setting::DwellZone, kZoneSlider},
};

}  // namespace

DwellPage::DwellPage(Settings& values) : SettingsPage(IDD_PAGE_DWELL, values) {}

BOOL DwellPage::OnInitDialog() {
  for (const DwellSlider& s : kSliders) {
    HWND slider = Item(s.id);
    winui::SetSliderRange(slider, s.rule.minPosition, s.rule.maxPosition);
    SendMessageA(slider, TBM_SETTICFREQ, 5, 0);
    SendMessageA(slider, TBM_SETPOS, TRUE, SliderPosition(s.rule, Values().Get(s.value)));
  }
  ShowColour();
  return TRUE;
}

// A value that is no colour shows as the page's own face, an empty swatch.
void DwellPage::ShowColour() {
  const int32_t value = Values().Get(Setting::ColorReference);
  const COLORREF shown = IsPlainColour(value) ? static_cast<COLORREF>(value) : GetSysColor(COLOR_BTNFACE);
  HWND swatch = Item(IDC_COLOR_SWATCH);
  SendMessageA(swatch, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(shown));
  InvalidateRect(swatch, nullptr, TRUE);
}

void DwellPage::OnPageCommand(int id, int code) {
  if (id == IDC_CHANGE_COLOR && code == BN_CLICKED) ChangeColour();
}

void DwellPage::ChangeColour() {
  CHOOSECOLORA choose = {};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = GetParent(hwnd());
  choose.lpCustColors = customColours_;
  choose.Flags = CC_PREVENTFULLOPEN;  // no initial colour: the dialog opens on its own
  if (!ChooseColorA(&choose)) return;
  const int32_t chosen = static_cast<int32_t>(choose.rgbResult);
  if (chosen == Values().Get(Setting::ColorReference)) return;
  Values().Set(Setting::ColorReference, chosen);
  ShowColour();
  SetModified(true);
}

void DwellPage::OnSliderReleased(int id, int position) {
  for (const DwellSlider& s : kSliders) {
    if (s.id != id) continue;
    const int32_t value = SliderValue(s.rule, position);
    if (value != Values().Get(s.value)) Values().Set(s.value, value);
    SetModified(true);
  }
}
