#include "qmouse/win/confirm_box.h"

#include "qmouse/panel_placement.h"
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
  RECT work, own;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(hwnd(), &own);
  Rect panel;
  const bool panelShown = locatePanel_ && locatePanel_(panel);
  const Point at = ConfirmBoxPlace({work.left, work.top, work.right, work.bottom}, own.right - own.left,
                                   own.bottom - own.top, panelShown, panel);
  SetWindowPos(hwnd(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  return TRUE;
}

void ConfirmBox::OnCommand(int id, int) {
  if (id == IDOK || id == IDCANCEL) End(id);
}
