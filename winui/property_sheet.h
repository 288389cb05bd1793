#pragma once
// A modeless property sheet whose pages are objects that outlive their windows. The sheet
// has no buttons of its own (each page carries what it needs); page notifications become
// virtual calls, and the sheet is destroyed when a page asks for it.
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <string>
#include <vector>

#include "winui/dialog.h"

namespace winui {

class Sheet;

class PropertyPage {
 public:
  // `applyId`: the page's own Apply button, enabled exactly while the page is modified
  // (0 for none).
  explicit PropertyPage(int resourceId, int applyId = 0) : resourceId_(resourceId), applyId_(applyId) {}
  virtual ~PropertyPage() = default;
  PropertyPage(const PropertyPage&) = delete;
  PropertyPage& operator=(const PropertyPage&) = delete;

  // Safe to read from any thread.
  HWND hwnd() const { return hwnd_.load(); }
  bool Modified() const { return modified_; }

 protected:
  // Sets the modified flag: the Apply button and the sheet's changed state follow it.
  void SetModified(bool modified);
  // Destroys the whole sheet; the page's window goes with it.
  void EndSheet();
  HWND Item(int id) const { return GetDlgItem(hwnd(), id); }

  virtual BOOL OnInitDialog() { return TRUE; }
  virtual void OnCommand(int, int) {}
  // WM_NOTIFY from a control (sheet notifications come as the virtuals below).
  virtual bool OnNotify(int, NMHDR*, LRESULT&) { return false; }
  virtual void OnDestroy() {}
  virtual bool OnSetActive() { return true; }
  virtual bool OnKillActive() { return true; }
  virtual bool OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

 private:
  friend class Sheet;
  template <typename T>
  friend INT_PTR detail::Thunk(HWND, UINT, WPARAM, LPARAM, T*);
  static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR Dispatch(UINT msg, WPARAM wp, LPARAM lp);

  int resourceId_;
  int applyId_;
  std::atomic<HWND> hwnd_{nullptr};
  bool modified_ = false;
};

class Sheet {
 public:
  explicit Sheet(std::string caption) : caption_(std::move(caption)) {}
  ~Sheet();
  Sheet(const Sheet&) = delete;
  Sheet& operator=(const Sheet&) = delete;

  // Pages show in the order they are added.
  void AddPage(PropertyPage& page) { pages_.push_back(&page); }
  // Creates the sheet modeless with the default style. Does nothing while it is open.
  bool Create(HWND parent = nullptr);
  void Destroy();
  HWND hwnd() const { return hwnd_.load(); }
  bool IsOpen() const { return hwnd() != nullptr; }
  bool SetActivePage(int index);
  // Hands keyboard messages to the sheet (Tab, arrows, mnemonics). Open sheets get them
  // from every dialog loop of this thread, the modal ones included.
  bool HandleDialogMessage(MSG* msg);

 private:
  static int CALLBACK SheetCallback(HWND hwnd, UINT msg, LPARAM lp);
  static LRESULT CALLBACK SheetSubclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void RemoveOwnButtons();

  std::string caption_;
  std::vector<PropertyPage*> pages_;
  std::atomic<HWND> hwnd_{nullptr};
};

}  // namespace winui
