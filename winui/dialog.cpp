#include "winui/dialog.h"

namespace winui {

namespace {
HINSTANCE gResourceModule = nullptr;
}

void BringToFront(HWND window) {
  if (!window) return;
  ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
  // Through the topmost band and back: the system may refuse a background program the
  // foreground, but never the order.
  const UINT flags = SWP_NOMOVE | SWP_NOSIZE;
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, flags);
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
  SetForegroundWindow(window);
}

HINSTANCE ResourceModule() { return gResourceModule ? gResourceModule : GetModuleHandleA(nullptr); }
void SetResourceModule(HINSTANCE module) { gResourceModule = module; }

Dialog::~Dialog() { Destroy(); }

INT_PTR Dialog::DoModal(HWND parent) {
  modal_ = true;
  return DialogBoxParamA(ResourceModule(), MAKEINTRESOURCEA(resourceId_), parent, Proc,
                         reinterpret_cast<LPARAM>(this));
}

bool Dialog::Create(HWND parent) {
  if (hwnd_) return true;
  modal_ = false;
  return CreateDialogParamA(ResourceModule(), MAKEINTRESOURCEA(resourceId_), parent, Proc,
                            reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::Destroy() {
  if (HWND w = hwnd(); w && !modal_) DestroyWindow(w);
}

void Dialog::End(INT_PTR code) {
  HWND w = hwnd();
  if (!w) return;
  if (modal_)
    EndDialog(w, code);
  else
    DestroyWindow(w);
}

void Dialog::OnCommand(int id, int) {
  if (id == IDOK || id == IDCANCEL) End(id);
}

void Dialog::OnClose() { End(IDCANCEL); }

INT_PTR CALLBACK Dialog::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return detail::Thunk(hwnd, msg, wp, lp, msg == WM_INITDIALOG ? reinterpret_cast<Dialog*>(lp) : nullptr);
}

INT_PTR Dialog::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp));
      return TRUE;
    case WM_TIMER:
      OnTimer(wp);
      return TRUE;
    case WM_CLOSE:
      OnClose();
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return TRUE;
    default: {
      LRESULT result = 0;
      const bool handled = OnMessage(msg, wp, lp, result);
      return detail::Handled(hwnd(), handled, result);
    }
  }
}

}  // namespace winui
