#include "winui/dialog.h"

namespace winui {

namespace {
HINSTANCE gResourceModule = nullptr;
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
  Dialog* self;
  if (msg == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lp);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, DWLP_USER, lp);
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  }
  if (!self) return FALSE;
  INT_PTR result = self->Dispatch(msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    self->hwnd_ = nullptr;
  }
  return result;
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
      if (!OnMessage(msg, wp, lp, result)) return FALSE;
      SetWindowLongPtrA(hwnd(), DWLP_MSGRESULT, result);
      return TRUE;
    }
  }
}

}  // namespace winui
