#pragma once
// Engaged output: `OutputEmitter` turns each tracker reading into the engaged profile's keys,
// buttons and motion on a thread of its own. There is never more than one such thread: every
// stop cancels the thread's tracker read and waits for it to end before anything may start
// the next, however long the tracker stalls.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

#include "device/link_cancel.h"
#include "profiles/profile.h"
#include "profiles/win/interface.h"
#include "winui/handles.h"

class Output : public EngageHost {
 public:
  ~Output() override { Stop(); }

  void Engage(const Profile& profile) override;
  // The user's stop is final: a tracker that comes back afterwards starts nothing.
  void Disengage() override {
    unplugged_ = 0;
    Stop();
  }

  // The tracker's interface went away or came back (WM_DEVICECHANGE).
  void OnRemoval();
  void OnArrival();

  bool Stopped() const { return stopped_.load() == 1; }

 private:
  static DWORD WINAPI OutputEmitter(void* self);
  int Emit();
  void Start();
  void Stop();

  std::atomic<int32_t> stopped_{1};
  std::atomic<int32_t> unplugged_{0};
  std::atomic<int32_t> restarted_{0};
  // Handed over on the UI thread before the thread starts; the thread reads only this copy.
  std::shared_ptr<const Profile> profile_;
  LinkCancel cancel_;  // the thread's link is made with it
  KernelHandle thread_;
};
