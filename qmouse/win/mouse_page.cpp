#include "qmouse/win/mouse_page.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "qmouse/settings_pages.h"
#include "qmouse/texts.h"
#include "resources/qmouse/resource.h"
#include "winui/head_reach.h"

MousePage::MousePage(Settings& values) : SettingsPage(IDD_PAGE_MOUSE, values) {}

BOOL MousePage::OnInitDialog() {
  HWND list = Item(IDC_MOUSE_PAIR);
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  for (const char* name : texts::kMousePairNames) SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  EnlargeList(IDC_MOUSE_PAIR);
  for (int id : {IDC_MOUSE_HORIZONTAL, IDC_MOUSE_VERTICAL}) {
    winui::SetSliderRange(Item(id), kMouseSlider.minPosition, kMouseSlider.maxPosition);
    SendMessageA(Item(id), TBM_SETTICFREQ, 5, 0);
  }
  choice_ = kSpeedChoice;
  SendMessageA(list, CB_SETCURSEL, choice_, 0);
  ShowPair();
  return TRUE;
}

void MousePage::ShowPair() {
  const AxisPair pair = MousePair(choice_);
  SendMessageA(Item(IDC_MOUSE_HORIZONTAL), TBM_SETPOS, TRUE, SliderPosition(kMouseSlider, Values().Get(pair.horizontal)));
  SendMessageA(Item(IDC_MOUSE_VERTICAL), TBM_SETPOS, TRUE, SliderPosition(kMouseSlider, Values().Get(pair.vertical)));
  ShowValue(IDC_MOUSE_HORIZONTAL_VALUE, pair.horizontal);
  ShowValue(IDC_MOUSE_VERTICAL_VALUE, pair.vertical);
}

// The stored value, even one outside the slider's range: it is what the cursor uses.
void MousePage::ShowValue(int textId, Setting value) {
  SetDlgItemTextA(hwnd(), textId, std::to_string(Values().Get(value)).c_str());
}

void MousePage::OnPageCommand(int id, int code) {
  if (id == IDC_MOUSE_PAIR && code == CBN_SELCHANGE) {
    // Only shows another pair: nothing to apply.
    const int chosen = static_cast<int>(SendMessageA(Item(IDC_MOUSE_PAIR), CB_GETCURSEL, 0, 0));
    if (chosen < 0 || chosen >= kMousePairCount || chosen == choice_) return;
    choice_ = chosen;
    ShowPair();
  } else if (id == IDC_MOUSE_APPLET && code == BN_CLICKED) {
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.lpFile = "control.exe";
    info.lpParameters = "/main.cpl";
    info.lpDirectory = " ";
    info.nShow = SW_SHOWNORMAL;
    (void)ShellExecuteExA(&info);  // the applet reports its own troubles
  }
}

void MousePage::OnSliderReleased(int id, int position) {
  const AxisPair pair = MousePair(choice_);
  Setting value;
  int textId;
  if (id == IDC_MOUSE_HORIZONTAL) {
    value = pair.horizontal;
    textId = IDC_MOUSE_HORIZONTAL_VALUE;
  } else if (id == IDC_MOUSE_VERTICAL) {
    value = pair.vertical;
    textId = IDC_MOUSE_VERTICAL_VALUE;
  } else {
    return;
  }
  const int32_t chosen = SliderValue(kMouseSlider, position);
  if (chosen != Values().Get(value)) {
    Values().Set(value, chosen);
    ShowValue(textId, value);
  }
  SetModified(true);
}
