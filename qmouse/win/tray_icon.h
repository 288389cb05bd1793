#pragma once
// The notification-area icon. It is added again when the shell restarts ("TaskbarCreated"),
// and a failed add is retried on a timer, since the shell may not be up yet at log-on.
#include <windows.h>
#include <shellapi.h>

class TrayIcon {
 public:
  static constexpr UINT_PTR kRetryTimer = 4242;

  void Attach(HWND owner, UINT callbackMessage);
  // Adds the icon, or changes it when already added.
  bool SetIcon(int iconId);
  void Remove();
  // Handles the shell's restart and the retry timer; true when the message was ours.
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  bool Add();

  NOTIFYICONDATAA data_ = {};
  UINT taskbarCreated_ = 0;
  bool added_ = false;
};
