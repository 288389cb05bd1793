#include "qmouse/win/confirm_box.h"

#include "resources/qmouse/resource.h"

ConfirmBox::ConfirmBox() : winui::Dialog(IDD_CONFIRMBOX) {}

int ConfirmBox::Ask(const std::string& text, Mode mode, HWND owner) {
  text_ = text;
  mode_ = mode;
  return DoModal(owner) == IDOK ? 1 : 0;
}

BOOL ConfirmBox::OnInitDialog() {
  SetDlgItemTextA(hwnd(), IDC_CONFIRM_TEXT, text_.c_str());
  SetDlgItemTextA(hwnd(), IDOK, mode_ == kYesNo ? "Yes" : "OK");
  SetDlgItemTextA(hwnd(), IDCANCEL, mode_ == kYesNo ? "No" : "Cancel");
  // Without a floating panel to stand beside, centre on the work area.
  RECT work, own;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(hwnd(), &own);
  const int w = own.right - own.left, h = own.bottom - own.top;
  SetWindowPos(hwnd(), nullptr, work.right / 2 - w / 2, work.bottom / 2 - h / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  return TRUE;
}

void ConfirmBox::OnCommand(int id, int) {
  if (id == IDOK || id == IDCANCEL) End(id);
}
