#include "hxcpl/external_dialog.h"

#include <commctrl.h>

#include "device/trace.h"
#include "hxcpl/module.h"
#include "hxcpl/texts.h"
#include "resources/hxcpl/resource.h"
#include "winui/dialog.h"

namespace hxcpl {

CExternalDialog::CExternalDialog() { Trace(text::kExternalConstructed); }

CExternalDialog::~CExternalDialog() { Trace(text::kExternalDestructed); }

INT_PTR CALLBACK DummyDlgProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Trace(text::kDummyDlgProc);
  // Only the initialisation carries the page record; a font set before it carries nothing.
  if (!lp || msg != WM_INITDIALOG) return FALSE;
  auto* page = reinterpret_cast<CExternalDialog*>(reinterpret_cast<const PROPSHEETPAGEA*>(lp)->lParam);
  if (!page) return FALSE;
  return page->Attach(hwnd, wp);
}

INT_PTR CExternalDialog::Attach(HWND window, WPARAM wp) {
  for (CExternalDialog* page : sheetPages_) page->AddRef();
  LockModule();
  hwnd_ = window;
  SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
  previous_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CExternalDialog::WindowProc)));
  // The dialog manager still asks a dialog procedure about what we leave to the default.
  SetWindowLongPtrA(window, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&CExternalDialog::DialogProc));
  return WindowProc(window, WM_INITDIALOG, wp, 0);
}

LRESULT CALLBACK CExternalDialog::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<CExternalDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!self) return DefDlgProcA(hwnd, msg, wp, lp);
  if (msg != WM_NCDESTROY) return self->Dispatch(msg, wp, lp);
  // The window goes; the page object stays for the next time the sheet opens while the
  // sheet object holds it.
  const WNDPROC previous = self->previous_;
  SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  SetWindowLongPtrA(hwnd, DWLP_USER, 0);
  self->previous_ = nullptr;
  self->hwnd_ = nullptr;
  const LRESULT result = CallWindowProcA(previous, hwnd, msg, wp, lp);
  const std::vector<CExternalDialog*> pages = self->sheetPages_;  // self may go with the first
  for (CExternalDialog* page : pages) page->Release();
  UnlockModule();
  return result;
}

LRESULT CExternalDialog::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  switch (msg) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      if (OnCommand(LOWORD(wp), HIWORD(wp))) return 0;
      break;
    default:
      if (OnMessage(msg, wp, lp, result)) return result;
      break;
  }
  return Default(msg, wp, lp);
}

LRESULT CExternalDialog::Default(UINT msg, WPARAM wp, LPARAM lp) {
  return CallWindowProcA(previous_, hwnd(), msg, wp, lp);
}

int CExternalDialog::Box(const char* text, UINT buttons) {
  char caption[128] = {};
  LoadStringA(winui::ResourceModule(), IDS_SHEET_CAPTION, caption, sizeof caption);
  return MessageBoxA(GetActiveWindow(), text, caption, buttons);
}

}  // namespace hxcpl
