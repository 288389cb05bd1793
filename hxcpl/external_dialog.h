#pragma once
// The base of our pages. The control panel, not we, creates the page windows from our page
// records, with `DummyDlgProc` as their dialog procedure; that binds each window to its page
// object on the first message, and from then on the object handles the window's messages.
// The pages take the host's DPI awareness as they find it: a DLL cannot declare one (that is
// the program's manifest), and a thread context of our own would not match the sheet that
// holds them. Laid out in dialog units with standard controls, they scale with the host's
// dialog font, and an unaware host's pages are stretched by the system like the rest of it.
#include <windows.h>

#include <atomic>
#include <vector>

namespace hxcpl {

class CExternalDialog {
 public:
  CExternalDialog();
  CExternalDialog(const CExternalDialog&) = delete;
  CExternalDialog& operator=(const CExternalDialog&) = delete;

  // The sheet object holds a reference to each of its pages, and each page window holds one
  // to every page of its sheet from its attach until its WM_NCDESTROY, with a lock on the
  // DLL: a host may release the sheet object while the sheet is open, and still open a page
  // it has not shown yet.
  void AddRef() { ++references_; }
  void Release() {
    if (--references_ == 0) delete this;
  }
  // All pages of this page's sheet, itself included.
  void SetSheetPages(std::vector<CExternalDialog*> pages) { sheetPages_ = std::move(pages); }

  // The dialog template the control panel builds this page from.
  virtual int DialogId() const = 0;
  // Safe to read from any thread.
  HWND hwnd() const { return hwnd_.load(); }

  // Takes over `window` (subclassing it) and runs the page's initialisation.
  INT_PTR Attach(HWND window, WPARAM wp);

 protected:
  virtual ~CExternalDialog();
  virtual BOOL OnInitDialog() { return TRUE; }
  // A control's command; true when handled.
  virtual bool OnCommand(int, int) { return false; }
  // Any other message; true when handled, with `result` as the window procedure's answer.
  virtual bool OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
  // Hands a message to the window procedure that was in place before ours.
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);
  HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
  // The framework's message box: owned by the active window, captioned like the sheet.
  int Box(const char* text, UINT buttons);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);

  std::atomic<int> references_{1};
  std::vector<CExternalDialog*> sheetPages_;
  std::atomic<HWND> hwnd_{nullptr};
  WNDPROC previous_ = nullptr;
};

// The dialog procedure of every page record.
INT_PTR CALLBACK DummyDlgProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace hxcpl
