#include "qmouse/win/tray_icon.h"

#include "winui/dialog.h"

void TrayIcon::Attach(HWND owner, UINT callbackMessage) {
  data_.cbSize = sizeof data_;
  data_.hWnd = owner;
  data_.uID = 132;
  data_.uCallbackMessage = callbackMessage;
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
}

bool TrayIcon::SetIcon(int iconId) {
  data_.hIcon = static_cast<HICON>(LoadImageA(winui::ResourceModule(), MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  if (added_) {
    data_.uFlags = NIF_ICON;
    return Shell_NotifyIconA(NIM_MODIFY, &data_) != 0;
  }
  return Add();
}

bool TrayIcon::Add() {
  // String 132 (the tip) does not exist, so no tip flag.
  data_.uFlags = NIF_MESSAGE | NIF_ICON;
  added_ = Shell_NotifyIconA(NIM_ADD, &data_) != 0;
  if (!added_) SetTimer(data_.hWnd, kRetryTimer, 2000, nullptr);
  return added_;
}

void TrayIcon::Remove() {
  KillTimer(data_.hWnd, kRetryTimer);
  if (added_) Shell_NotifyIconA(NIM_DELETE, &data_);
  added_ = false;
}

bool TrayIcon::OnMessage(UINT msg, WPARAM wp, LPARAM) {
  if (taskbarCreated_ && msg == taskbarCreated_) {
    added_ = false;  // the new shell knows nothing of us
    Add();
    return true;
  }
  if (msg == WM_TIMER && wp == kRetryTimer) {
    KillTimer(data_.hWnd, kRetryTimer);
    if (!added_) Add();
    return true;
  }
  return false;
}
