#include "qmouse/win/confirm_box.h"

#include "qmouse/panel_placement.h"
#include "qmouse/win/emitter.h"
#include "resources/qmouse/resource.h"

namespace {
bool g_asking = false;  // UI thread only
}  // namespace

ConfirmBox::ConfirmBox() : winui::Dialog(IDD_CONFIRMBOX) {}

bool ConfirmBox::AnyOpen() { return g_asking; }

int ConfirmBox::Ask(const std::string& text, Mode mode, HWND owner) {
  if (g_asking) return 0;
  g_asking = true;
  text_ = text;
  mode_ = mode;
  const bool yes = DoModal(owner) == IDOK;
  g_asking = false;
  return yes ? 1 : 0;
}

BOOL ConfirmBox::OnInitDialog() {
  SetDlgItemTextA(hwnd(), IDC_CONFIRM_TEXT, text_.c_str());
  SetDlgItemTextA(hwnd(), IDOK, mode_ == kYesNo ? "Yes" : "OK");
  SetDlgItemTextA(hwnd(), IDCANCEL, mode_ == kYesNo ? "No" : "Cancel");
  // Beside the floating panel, where the user's head already is; centred without one.
  // On the panel's monitor, or the cursor's while no panel is shown.
  RECT own;
  GetWindowRect(hwnd(), &own);
  Rect panel;
  const bool panelShown = locatePanel_ && locatePanel_(panel);
  POINT cursor = {};
  GetCursorPos(&cursor);
  const std::vector<Monitor> monitors = CurrentMonitors();
  const int i = panelShown ? MonitorIndexOf(monitors, panel) : MonitorIndexAt(monitors, {cursor.x, cursor.y});
  const Point at = ConfirmBoxPlace(monitors[i < 0 ? 0 : i], own.right - own.left, own.bottom - own.top, panelShown, panel);
  SetWindowPos(hwnd(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  return TRUE;
}

void ConfirmBox::OnCommand(int id, int) {
  if (id == IDOK || id == IDCANCEL) End(id);
}
