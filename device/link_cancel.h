#pragma once
// How the owner of a worker thread ends the worker's tracker requests at once, even while
// the tracker stalls: the owner keeps one of these and makes the worker's link with it.
// Cancel() makes the link's reads fail from then on and cancels the request under way; a
// request may begin just after a cancel, so the owner cancels again while it waits for the
// thread (winui::JoinThread), and it never gives up that wait.
#include <atomic>
#include <mutex>

#include "device/driver_port.h"

class LinkCancel {
 public:
  // Any thread, any time.
  void Cancel();
  // Before a new worker starts on a link made with this; no worker may be running.
  void Rearm() { cancelled_ = false; }
  bool Cancelled() const { return cancelled_.load(std::memory_order_acquire); }

  // The link's side: the port may be cancelled from Attach until Detach.
  void Attach(DriverPort* port);
  void Detach(DriverPort* port);

 private:
  std::mutex mutex_;  // keeps the port alive while a cancel reaches it
  DriverPort* port_ = nullptr;
  std::atomic<bool> cancelled_{false};
};
