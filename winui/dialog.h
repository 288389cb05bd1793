#pragma once
// Dialogs with typed virtual handlers. `this` is stored when the dialog is born
// (WM_INITDIALOG) and cleared when it dies (WM_NCDESTROY); everything in between is a
// virtual call. Modal and modeless dialogs differ only in how they start and end.
#include <windows.h>

#include <atomic>

namespace winui {

namespace detail {
// The thunk every kind of dialog window shares: the object is bound to its window when the
// window is born (`born`, taken from WM_INITDIALOG's parameter) and unbound when it dies; in
// between every message is a call on the object.
template <typename T>
INT_PTR Thunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, T* born) {
  T* self = born;
  if (msg == WM_INITDIALOG) {
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  }
  if (!self) return FALSE;
  const INT_PTR result = self->Dispatch(msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

// A handled message's result goes through DWLP_MSGRESULT; an unhandled one to the default.
inline INT_PTR Handled(HWND hwnd, bool handled, LRESULT result) {
  if (!handled) return FALSE;
  SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
  return TRUE;
}
}  // namespace detail

class Dialog {
 public:
  explicit Dialog(int resourceId) : resourceId_(resourceId) {}
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog modally; returns the code given to EndDialog, or -1.
  INT_PTR DoModal(HWND parent = nullptr);
  // Creates it modeless (hidden unless the resource says WS_VISIBLE).
  bool Create(HWND parent = nullptr);
  void Destroy();

  // Safe to read from any thread: worker threads ask whether a window exists.
  HWND hwnd() const { return hwnd_.load(); }
  bool IsModal() const { return modal_; }
  void End(INT_PTR code);

 protected:
  virtual BOOL OnInitDialog() { return TRUE; }
  virtual void OnCommand(int id, int code);
  virtual void OnTimer(UINT_PTR) {}
  virtual void OnClose();
  virtual void OnDestroy() {}
  // Any other message. Return true when handled; `result` goes to DWLP_MSGRESULT.
  virtual bool OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

  HWND Item(int id) const { return GetDlgItem(hwnd(), id); }

 private:
  template <typename T>
  friend INT_PTR detail::Thunk(HWND, UINT, WPARAM, LPARAM, T*);
  static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR Dispatch(UINT msg, WPARAM wp, LPARAM lp);

  int resourceId_;
  std::atomic<HWND> hwnd_{nullptr};
  bool modal_ = false;
};

// Shows `window` (restored if minimised) in front of every other window that is not
// topmost and gives it the foreground, also while another program has it: a window opened
// again by the head must not stay hidden behind a game.
void BringToFront(HWND window);

// The module whose resources the dialogs use (the program, or the DLL for hxcpl).
HINSTANCE ResourceModule();
void SetResourceModule(HINSTANCE module);

}  // namespace winui
