#include "winui/property_sheet.h"

#include <algorithm>

#include "winui/dialog.h"

namespace winui {

namespace {

// Asks a sheet to destroy itself once the message that asked is done.
UINT EndSheetMessage() {
  static const UINT message = RegisterWindowMessageA("winui.Sheet.End");
  return message;
}

constexpr int kApplyNowId = 0x3021;  // the sheet's own Apply button

// Open sheets of the UI thread, and the hook that gives them their keyboard messages from
// any dialog loop: the programs run their main window modally, so there is no loop of ours
// to call them from.
std::vector<Sheet*> gOpenSheets;
HHOOK gFilterHook = nullptr;

LRESULT CALLBACK FilterHook(int code, WPARAM wp, LPARAM lp) {
  if (code == MSGF_DIALOGBOX) {
    MSG* msg = reinterpret_cast<MSG*>(lp);
    for (Sheet* sheet : gOpenSheets)
      if (sheet->HandleDialogMessage(msg)) return 1;
  }
  return CallNextHookEx(gFilterHook, code, wp, lp);
}

void Register(Sheet* sheet) {
  gOpenSheets.push_back(sheet);
  if (!gFilterHook) gFilterHook = SetWindowsHookExA(WH_MSGFILTER, FilterHook, nullptr, GetCurrentThreadId());
}

void Unregister(Sheet* sheet) {
  gOpenSheets.erase(std::remove(gOpenSheets.begin(), gOpenSheets.end(), sheet), gOpenSheets.end());
  if (gOpenSheets.empty() && gFilterHook) {
    UnhookWindowsHookEx(gFilterHook);
    gFilterHook = nullptr;
  }
}

}  // namespace

// --- PropertyPage ---

void PropertyPage::SetModified(bool modified) {
  modified_ = modified;
  HWND page = hwnd();
  if (!page) return;
  if (applyId_) EnableWindow(Item(applyId_), modified ? TRUE : FALSE);
  if (HWND sheet = GetParent(page))
    SendMessageA(sheet, modified ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(page), 0);
}

void PropertyPage::EndSheet() {
  if (HWND page = hwnd()) PostMessageA(GetParent(page), EndSheetMessage(), 0, 0);
}

INT_PTR CALLBACK PropertyPage::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  PropertyPage* born = nullptr;
  if (msg == WM_INITDIALOG)
    born = reinterpret_cast<PropertyPage*>(reinterpret_cast<PROPSHEETPAGEA*>(lp)->lParam);
  return detail::Thunk(hwnd, msg, wp, lp, born);
}

INT_PTR PropertyPage::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  switch (msg) {
    case WM_INITDIALOG: {
      modified_ = false;
      const BOOL focus = OnInitDialog();
      if (applyId_) EnableWindow(Item(applyId_), modified_ ? TRUE : FALSE);
      return focus;
    }
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp));
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return TRUE;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lp);
      if (header->code == static_cast<UINT>(PSN_SETACTIVE)) {
        result = OnSetActive() ? 0 : -1;
      } else if (header->code == static_cast<UINT>(PSN_KILLACTIVE)) {
        result = OnKillActive() ? FALSE : TRUE;
      } else if (!OnNotify(static_cast<int>(header->idFrom), header, result)) {
        return FALSE;
      }
      return detail::Handled(hwnd(), true, result);
    }
    default: {
      const bool handled = OnMessage(msg, wp, lp, result);
      return detail::Handled(hwnd(), handled, result);
    }
  }
}

// --- Sheet ---

Sheet::~Sheet() { Destroy(); }

bool Sheet::Create(HWND parent) {
  if (IsOpen()) return true;
  std::vector<PROPSHEETPAGEA> pages(pages_.size());
  for (size_t i = 0; i < pages_.size(); ++i) {
    PROPSHEETPAGEA& p = pages[i];
    p.dwSize = sizeof p;
    p.dwFlags = PSP_DEFAULT;
    p.hInstance = ResourceModule();
    p.pszTemplate = MAKEINTRESOURCEA(pages_[i]->resourceId_);
    p.pfnDlgProc = PropertyPage::Proc;
    p.lParam = reinterpret_cast<LPARAM>(pages_[i]);
  }
  PROPSHEETHEADERA header = {};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_MODELESS | PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
  header.hwndParent = parent;
  header.hInstance = ResourceModule();
  header.pszCaption = caption_.c_str();
  header.nPages = static_cast<UINT>(pages.size());
  header.ppsp = pages.data();
  HWND sheet = reinterpret_cast<HWND>(::PropertySheetA(&header));
  if (!sheet || sheet == reinterpret_cast<HWND>(-1)) return false;
  hwnd_ = sheet;
  SetWindowSubclass(sheet, SheetSubclass, 1, reinterpret_cast<DWORD_PTR>(this));
  RemoveOwnButtons();
  Register(this);
  return true;
}

void Sheet::Destroy() {
  if (HWND sheet = hwnd()) DestroyWindow(sheet);
}

bool Sheet::SetActivePage(int index) {
  HWND sheet = hwnd();
  return sheet && SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0) != 0;
}

bool Sheet::HandleDialogMessage(MSG* msg) {
  HWND sheet = hwnd();
  return sheet && SendMessageA(sheet, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(msg)) != 0;
}

// The pages carry their own Apply, OK and Cancel: hide the sheet's and give back their room.
void Sheet::RemoveOwnButtons() {
  HWND sheet = hwnd();
  RECT lowest = {};
  for (int id : {IDOK, IDCANCEL, IDHELP, kApplyNowId}) {
    HWND button = GetDlgItem(sheet, id);
    if (!button) continue;
    RECT r;
    GetWindowRect(button, &r);
    if (r.bottom > lowest.bottom) lowest = r;
    ShowWindow(button, SW_HIDE);
    EnableWindow(button, FALSE);
  }
  HWND tab = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
  RECT tabRect, sheetRect, client;
  if (!tab || lowest.bottom == 0 || !GetWindowRect(tab, &tabRect) || !GetWindowRect(sheet, &sheetRect) ||
      !GetClientRect(sheet, &client))
    return;
  POINT origin = {0, 0};
  ClientToScreen(sheet, &origin);
  const int margin = tabRect.left - origin.x;  // the sheet's own border around its tabs
  const int shrink = lowest.bottom - tabRect.bottom - margin;
  if (shrink > 0)
    SetWindowPos(sheet, nullptr, 0, 0, sheetRect.right - sheetRect.left, sheetRect.bottom - sheetRect.top - shrink,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK Sheet::SheetSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                              DWORD_PTR data) {
  auto* self = reinterpret_cast<Sheet*>(data);
  if (msg == EndSheetMessage()) {
    DestroyWindow(hwnd);
    return 0;
  }
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, SheetSubclass, 1);
    self->hwnd_ = nullptr;
    Unregister(self);
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  const LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
  // Escape or the close box end a modeless sheet without destroying it: finish the job.
  if ((msg == WM_COMMAND || msg == WM_CLOSE || msg == WM_SYSCOMMAND) && IsWindow(hwnd) &&
      SendMessageA(hwnd, PSM_GETCURRENTPAGEHWND, 0, 0) == 0)
    PostMessageA(hwnd, EndSheetMessage(), 0, 0);
  return result;
}

}  // namespace winui
