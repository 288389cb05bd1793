#pragma once
// One per program and port: receives opentrack's head poses when this program owns the UDP
// port, and shares the newest with every other program's links through a named section.
// Only one program can bind the port; the others wait for its owner mutex, so when the
// owner exits the next program in line binds the port and goes on receiving.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "device/pose_share.h"
#include "winui/handles.h"

class UdpPoseHub {
 public:
  // This program's hub for the port (started on first use, shared by every link), or null
  // when the shared section cannot be made.
  static std::shared_ptr<UdpPoseHub> Acquire(int32_t port, bool acceptNetwork);
  ~UdpPoseHub();
  UdpPoseHub(const UdpPoseHub&) = delete;
  UdpPoseHub& operator=(const UdpPoseHub&) = delete;

  PoseShare& Share() { return *share_; }
  // Set when pose number `n` (as ReadPose counts) is published; reset before n + 2 is.
  HANDLE PoseEvent(uint32_t n) const { return poseEvents_[n & 1].Get(); }
  // The port is bound by a program that is not ours: links use the driver instead.
  bool PortHeldElsewhere() const;
  int32_t Port() const { return port_; }
  std::string DeviceName() const;

  // Owner state in the shared section.
  enum : uint32_t { kNoOwner = 0, kReceiving = 1, kPortBusy = 2 };

 private:
  UdpPoseHub(int32_t port, bool acceptNetwork);
  bool Start();
  static DWORD WINAPI PumpThread(void* self);
  static DWORD WINAPI NotifierThread(void* self);
  void Pump();
  void Notify();
  bool Bind();
  void Receive();
  void Drain(uint32_t& plugged);
  void Announce(bool plugged);
  void TraceDropped();

  int32_t port_;
  bool acceptNetwork_;
  KernelHandle mapping_;
  PoseShare* share_ = nullptr;
  KernelHandle poseEvents_[2];
  KernelHandle ownerMutex_;
  KernelHandle stop_;       // ends both threads
  KernelHandle decided_;    // the pump knows whether it owns the port
  KernelHandle announce_;   // the notifier has a plug state to broadcast
  KernelHandle pump_, notifier_;
  uintptr_t socket_;  // a SOCKET: this header stays free of the sockets API
  bool winsock_ = false;
  std::atomic<int32_t> wantPlugged_{-1};
  double lastPublishMs_ = -1e9;
  uint32_t lastDroppedTraceMs_ = 0;
  uint32_t droppedTraced_ = 0;
};
